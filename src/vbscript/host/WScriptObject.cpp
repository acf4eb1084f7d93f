#include "vbscript/host/WScriptObject.h"

#include "platform/com/conversions.h"
#include "vbscript/ScriptError.h"

namespace tap::vbs {

using com::Variant;

namespace {
enum : com::DISPID { id_echo = 1, id_quit = 2, id_script_name = 3 };
}

com::HRESULT WScriptObject::GetIDsOfNames(std::u16string_view name, com::DISPID* id) {
  if (com::names_equal(name, u"Echo")) *id = id_echo;
  else if (com::names_equal(name, u"Quit")) *id = id_quit;
  else if (com::names_equal(name, u"ScriptName")) *id = id_script_name;
  else return com::DISP_E_UNKNOWNNAME;
  return com::S_OK;
}

com::HRESULT WScriptObject::Invoke(com::DISPID id, com::InvokeFlags, std::span<Variant> args, Variant* result,
                                   com::ExcepInfo*) {
  switch (id) {
    case id_echo: {
      std::u16string line;
      for (std::size_t i = 0; i < args.size(); ++i) {
        if (i) line.push_back(u' ');
        Variant v = args[i].deref();
        if (v.is_object() && v.dispatch()) {
          // An object prints as its default value (Err prints its number).
          Variant value;
          com::ExcepInfo ex;
          com::HRESULT hr = v.dispatch()->Invoke(com::DISPID_VALUE, com::DISPATCH_PROPERTYGET, {}, &value, &ex);
          if (com::failed(hr)) return hr;
          v = value.deref();
        }
        if (v.is_null()) {
          line += u"Null";
          continue;
        }
        if (v.is_missing()) continue;
        com::BStr s;
        com::HRESULT hr = com::to_bstr(v, &s);
        if (com::failed(hr)) return hr;
        line += s.view();
      }
      sink_(line);
      return com::S_OK;
    }
    case id_quit: {
      std::int32_t code = 0;
      if (!args.empty() && !args[0].deref().is_missing()) {
        com::HRESULT hr = com::to_i4(args[0].deref(), &code);
        if (com::failed(hr)) return hr;
      }
      throw ScriptAbort(ScriptAbort::Kind::quit, code);
    }
    case id_script_name:
      if (result) *result = Variant(u"script.vbs");
      return com::S_OK;
    default: return com::DISP_E_MEMBERNOTFOUND;
  }
}

}  // namespace tap::vbs
