#include "builtin_call.h"

#include <cmath>

#include "platform/os/code_page.h"

namespace tap::vbs::test {

std::string describe(const Variant& v) {
  char buf[64];
  switch (v.vt()) {
    case com::VT_EMPTY: return "Empty";
    case com::VT_NULL: return "Null";
    case com::VT_I2: return "Integer " + std::to_string(v.i2());
    case com::VT_I4: return "Long " + std::to_string(v.i4());
    case com::VT_R4: std::snprintf(buf, sizeof buf, "Single %.9g", v.r4()); return buf;
    case com::VT_R8: std::snprintf(buf, sizeof buf, "Double %.17g", v.r8()); return buf;
    case com::VT_CY: return "Currency " + std::to_string(v.cy().scaled) + "e-4";
    case com::VT_DATE: std::snprintf(buf, sizeof buf, "Date %.10f", v.date().value); return buf;
    case com::VT_BSTR: return "\"" + os::wide_to_utf8(v.bstr().view()) + "\"";
    case com::VT_BOOL: return v.boolean() ? "True" : "False";
    case com::VT_UI1: return "Byte " + std::to_string(v.ui1());
    case com::VT_ERROR: return "Error " + std::to_string(v.scode());
    default: break;
  }
  if (v.is_array()) {
    std::string s = "Array(";
    if (v.array())
      for (std::size_t i = 0; i < v.array()->data().size(); ++i)
        s += (i ? ", " : "") + describe(v.array()->data()[i]);
    return s + ")";
  }
  return "vt " + std::to_string(v.vt());
}

// Same type and value; floating values within a relative 1e-12, dates
// within a millisecond.
bool same(const Variant& a, const Variant& b) {
  if (a.vt() != b.vt()) return false;
  switch (a.vt()) {
    case com::VT_EMPTY:
    case com::VT_NULL: return true;
    case com::VT_I2: return a.i2() == b.i2();
    case com::VT_I4: return a.i4() == b.i4();
    case com::VT_R4: return a.r4() == b.r4();
    case com::VT_R8: return std::fabs(a.r8() - b.r8()) <= 1e-12 * std::fmax(1.0, std::fabs(b.r8()));
    case com::VT_CY: return a.cy() == b.cy();
    case com::VT_DATE: return std::fabs(a.date().value - b.date().value) < 1e-8;
    case com::VT_BSTR: return a.bstr() == b.bstr();
    case com::VT_BOOL: return a.boolean() == b.boolean();
    case com::VT_UI1: return a.ui1() == b.ui1();
    case com::VT_ERROR: return a.scode() == b.scode();
    default: break;
  }
  if (a.is_array() && a.array() && b.array()) {
    const auto& x = a.array()->data();
    const auto& y = b.array()->data();
    if (x.size() != y.size() || a.array()->bounds().size() != b.array()->bounds().size()) return false;
    for (std::size_t i = 0; i < x.size(); ++i)
      if (!same(x[i], y[i])) return false;
    return true;
  }
  return false;
}

}  // namespace tap::vbs::test
