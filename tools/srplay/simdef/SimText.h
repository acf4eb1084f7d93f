#pragma once
// How the simulator turns the definition's texts into bytes.
#include <optional>
#include <string>

namespace srplay::simdef {

// Spaces (only spaces) cut from both ends, as q, r and e are read.
std::string strip_spaces(const std::string& text);

// The two-character sequences \r and \n become CR and LF; the rest is the
// text's UTF-8 bytes.
std::string message_bytes(const std::string& text);

// BYTES(hex digits) directives replaced by the bytes they give; nullopt when
// a directive is malformed (odd digit count, a non-hex character).
std::optional<std::string> expand_bytes_directives(const std::string& text);

// The word a definition uses for "no answer at all".
bool is_null_response(const std::string& text);

}  // namespace srplay::simdef
