#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace srplay {

// C escapes as users type them: \n \r \t \\ \" \0 and \xHH. nullopt for a
// malformed escape.
std::optional<std::string> unescape(std::string_view text);

// Bytes for a terminal: printable ASCII as is, the rest escaped.
std::string escape(std::string_view bytes);

// The same bytes as the contents of a JSON string (without the quotes).
std::string json_string(std::string_view bytes);

// Hexadecimal digit pairs to bytes; nullopt when not pairs of hex digits.
std::optional<std::string> from_hex(std::string_view text);
std::string to_hex(std::string_view bytes);

}  // namespace srplay
