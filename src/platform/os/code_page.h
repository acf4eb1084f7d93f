#pragma once
#include <string>
#include <string_view>

namespace tap::os {

// The process's ANSI code page is Windows-1252. The five bytes that code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1
// controls of the same value, so every byte survives a round trip.
std::u16string ansi_to_wide(std::string_view bytes);

// Characters without a Windows-1252 equivalent become '?'; a surrogate
// pair is one character and so one '?'.
std::string wide_to_ansi(std::u16string_view text);

// UTF-8 <-> UTF-16 for the libraries that speak UTF-8 (libxml2). Invalid
// sequences become U+FFFD rather than failing.
std::u16string utf8_to_wide(std::string_view utf8);
std::string wide_to_utf8(std::u16string_view text);

}  // namespace tap::os
