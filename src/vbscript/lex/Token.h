#pragma once
#include <cstdint>
#include <string_view>

#include "vbscript/lex/TokenKind.h"

namespace tap::vbs {

struct Token {
  Tok kind = Tok::eof;
  bool space_before = false;  // "f (x)" passes x by value; "a(1)" indexes
  std::int32_t line = 1;      // 1-based
  std::int32_t column = 1;    // 1-based, in UTF-16 units
  std::u16string_view text;   // identifier (without brackets) or literal body
  double number = 0;          // integer and number literals
  bool is_long = false;       // integer literal that needs 32 bits (or had '&')
};

}  // namespace tap::vbs
