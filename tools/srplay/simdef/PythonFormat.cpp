#include "simdef/PythonFormat.h"

#include <cstdio>

namespace srplay::simdef {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

int digits_value(const std::string& text, std::size_t& i) {
  long value = 0;
  while (i < text.size() && is_digit(text[i])) {
    value = value * 10 + (text[i++] - '0');
    if (value > 100000) throw format_error("width or precision too big in \"" + text + "\"");
  }
  return static_cast<int>(value);
}

}  // namespace

FormatString parse_format_string(const std::string& text) {
  FormatString out;
  std::string literal;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '}') {
      if (i + 1 < text.size() && text[i + 1] == '}') {
        literal += '}';
        i += 2;
        continue;
      }
      throw format_error("Single '}' encountered in format string");
    }
    if (c != '{') {
      literal += c;
      ++i;
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '{') {
      literal += '{';
      i += 2;
      continue;
    }
    const std::size_t close = text.find('}', i + 1);
    if (close == std::string::npos) throw format_error("Single '{' encountered in format string");
    std::string inside = text.substr(i + 1, close - i - 1);
    if (inside.find('{') != std::string::npos)
      throw format_error("nested replacement fields are not supported");
    FormatField f;
    const std::size_t colon = inside.find(':');
    if (colon != std::string::npos) {
      f.spec_text = inside.substr(colon + 1);
      inside = inside.substr(0, colon);
    }
    const std::size_t bang = inside.find('!');
    if (bang != std::string::npos) {
      f.conversion = inside.substr(bang + 1);
      inside = inside.substr(0, bang);
      if (f.conversion != "r" && f.conversion != "s" && f.conversion != "a")
        throw format_error("Unknown conversion specifier " + f.conversion);
    }
    f.name = inside;
    f.spec = parse_format_spec(f.spec_text);
    out.literals.push_back(literal);
    out.fields.push_back(std::move(f));
    literal.clear();
    i = close + 1;
  }
  out.literals.push_back(literal);
  return out;
}

FormatSpec parse_format_spec(const std::string& text) {
  FormatSpec s;
  std::size_t i = 0;
  auto is_align = [](char c) { return c == '<' || c == '>' || c == '=' || c == '^'; };
  bool fill_given = false;
  if (text.size() >= 2 && is_align(text[1])) {
    s.fill = text[0];
    fill_given = true;
    s.align = text[1];
    i = 2;
  } else if (!text.empty() && is_align(text[0])) {
    s.align = text[0];
    i = 1;
  }
  if (i < text.size() && (text[i] == '+' || text[i] == '-' || text[i] == ' ')) s.sign = text[i++];
  if (i < text.size() && text[i] == 'z') throw format_error("the 'z' option is not supported");
  if (i < text.size() && text[i] == '#') {
    s.alternate = true;
    ++i;
  }
  if (i < text.size() && text[i] == '0') {
    s.zero = true;
    if (!fill_given) s.fill = '0';
    ++i;
  }
  s.width = digits_value(text, i);
  if (i < text.size() && (text[i] == ',' || text[i] == '_')) s.grouping = text[i++];
  if (i < text.size() && text[i] == '.') {
    ++i;
    if (i >= text.size() || !is_digit(text[i])) throw format_error("Format specifier missing precision");
    s.precision = digits_value(text, i);
  }
  if (i < text.size()) s.type = text[i++];
  if (i < text.size()) throw format_error("Invalid format specifier '" + text + "'");
  if (s.type != 0 && std::string("bcdeEfFgGnosxX%").find(s.type) == std::string::npos)
    throw format_error(std::string("Unknown format code '") + s.type + "'");
  return s;
}

ValueReader value_reader(const FormatSpec& spec) {
  ValueReader r;
  std::string body;
  switch (spec.type) {
    case 0:
    case 's': r.kind = ValueReader::text; body = ".*?"; break;
    case 'd':
    case 'n': r.kind = ValueReader::integer; body = "[0-9]+"; break;
    case 'b': r.kind = ValueReader::integer; r.base = 2; body = "[01]+"; break;
    case 'o': r.kind = ValueReader::integer; r.base = 8; body = "[0-7]+"; break;
    case 'x': r.kind = ValueReader::integer; r.base = 16; body = "[0-9a-f]+"; break;
    case 'X': r.kind = ValueReader::integer; r.base = 16; body = "[0-9A-F]+"; break;
    case 'f':
    case 'F': r.kind = ValueReader::number; body = "(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)"; break;
    case 'e':
    case 'E':
    case 'g':
    case 'G':
      r.kind = ValueReader::number;
      body = "(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][-+]?[0-9]+)?";
      break;
    case '%':
      r.kind = ValueReader::number;
      r.percent = true;
      body = "(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)%";
      break;
    default: throw format_error(std::string("a setter cannot read format '") + spec.type + "'");
  }
  if (r.kind == ValueReader::text) {
    if (spec.sign != 0) throw format_error("Sign not allowed in string format specifier");
    r.pattern = body;
    return r;
  }
  if (spec.alternate) {
    if (r.base == 10) throw format_error("Alternate form (#) not allowed here");
    body = std::string("0") + (r.base == 2 ? "b" : r.base == 8 ? "o" : spec.type == 'X' ? "X" : "x") + body;
  }
  // The sign as the reading side understands it: '+' demands one.
  const std::string sign = spec.sign == '+' ? "[-+]" : spec.sign == ' ' ? "[- ]" : "-?";
  r.pattern = sign + body;
  return r;
}

std::string regex_literal(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    switch (c) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\x%02X", c);
          out += buf;
        } else {
          if (std::string("\\^$.|?*+()[]{}/").find(static_cast<char>(c)) != std::string::npos)
            out += '\\';
          out += static_cast<char>(c);
        }
    }
  }
  return out;
}

}  // namespace srplay::simdef
