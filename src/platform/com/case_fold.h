#pragma once
// Case mapping of UTF-16 code units for vbTextCompare, LCase and UCase:
// ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters (what
// locale 0x409 maps one to one). Other units stay as they are.
#include <string_view>

namespace tap::com {

char16_t lower_char(char16_t c);
char16_t upper_char(char16_t c);

// <0, 0 or >0 comparing code units, after lower_char when ignore_case.
int compare_text(std::u16string_view a, std::u16string_view b, bool ignore_case);

}  // namespace tap::com
