#include "TextLine.h"

#include <charconv>
#include <cstdlib>
#include <limits>

namespace srplay {
namespace {

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool is_key_char(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool is_block_word_char(char c) {
  return is_key_char(c) || (c >= '0' && c <= '9') || c == '_';
}

std::string shown(const TextToken& t) {
  return t.kind == TextToken::option ? t.key + "=" + t.text : t.text;
}

std::int64_t integer_in(const TextToken& t, int line, std::int64_t low, std::int64_t high,
                        const std::string& range) {
  std::optional<std::int64_t> v = parse_integer(t.text);
  if (!v) throw text_error(line, "\"" + shown(t) + "\" is not a number");
  if (*v < low || *v > high)
    throw text_error(line, "\"" + shown(t) + "\" is out of range (" + range + ")");
  return *v;
}

// Length of the UTF-8 sequence starting at s[i], 0 when it is not one.
std::size_t utf8_length(std::string_view s, std::size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  std::size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
  if (n == 0 || (n == 2 && b < 0xC2) || i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return 0;
  return n;
}

}  // namespace

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

void LineScanner::skip_blanks() {
  while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
}

bool LineScanner::at_end() {
  skip_blanks();
  return pos_ == text_.size();
}

std::string_view LineScanner::rest() {
  skip_blanks();
  return trim_blanks(text_.substr(pos_));
}

std::string LineScanner::read_quoted() {
  const std::size_t start = ++pos_;
  for (; pos_ < text_.size(); ++pos_) {
    if (text_[pos_] == '\\') {
      ++pos_;
    } else if (text_[pos_] == '"') {
      std::string_view inside = text_.substr(start, pos_ - start);
      ++pos_;
      return unescape_text(inside, line_);
    }
  }
  throw text_error(line_, "the quoted text has no closing \"");
}

std::string LineScanner::read_raw() {
  std::string out;
  for (++pos_; pos_ < text_.size(); ++pos_) {
    if (text_[pos_] != '\'') {
      out.push_back(text_[pos_]);
    } else if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
      out.push_back('\'');
      ++pos_;
    } else {
      ++pos_;
      return out;
    }
  }
  throw text_error(line_, "the quoted text has no closing '");
}

TextToken LineScanner::next() {
  skip_blanks();
  TextToken t;
  if (pos_ == text_.size()) throw text_error(line_, "the line ends too early");
  const char c = text_[pos_];
  if (c == '"') {
    t.kind = TextToken::quoted;
    t.text = read_quoted();
  } else if (c == '\'') {
    t.kind = TextToken::raw;
    t.text = read_raw();
  } else if (text_.substr(pos_, 2) == "<<") {
    t.kind = TextToken::block;
    pos_ += 2;
    while (pos_ < text_.size() && is_block_word_char(text_[pos_])) t.text.push_back(text_[pos_++]);
    if (t.text.empty() || (pos_ < text_.size() && !is_blank(text_[pos_])))
      throw text_error(line_, "a block opens with <<WORD (letters, digits, _)");
  } else {
    std::size_t end = pos_;
    while (end < text_.size() && is_key_char(text_[end])) ++end;
    if (end > pos_ && end < text_.size() && text_[end] == '=') {
      t.kind = TextToken::option;
      t.key = std::string(text_.substr(pos_, end - pos_));
      pos_ = end + 1;
      if (pos_ < text_.size() && (text_[pos_] == '"' || text_[pos_] == '\'')) {
        t.value_quoted = true;
        t.text = text_[pos_] == '"' ? read_quoted() : read_raw();
      }
    }
    if (!t.value_quoted) {
      const std::size_t start = pos_;
      while (pos_ < text_.size() && !is_blank(text_[pos_])) ++pos_;
      t.text = std::string(text_.substr(start, pos_ - start));
    }
  }
  if (pos_ < text_.size() && !is_blank(text_[pos_]))
    throw text_error(line_, "put a blank after the quoted text");
  return t;
}

std::string unescape_text(std::string_view text, int line) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out.push_back(text[i]);
      continue;
    }
    if (i + 1 == text.size()) throw text_error(line, "the text ends in a lone \\");
    const char e = text[++i];
    switch (e) {
      case 'n': out.push_back('\n'); break;
      case 'r': out.push_back('\r'); break;
      case 't': out.push_back('\t'); break;
      case '0': out.push_back('\0'); break;
      case '\\': case '"': case '\'': out.push_back(e); break;
      case 'x': {
        const int hi = i + 1 < text.size() ? hex_value(text[i + 1]) : -1;
        const int lo = i + 2 < text.size() ? hex_value(text[i + 2]) : -1;
        if (hi < 0 || lo < 0)
          throw text_error(line, "bad escape \"" + std::string(text.substr(i - 1, 4)) +
                                     "\": \\x takes two hexadecimal digits");
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        break;
      }
      default:
        throw text_error(line, "bad escape \"\\" + std::string(1, e) +
                                   "\" (known: \\n \\r \\t \\0 \\\\ \\\" \\' \\xHH)");
    }
  }
  return out;
}

std::optional<std::int64_t> parse_integer(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  std::uint64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
      value > (std::uint64_t{1} << 40))
    return std::nullopt;
  const auto v = static_cast<std::int64_t>(value);
  return negative ? -v : v;
}

std::int32_t to_int32(const TextToken& t, int line) {
  return static_cast<std::int32_t>(integer_in(t, line, std::numeric_limits<std::int32_t>::min(),
                                              std::numeric_limits<std::int32_t>::max(),
                                              "-2147483648 to 2147483647"));
}

std::uint32_t to_flags(const TextToken& t, int line) {
  return static_cast<std::uint32_t>(integer_in(t, line, std::numeric_limits<std::int32_t>::min(),
                                               std::numeric_limits<std::uint32_t>::max(),
                                               "32 bits"));
}

std::uint32_t to_loadable_unsigned(const TextToken& t, int line) {
  return static_cast<std::uint32_t>(
      integer_in(t, line, 0, std::numeric_limits<std::int32_t>::max(),
                 "0 to 2147483647; the driver refuses larger values"));
}

bool to_bool(const TextToken& t, int line) {
  if (t.text == "1" || t.text == "true") return true;
  if (t.text == "0" || t.text == "false") return false;
  throw text_error(line, "\"" + shown(t) + "\" is not 0, 1, true or false");
}

std::string to_version(const TextToken& t, int line) {
  const std::string& s = t.text;
  char* end = nullptr;
  const bool plain = s.find_first_not_of("0123456789.+-eE") == std::string::npos;
  if (plain && !s.empty()) std::strtod(s.c_str(), &end);
  if (!plain || s.empty() || end != s.c_str() + s.size())
    throw text_error(line, "\"" + shown(t) + "\" is not a decimal number");
  return s;
}

void check_text(std::string_view text, int line, const char* what, bool controls_allowed) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = utf8_length(text, i);
    if (n == 0) throw text_error(line, std::string(what) + " is not UTF-8 text");
    const auto c = static_cast<unsigned char>(text[i]);
    if (!controls_allowed && c < 0x20 && c != '\t' && c != '\n' && c != '\r')
      throw text_error(line, std::string(what) +
                                 " holds a control character that a recording cannot carry "
                                 "as text (only \\t, \\n and \\r)");
    i += n;
  }
}

}  // namespace srplay
