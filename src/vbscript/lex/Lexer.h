#pragma once
// Splits script text into tokens. The whole text is scanned up front so the
// parser can look ahead and back up freely (Sub calls without parentheses).
#include <cstdint>
#include <string_view>
#include <vector>

#include "vbscript/lex/Token.h"

namespace tap::vbs {

struct LexResult {
  std::vector<Token> tokens;  // always ends with Tok::eof
  std::int32_t error = 0;     // a compilation error number, 0 when fine
  std::int32_t line = 0;
  std::int32_t column = 0;
  explicit operator bool() const { return error == 0; }
};

// Tokens keep views into `source`, which must outlive them.
LexResult tokenize(std::u16string_view source);

// Case-insensitive equality of an identifier with a lower-case ASCII word.
bool word_is(std::u16string_view text, std::string_view lower_word);

}  // namespace tap::vbs
