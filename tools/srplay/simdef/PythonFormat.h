#pragma once
// Python format strings ("VOLT {:.3f}", "{:+.8E}") as the definitions use
// them: split into literal text and replacement fields, each field's format
// spec taken apart. Setters read them backwards, as a pattern whose capture
// group holds the value; getters format a value with them.
#include <stdexcept>
#include <string>
#include <vector>

namespace srplay::simdef {

class format_error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// [[fill]align][sign][z][#][0][width][grouping][.precision][type]
struct FormatSpec {
  char fill = ' ';
  char align = 0;  // '<' '>' '=' '^', 0 when not given
  char sign = 0;   // '+' '-' ' ', 0 when not given
  bool alternate = false;
  bool zero = false;
  int width = 0;
  char grouping = 0;    // ',' '_' or 0
  int precision = -1;   // -1 when not given
  char type = 0;        // 0 when not given
};

struct FormatField {
  std::string name;        // "" for an automatically numbered field
  std::string conversion;  // "r", "s", "a" after '!', else ""
  std::string spec_text;
  FormatSpec spec;
};

struct FormatString {
  std::vector<std::string> literals;  // one more than fields: text before, between and after
  std::vector<FormatField> fields;
};

// Throws format_error for text Python would refuse ("Single '}' encountered").
FormatString parse_format_string(const std::string& text);
FormatSpec parse_format_spec(const std::string& text);

// How a setter reads a field's value back from a command.
struct ValueReader {
  enum Kind { text, integer, number } kind = text;
  std::string pattern;  // regular expression of the value, without a group
  int base = 10;        // for integer
  bool percent = false; // "%": the number before the sign, divided by 100
};
ValueReader value_reader(const FormatSpec& spec);

// Text as a literal part of a VBScript regular expression.
std::string regex_literal(const std::string& text);

}  // namespace srplay::simdef
