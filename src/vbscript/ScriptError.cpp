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

namespace {

// X(HRESULT, value, error number): the failures VBScript reports under an
// error number of its own.
#define TAP_VBS_MAPPED_HRESULTS(X)                                                       \
  X(E_NOTIMPL, 0x80004001, 445) X(E_NOINTERFACE, 0x80004002, 430)                        \
  X(DISP_E_UNKNOWNINTERFACE, 0x80020001, 438) X(DISP_E_MEMBERNOTFOUND, 0x80020003, 438)  \
  X(DISP_E_PARAMNOTFOUND, 0x80020004, 448) X(DISP_E_TYPEMISMATCH, 0x80020005, 13)        \
  X(DISP_E_UNKNOWNNAME, 0x80020006, 438) X(DISP_E_NONAMEDARGS, 0x80020007, 446)          \
  X(DISP_E_BADVARTYPE, 0x80020008, 458) X(DISP_E_OVERFLOW, 0x8002000A, 6)                \
  X(DISP_E_BADINDEX, 0x8002000B, 9) X(DISP_E_UNKNOWNLCID, 0x8002000C, 447)               \
  X(DISP_E_ARRAYISLOCKED, 0x8002000D, 10) X(DISP_E_BADPARAMCOUNT, 0x8002000E, 450)       \
  X(DISP_E_PARAMNOTOPTIONAL, 0x8002000F, 449) X(DISP_E_NOTACOLLECTION, 0x80020011, 451)  \
  X(DISP_E_DIVBYZERO, 0x80020012, 11) X(TYPE_E_DLLFUNCTIONNOTFOUND, 0x8002802F, 453)     \
  X(TYPE_E_TYPEMISMATCH, 0x80028CA0, 13) X(TYPE_E_OUTOFBOUNDS, 0x80028CA1, 9)            \
  X(TYPE_E_IOERROR, 0x80028CA2, 57) X(TYPE_E_CANTCREATETMPFILE, 0x80028CA3, 322)         \
  X(STG_E_FILENOTFOUND, 0x80030002, 432) X(STG_E_PATHNOTFOUND, 0x80030003, 76)           \
  X(STG_E_TOOMANYOPENFILES, 0x80030004, 67) X(STG_E_ACCESSDENIED, 0x80030005, 70)        \
  X(STG_E_INSUFFICIENTMEMORY, 0x80030008, 7) X(STG_E_NOMOREFILES, 0x80030012, 67)        \
  X(STG_E_DISKISWRITEPROTECTED, 0x80030013, 70) X(STG_E_WRITEFAULT, 0x8003001D, 57)      \
  X(STG_E_READFAULT, 0x8003001E, 57) X(STG_E_SHAREVIOLATION, 0x80030020, 75)             \
  X(STG_E_LOCKVIOLATION, 0x80030021, 70) X(STG_E_FILEALREADYEXISTS, 0x80030050, 58)      \
  X(STG_E_MEDIUMFULL, 0x80030070, 61) X(STG_E_INVALIDNAME, 0x800300FC, 53)               \
  X(STG_E_INUSE, 0x80030100, 70) X(STG_E_NOTCURRENT, 0x80030101, 70)                     \
  X(STG_E_CANTSAVE, 0x80030103, 57) X(REGDB_E_CLASSNOTREG, 0x80040154, 429)              \
  X(MK_E_UNAVAILABLE, 0x800401E3, 429) X(MK_E_INVALIDEXTENSION, 0x800401E6, 432)         \
  X(MK_E_CANTOPENFILE, 0x800401EA, 432) X(CO_E_CLASSSTRING, 0x800401F3, 429)             \
  X(CO_E_APPNOTFOUND, 0x800401F5, 429) X(CO_E_APPDIDNTREG, 0x800401FE, 429)              \
  X(E_ACCESSDENIED, 0x80070005, 70) X(E_OUTOFMEMORY, 0x8007000E, 7)                      \
  X(E_INVALIDARG, 0x80070057, 5) X(RPC_S_SERVER_UNAVAILABLE, 0x800706BA, 462)            \
  X(CO_E_SERVER_EXEC_FAILURE, 0x80080005, 429)

}  // namespace

std::int32_t error_number_from_hresult(com::HRESULT hr) {
  switch (static_cast<std::uint32_t>(hr)) {
#define TAP_VBS_HRESULT_CASE(name, value, number) \
  case value##u:                                  \
    return number;
    TAP_VBS_MAPPED_HRESULTS(TAP_VBS_HRESULT_CASE)
#undef TAP_VBS_HRESULT_CASE
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

void ScriptError::to_excep(com::ExcepInfo& out) const {
  out.scode = number_ > 0 && number_ <= 0xFFFF ? com::control_error(static_cast<std::uint16_t>(number_)) : number_;
  out.description = description_;
  out.source = source_;
  out.help_file = help_file_;
  out.help_context = help_context_;
}

void throw_if_failed(com::HRESULT hr) {
  if (com::succeeded(hr)) return;
  std::int32_t n = error_number_from_hresult(hr);
  std::u16string text = runtime_error_description(n);
  if (text.empty()) text = u"Unknown runtime error";
  throw ScriptError(n, std::move(text));
}

}  // namespace tap::vbs
