#pragma once
// Test helpers: a variant as "TYPE text", so expectations read like VBScript
// output ("I4 32768", "R8 0.5", "BOOL True").
#include <string>

#include "platform/com/Variant.h"
#include "platform/com/conversions.h"

namespace tap::com::test {

inline std::string narrow(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

inline std::u16string widen(std::string_view s) { return std::u16string(s.begin(), s.end()); }

inline std::string show(const Variant& v) {
  const char* name = "?";
  switch (v.vt()) {
    case VT_EMPTY: return "EMPTY";
    case VT_NULL: return "NULL";
    case VT_I2: name = "I2"; break;
    case VT_I4: name = "I4"; break;
    case VT_R4: name = "R4"; break;
    case VT_R8: name = "R8"; break;
    case VT_CY: name = "CY"; break;
    case VT_DATE: name = "DATE"; break;
    case VT_BSTR: name = "BSTR"; break;
    case VT_BOOL: name = "BOOL"; break;
    case VT_UI1: name = "UI1"; break;
    case VT_ERROR: return "ERROR " + std::to_string(v.scode());
    default: return "VT " + std::to_string(v.vt());
  }
  BStr text;
  if (failed(to_bstr(v, &text))) return std::string(name) + " <no text>";
  return std::string(name) + " " + narrow(text.view());
}

inline Variant str(std::string_view s) { return Variant(widen(s)); }
inline Variant i2(int v) { return Variant(static_cast<std::int16_t>(v)); }
inline Variant i4(std::int32_t v) { return Variant(v); }
inline Variant ui1(int v) { return Variant(static_cast<std::uint8_t>(v)); }
inline Variant r8(double v) { return Variant(v); }
inline Variant r4(float v) { return Variant(v); }
inline Variant cy(double units) { return Variant(Currency{static_cast<std::int64_t>(units * 10000)}); }
inline Variant date(double v) { return Variant(Date{v}); }
inline Variant boolean(bool v) { return Variant(v); }

}  // namespace tap::com::test
