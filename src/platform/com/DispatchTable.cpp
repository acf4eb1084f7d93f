#include "platform/com/DispatchTable.h"

#include "platform/com/conversions.h"

namespace tap::com {

HRESULT DispatchCall::raise(HRESULT scode, std::u16string description, std::u16string source) const {
  if (excep) {
    excep->scode = scode;
    excep->description = std::move(description);
    excep->source = std::move(source);
  }
  return DISP_E_EXCEPTION;
}

HRESULT DispatchTableBase::find_name(std::u16string_view name, DISPID* id) const {
  for (const MemberInfo& m : members_) {
    if (names_equal(m.name, name)) {
      *id = m.id;
      return S_OK;
    }
  }
  *id = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

std::size_t DispatchTableBase::find(DISPID id, InvokeFlags flags, HRESULT* hr) const {
  auto search = [&](InvokeFlags kinds) {
    for (std::size_t i = 0; i < members_.size(); ++i)
      if (members_[i].id == id && (members_[i].kinds & kinds)) return i;
    return npos;
  };
  std::size_t found;
  if (flags & DISPATCH_PROPERTYPUTREF) {
    found = search(DISPATCH_PROPERTYPUTREF);
    if (found == npos) found = search(DISPATCH_PROPERTYPUT);
  } else if (flags & DISPATCH_PROPERTYPUT) {
    found = search(DISPATCH_PROPERTYPUT);
  } else {
    found = search(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET));
  }
  *hr = found == npos ? DISP_E_MEMBERNOTFOUND : S_OK;
  return found;
}

HRESULT DispatchTableBase::prepare(std::size_t member, std::span<Variant> args, std::vector<Variant>& out) const {
  const std::vector<ParamSpec>& params = members_[member].params;
  std::size_t required = 0;
  for (const ParamSpec& p : params)
    if (!p.optional) ++required;
  if (args.size() > params.size() || args.size() < required) return DISP_E_BADPARAMCOUNT;

  bool as_given = args.size() == params.size();
  for (std::size_t i = 0; i < args.size() && as_given; ++i)
    as_given = params[i].type == VT_VARIANT && !(args[i].is_missing() && !params[i].optional);
  if (as_given) return S_OK;

  out.resize(params.size());
  for (std::size_t i = 0; i < params.size(); ++i) {
    if (i >= args.size() || args[i].is_missing()) {
      if (!params[i].optional) return DISP_E_PARAMNOTOPTIONAL;
      out[i] = Variant::missing();
    } else if (params[i].type == VT_VARIANT) {
      out[i] = args[i];
    } else if (HRESULT hr = change_type(out[i], args[i], params[i].type); failed(hr)) {
      return hr;
    }
  }
  return S_OK;
}

}  // namespace tap::com
