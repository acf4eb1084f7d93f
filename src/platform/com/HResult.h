#pragma once
#include <cstdint>

namespace tap::com {

using HRESULT = std::int32_t;

constexpr bool succeeded(HRESULT hr) { return hr >= 0; }
constexpr bool failed(HRESULT hr) { return hr < 0; }

// X(name, value)
#define TAP_HRESULTS(X)                           \
  X(S_OK, 0x00000000)                             \
  X(S_FALSE, 0x00000001)                          \
  X(E_NOTIMPL, 0x80004001)                        \
  X(E_NOINTERFACE, 0x80004002)                    \
  X(E_POINTER, 0x80004003)                        \
  X(E_FAIL, 0x80004005)                           \
  X(E_UNEXPECTED, 0x8000FFFF)                     \
  X(E_OUTOFMEMORY, 0x8007000E)                    \
  X(E_INVALIDARG, 0x80070057)                     \
  X(DISP_E_UNKNOWNINTERFACE, 0x80020001)          \
  X(DISP_E_MEMBERNOTFOUND, 0x80020003)            \
  X(DISP_E_PARAMNOTFOUND, 0x80020004)             \
  X(DISP_E_TYPEMISMATCH, 0x80020005)              \
  X(DISP_E_UNKNOWNNAME, 0x80020006)               \
  X(DISP_E_NONAMEDARGS, 0x80020007)               \
  X(DISP_E_BADVARTYPE, 0x80020008)                \
  X(DISP_E_EXCEPTION, 0x80020009)                 \
  X(DISP_E_OVERFLOW, 0x8002000A)                  \
  X(DISP_E_BADINDEX, 0x8002000B)                  \
  X(DISP_E_ARRAYISLOCKED, 0x8002000D)             \
  X(DISP_E_BADPARAMCOUNT, 0x8002000E)             \
  X(DISP_E_PARAMNOTOPTIONAL, 0x8002000F)          \
  X(DISP_E_NOTACOLLECTION, 0x80020011)            \
  X(DISP_E_DIVBYZERO, 0x80020012)

#define TAP_HRESULT_CONSTANT(name, value) inline constexpr HRESULT name = static_cast<HRESULT>(value##u);
TAP_HRESULTS(TAP_HRESULT_CONSTANT)
#undef TAP_HRESULT_CONSTANT

// Errors raised by script-visible objects with a VBScript error number n
// travel as MAKE_HRESULT(1, FACILITY_CONTROL, n).
constexpr HRESULT control_error(std::uint16_t number) {
  return static_cast<HRESULT>(0x800A0000u | number);
}

}  // namespace tap::com
