#pragma once
// VariantCopyInd: a copy that owns everything it holds. A by-reference
// variant is copied as the value it refers to; arrays (nested ones too) are
// copied element by element; objects are shared by reference. Strings are
// immutable, so sharing their buffer is already a copy.
#include "platform/com/HResult.h"
#include "platform/com/Variant.h"

namespace tap::com {

// dest may be src. E_OUTOFMEMORY when an array cannot be allocated or the
// arrays nest deeper than max_copy_depth; dest is then unchanged.
HRESULT copy_indirect(Variant& dest, const Variant& src);

inline constexpr int max_copy_depth = 1000;

}  // namespace tap::com
