#pragma once
// The pieces a line of conversation text is made of: words, "quoted" text
// with C escapes, 'raw' text, key=value options and <<WORD openers of a
// multi-line block.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace srplay {

// What is wrong with a conversation text, and on which line.
class text_error : public std::runtime_error {
 public:
  text_error(int line, const std::string& what) : std::runtime_error(what), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

struct TextToken {
  enum Kind { word, quoted, raw, option, block } kind = word;
  std::string text;  // the word; quoted or raw text; an option's value; a block's end word
  std::string key;   // an option's key
  bool value_quoted = false;  // an option whose value was quoted
};

class LineScanner {
 public:
  LineScanner(std::string_view text, int line) : text_(text), line_(line) {}

  bool at_end();
  TextToken next();
  // What is left, without its surrounding blanks.
  std::string_view rest();
  // Marks the rest as taken, for text that runs to the end of the line.
  void take_rest() { pos_ = text_.size(); }
  int line() const { return line_; }

 private:
  void skip_blanks();
  std::string read_quoted();
  std::string read_raw();

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_;
};

// C escapes: \n \r \t \0 \\ \" \' and \xHH.
std::string unescape_text(std::string_view text, int line);

bool is_blank(char c);
std::string_view trim_blanks(std::string_view s);

// Decimal with an optional sign, or 0x hexadecimal.
std::optional<std::int64_t> parse_integer(std::string_view text);
std::int32_t to_int32(const TextToken& t, int line);
// Flags: any 32-bit pattern, written signed or unsigned.
std::uint32_t to_flags(const TextToken& t, int line);
// 0 to 2147483647: what the driver loads for an unsigned value.
std::uint32_t to_loadable_unsigned(const TextToken& t, int line);
bool to_bool(const TextToken& t, int line);
// A decimal number, kept as written.
std::string to_version(const TextToken& t, int line);

// Text that the recording holds as text: valid UTF-8, and only those
// control characters an XML attribute can carry.
void check_text(std::string_view text, int line, const char* what, bool controls_allowed = false);

}  // namespace srplay
