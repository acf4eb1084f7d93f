#include "vbscript/vm/ErrObject.h"

#include "platform/com/conversions.h"
#include "vbscript/ScriptError.h"

namespace tap::vbs {

using com::Variant;

namespace {

enum : com::DISPID { id_number = 0, id_description = 1, id_source = 2, id_raise = 3, id_clear = 4,
                     id_helpfile = 5, id_helpcontext = 6 };

struct Name {
  std::u16string_view name;
  com::DISPID id;
};
constexpr Name names[] = {{u"Number", id_number},       {u"Description", id_description},
                          {u"Source", id_source},       {u"Raise", id_raise},
                          {u"Clear", id_clear},         {u"HelpFile", id_helpfile},
                          {u"HelpContext", id_helpcontext}};

std::u16string text_of(const Variant& v) {
  com::BStr s;
  throw_if_failed(com::to_bstr(v.deref(), &s));
  return s.str();
}

}  // namespace

void raise_error(std::span<Variant> args) {
  if (args.empty() || args[0].deref().is_missing()) throw ScriptError(RuntimeError::argument_not_optional);
  std::int32_t number = 0;
  throw_if_failed(com::to_i4(args[0].deref(), &number));
  if (number == 0) throw ScriptError(RuntimeError::invalid_procedure_call);
  std::u16string source = runtime_error_source;
  if (args.size() > 1 && !args[1].deref().is_missing()) source = text_of(args[1]);
  std::u16string description;
  if (args.size() > 2 && !args[2].deref().is_missing()) description = text_of(args[2]);
  else description = runtime_error_description(number);
  if (description.empty()) description = u"Unknown runtime error";
  throw ScriptError(number, std::move(description), std::move(source));
}

com::HRESULT ErrObject::GetIDsOfNames(std::u16string_view name, com::DISPID* id) {
  for (const Name& n : names)
    if (com::names_equal(n.name, name)) {
      *id = n.id;
      return com::S_OK;
    }
  return com::DISP_E_UNKNOWNNAME;
}

com::HRESULT ErrObject::Invoke(com::DISPID id, com::InvokeFlags flags, std::span<Variant> args, Variant* result,
                               com::ExcepInfo* excep) {
  ErrState& st = *state_;
  bool put = (flags & com::DISPATCH_PROPERTYPUT) != 0;
  try {
    switch (id) {
      case id_number:
        if (put) {
          if (args.empty()) return com::DISP_E_BADPARAMCOUNT;
          std::int32_t n = 0;
          throw_if_failed(com::to_i4(args.back().deref(), &n));
          st.number = n;
          if (st.description.empty()) st.description = runtime_error_description(n);
        } else if (result) {
          *result = Variant(st.number);
        }
        return com::S_OK;
      case id_description:
      case id_source: {
        std::u16string& field = id == id_description ? st.description : st.source;
        if (put) {
          if (args.empty()) return com::DISP_E_BADPARAMCOUNT;
          field = text_of(args.back());
        } else if (result) {
          *result = Variant(field);
        }
        return com::S_OK;
      }
      case id_helpfile:
        if (!put && result) *result = Variant(std::u16string());
        return com::S_OK;
      case id_helpcontext:
        if (!put && result) *result = Variant(std::int32_t{0});
        return com::S_OK;
      case id_clear:
        st.clear();
        return com::S_OK;
      case id_raise:
        raise_error(args);
      default:
        return com::DISP_E_MEMBERNOTFOUND;
    }
  } catch (const ScriptError& e) {
    if (excep) {
      excep->scode = (e.number() > 0 && e.number() <= 0xFFFF)
                         ? com::control_error(static_cast<std::uint16_t>(e.number()))
                         : e.number();
      excep->description = e.description();
      excep->source = e.source();
    }
    return com::DISP_E_EXCEPTION;
  }
}

}  // namespace tap::vbs
