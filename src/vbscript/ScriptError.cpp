#include "vbscript/ScriptError.h"

#include "platform/os/code_page.h"

namespace tap::vbs {

std::u16string runtime_error_description(std::int32_t number) {
  switch (number) {
#define TAP_VBS_ERROR_CASE(n, name, text) \
  case n:                                 \
    return text;
    TAP_VBS_RUNTIME_ERRORS(TAP_VBS_ERROR_CASE)
    TAP_VBS_SYNTAX_ERRORS(TAP_VBS_ERROR_CASE)
#undef TAP_VBS_ERROR_CASE
  }
  return {};
}

std::int32_t error_number_from_hresult(com::HRESULT hr) {
  using namespace com;
  switch (hr) {
    case DISP_E_TYPEMISMATCH: return 13;
    case DISP_E_OVERFLOW: return 6;
    case DISP_E_DIVBYZERO: return 11;
    case DISP_E_BADINDEX: return 9;
    case DISP_E_ARRAYISLOCKED: return 10;
    case E_OUTOFMEMORY: return 7;
    case DISP_E_MEMBERNOTFOUND:
    case DISP_E_UNKNOWNNAME: return 438;
    case DISP_E_BADPARAMCOUNT: return 450;
    case DISP_E_PARAMNOTOPTIONAL: return 449;
    case DISP_E_NONAMEDARGS: return 446;
    case DISP_E_NOTACOLLECTION: return 451;
    case E_INVALIDARG: return 5;
    case E_NOINTERFACE: return 430;
    default: break;
  }
  if ((static_cast<std::uint32_t>(hr) & 0xFFFF0000u) == 0x800A0000u)
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(hr) & 0xFFFFu);
  return hr;
}

ScriptError::ScriptError(RuntimeError e)
    : ScriptError(static_cast<std::int32_t>(e),
                  runtime_error_description(static_cast<std::int32_t>(e))) {}

ScriptError::ScriptError(std::int32_t number, std::u16string description, std::u16string source)
    : std::runtime_error(os::wide_to_utf8(description)),
      number_(number),
      description_(std::move(description)),
      source_(std::move(source)) {}

void throw_if_failed(com::HRESULT hr) {
  if (com::succeeded(hr)) return;
  std::int32_t n = error_number_from_hresult(hr);
  std::u16string text = runtime_error_description(n);
  if (text.empty()) text = u"Unknown runtime error";
  throw ScriptError(n, std::move(text));
}

}  // namespace tap::vbs
