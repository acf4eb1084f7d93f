#pragma once
// The predefined constants (vbCrLf, vbTextCompare, VarType and MsgBox
// values, vbObjectError, ...), looked up by lower-case name.
#include <string_view>

#include "platform/com/Variant.h"

namespace tap::vbs {

// Null when there is no constant of that name.
const com::Variant* find_constant(std::u16string_view lower_name);

}  // namespace tap::vbs
