#pragma once
// Numbers as text under locale 0x409: how VBScript prints them and which
// text it accepts as a number (VarParseNumFromStr with its standard flags).
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/HResult.h"
#include "platform/com/Variant.h"

namespace tap::com {

std::u16string format_integer(std::int64_t v);
// 15 significant digits; fixed notation up to 15 decimal places and below
// 1E+15: 0.333333333333333, 0.000000000000001, 1E-16, 1E+15,
// 1.99999997764826E-02.
std::u16string format_r8(double v);
std::u16string format_r4(float v);  // the same with 7 digits

std::u16string format_cy(Currency v);  // up to 4 decimals, no trailing zeros

struct ParsedNumber {
  long double value = 0;
  // &H / &O text: value is the bit pattern read as Integer when it fits
  // 16 bits, else as Long (so "&HFFFF" is -1, as the literal is).
  bool hex_oct = false;
};

// Accepts surrounding white space, a leading or trailing sign, parentheses
// for a negative amount, a "$" sign, "," thousands separators, a decimal
// point, an exponent (E or D) and &H / &O prefixes. DISP_E_TYPEMISMATCH for
// anything else (including empty text), DISP_E_OVERFLOW past the range of
// Double.
HRESULT parse_number(std::u16string_view text, ParsedNumber* out);

// Banker's rounding of a finite value to the nearest integer.
double round_half_even(double v);

}  // namespace tap::com
