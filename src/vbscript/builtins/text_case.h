#pragma once
// Whole-string case mapping and searching for vbTextCompare, LCase and
// UCase, over the automation layer's per-character case folding.
#include <cstddef>
#include <string>
#include <string_view>

namespace tap::vbs {

std::u16string upper_text(std::u16string_view s);
std::u16string lower_text(std::u16string_view s);

bool equal_text(std::u16string_view a, std::u16string_view b, bool text);

// Position of needle in hay at or after from (npos if none).
std::size_t find_text(std::u16string_view hay, std::u16string_view needle, std::size_t from,
                      bool text);
// Last position of needle that ends at or before end (npos if none).
std::size_t rfind_text(std::u16string_view hay, std::u16string_view needle, std::size_t end,
                       bool text);

}  // namespace tap::vbs
