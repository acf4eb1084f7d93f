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

bool given(std::span<Variant> args, std::size_t i) { return i < args.size() && !args[i].deref().is_missing(); }

// Err.Raise's number as scripts then see it: 0 and positive numbers past
// 65535 become 5, HRESULTs VBScript knows become its own numbers.
std::int32_t raised_number(const Variant& v) {
  std::int32_t number = 0;
  throw_if_failed(com::to_i4(v.deref(), &number));
  if (number == 0 || number > 0xFFFF) return static_cast<std::int32_t>(RuntimeError::invalid_procedure_call);
  return error_number_from_hresult(number);
}

}  // namespace

void raise_error(std::span<Variant> args, const ErrState& current) {
  if (args.empty() || args.size() > 5) throw ScriptError(RuntimeError::wrong_number_of_arguments);
  if (!given(args, 0)) throw ScriptError(RuntimeError::argument_not_optional);
  std::int32_t number = raised_number(args[0]);
  std::u16string source = given(args, 1) ? text_of(args[1])
                          : current.source.empty() ? std::u16string(runtime_error_source)
                                                   : current.source;
  std::u16string description = given(args, 2) ? text_of(args[2]) : current.description;
  if (description.empty()) description = runtime_error_description(number);
  if (description.empty()) description = u"Unknown runtime error";
  std::u16string help_file = given(args, 3) ? text_of(args[3]) : current.help_file;
  std::int32_t help_context = current.help_context;
  if (given(args, 4)) throw_if_failed(com::to_i4(args[4].deref(), &help_context));
  ScriptError e(number, std::move(description), std::move(source));
  e.set_help(std::move(help_file), help_context);
  throw e;
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
        if (put) {
          if (args.empty()) return com::DISP_E_BADPARAMCOUNT;
          st.help_file = text_of(args.back());
        } else if (result) {
          *result = Variant(st.help_file);
        }
        return com::S_OK;
      case id_helpcontext:
        if (put) {
          if (args.empty()) return com::DISP_E_BADPARAMCOUNT;
          throw_if_failed(com::to_i4(args.back().deref(), &st.help_context));
        } else if (result) {
          *result = Variant(st.help_context);
        }
        return com::S_OK;
      case id_clear:
        st.clear();
        return com::S_OK;
      case id_raise:
        raise_error(args, st);
      default:
        return com::DISP_E_MEMBERNOTFOUND;
    }
  } catch (const ScriptError& e) {
    if (excep) e.to_excep(*excep);
    return com::DISP_E_EXCEPTION;
  }
}

}  // namespace tap::vbs
