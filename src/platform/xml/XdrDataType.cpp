#include "platform/xml/XdrDataType.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "platform/xml/BinHex.h"
#include "platform/xml/XmlText.h"

namespace tap::xml {

namespace {

constexpr std::array kNames = {
#define TAP_XDR_DATATYPE_NAME(id, name) std::string_view(name),
    TAP_XDR_DATATYPES(TAP_XDR_DATATYPE_NAME)
#undef TAP_XDR_DATATYPE_NAME
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// integer := [sign] digit+ ; the magnitude must fit [min, max].
bool is_integer(std::string_view v, std::int64_t min, std::uint64_t max) {
  if (v.empty()) return false;
  bool negative = false;
  if (v[0] == '+' || v[0] == '-') {
    negative = v[0] == '-';
    v.remove_prefix(1);
  }
  if (v.empty()) return false;
  std::uint64_t magnitude = 0;
  bool overflow = false;
  for (char c : v) {
    if (!is_digit(c)) return false;
    auto d = static_cast<std::uint64_t>(c - '0');
    if (magnitude > (std::numeric_limits<std::uint64_t>::max() - d) / 10) overflow = true;
    if (!overflow) magnitude = magnitude * 10 + d;
  }
  if (overflow) return false;
  if (negative) {
    if (magnitude == 0) return true;
    if (min >= 0) return false;
    return magnitude <= static_cast<std::uint64_t>(-(min + 1)) + 1;
  }
  return magnitude <= max;
}

// decimal := [sign] (digit+ ['.' digit*] | '.' digit+) ; returns digits before/after the point.
bool is_decimal(std::string_view v, std::size_t* int_digits = nullptr, std::size_t* frac_digits = nullptr) {
  std::size_t i = 0;
  if (i < v.size() && (v[i] == '+' || v[i] == '-')) ++i;
  std::size_t a = 0;
  while (i < v.size() && is_digit(v[i])) ++i, ++a;
  std::size_t b = 0;
  if (i < v.size() && v[i] == '.') {
    ++i;
    while (i < v.size() && is_digit(v[i])) ++i, ++b;
  }
  if (int_digits) *int_digits = a;
  if (frac_digits) *frac_digits = b;
  return i == v.size() && a + b > 0;
}

// real := decimal [('e'|'E') [sign] digit+]
bool is_real(std::string_view v) {
  std::size_t e = v.find_first_of("eE");
  if (e == std::string_view::npos) return is_decimal(v);
  if (!is_decimal(v.substr(0, e))) return false;
  std::string_view exp = v.substr(e + 1);
  if (!exp.empty() && (exp[0] == '+' || exp[0] == '-')) exp.remove_prefix(1);
  return !exp.empty() && exp.find_first_not_of("0123456789") == std::string_view::npos;
}

bool is_float_special(std::string_view v) { return v == "INF" || v == "-INF" || v == "NaN"; }

bool real_fits(std::string_view v, bool single) {
  std::string text(v);
  errno = 0;
  double d = std::strtod(text.c_str(), nullptr);
  if (errno == ERANGE && std::isinf(d)) return false;
  return !single || std::fabs(d) <= static_cast<double>(std::numeric_limits<float>::max());
}

bool is_name_start(unsigned char c, bool colon) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || (colon && c == ':') || c >= 0x80;
}
bool is_name_char(unsigned char c, bool colon) {
  return is_name_start(c, colon) || is_digit(static_cast<char>(c)) || c == '-' || c == '.';
}

// Name := NameStart NameChar* (non-ASCII characters are taken as name characters)
bool is_name(std::string_view v, bool colon) {
  if (v.empty() || !is_name_start(static_cast<unsigned char>(v[0]), colon)) return false;
  for (char c : v.substr(1)) {
    if (!is_name_char(static_cast<unsigned char>(c), colon)) return false;
  }
  return true;
}

bool is_nmtoken(std::string_view v) {
  if (v.empty()) return false;
  for (char c : v) {
    if (!is_name_char(static_cast<unsigned char>(c), true)) return false;
  }
  return true;
}

template <typename Check>
bool is_list(std::string_view v, Check check) {
  bool any = false;
  std::size_t i = 0;
  while (i < v.size()) {
    while (i < v.size() && is_xml_space(v[i])) ++i;
    std::size_t b = i;
    while (i < v.size() && !is_xml_space(v[i])) ++i;
    if (i > b) {
      if (!check(v.substr(b, i - b))) return false;
      any = true;
    }
  }
  return any;
}

bool digits(std::string_view v, std::size_t at, std::size_t n, int* out) {
  if (at + n > v.size()) return false;
  int value = 0;
  for (std::size_t k = 0; k < n; ++k) {
    if (!is_digit(v[at + k])) return false;
    value = value * 10 + (v[at + k] - '0');
  }
  *out = value;
  return true;
}

// date := ['-'] yyyy+ '-' mm '-' dd ; returns the length consumed or 0.
std::size_t parse_date(std::string_view v) {
  std::size_t i = 0;
  if (i < v.size() && v[i] == '-') ++i;
  std::size_t y0 = i;
  long year = 0;
  while (i < v.size() && is_digit(v[i])) {
    if (i - y0 < 9) year = year * 10 + (v[i] - '0');
    ++i;
  }
  if (i - y0 < 4 || i >= v.size() || v[i] != '-') return 0;
  int month = 0;
  int day = 0;
  if (!digits(v, i + 1, 2, &month) || i + 3 >= v.size() || v[i + 3] != '-' || !digits(v, i + 4, 2, &day)) return 0;
  if (month < 1 || month > 12 || day < 1) return 0;
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (day > kDays[month - 1] || (month == 2 && day == 29 && !leap)) return 0;
  return i + 6;
}

// time := hh ':' mm ':' ss ['.' digit+] ; returns the length consumed or 0.
std::size_t parse_time(std::string_view v) {
  int h = 0;
  int m = 0;
  int s = 0;
  if (!digits(v, 0, 2, &h) || v.size() < 8 || v[2] != ':' || !digits(v, 3, 2, &m) || v[5] != ':' ||
      !digits(v, 6, 2, &s))
    return 0;
  if (h > 24 || m > 59 || s > 59 || (h == 24 && (m != 0 || s != 0))) return 0;
  std::size_t i = 8;
  if (i < v.size() && v[i] == '.') {
    std::size_t f = ++i;
    while (i < v.size() && is_digit(v[i])) ++i;
    if (i == f) return 0;
  }
  return i;
}

// zone := 'Z' | ('+'|'-') hh ':' mm
bool is_zone(std::string_view v) {
  if (v == "Z") return true;
  int h = 0;
  int m = 0;
  return v.size() == 6 && (v[0] == '+' || v[0] == '-') && digits(v, 1, 2, &h) && v[3] == ':' &&
         digits(v, 4, 2, &m) && h <= 14 && m <= 59;
}

bool is_time(std::string_view v, bool zone) {
  std::size_t n = parse_time(v);
  return n != 0 && (n == v.size() || (zone && is_zone(v.substr(n))));
}

// dateTime := date ['T' time] [zone]
bool is_date_time(std::string_view v, bool zone) {
  std::size_t n = parse_date(v);
  if (n == 0) return false;
  if (n < v.size() && v[n] == 'T') {
    std::size_t t = parse_time(v.substr(n + 1));
    if (t == 0) return false;
    n += 1 + t;
  }
  return n == v.size() || (zone && is_zone(v.substr(n)));
}

// uuid := 8hex '-' 4hex '-' 4hex '-' 4hex '-' 12hex
bool is_uuid(std::string_view v) {
  static constexpr std::size_t kGroups[] = {8, 4, 4, 4, 12};
  std::size_t i = 0;
  for (std::size_t g = 0; g < 5; ++g) {
    if (g > 0) {
      if (i >= v.size() || v[i] != '-') return false;
      ++i;
    }
    for (std::size_t k = 0; k < kGroups[g]; ++k, ++i) {
      if (i >= v.size() || hex_value(v[i]) < 0) return false;
    }
  }
  return i == v.size();
}

bool is_single_char(std::string_view v) { return !v.empty() && count_code_points(v) == 1; }

}  // namespace

std::optional<DataType> datatype_from_name(std::string_view name) {
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i].size() != name.size()) continue;
    bool same = true;
    for (std::size_t k = 0; k < name.size() && same; ++k) same = lower(kNames[i][k]) == lower(name[k]);
    if (same) return static_cast<DataType>(i);
  }
  return std::nullopt;
}

std::string_view datatype_name(DataType type) { return kNames[static_cast<std::size_t>(type)]; }

bool is_valid_value(DataType type, std::string_view value) {
  if (type == DataType::String) return true;
  std::string_view v = trim_xml_space(value);
  constexpr auto kI64Min = std::numeric_limits<std::int64_t>::min();
  switch (type) {
    case DataType::String:
    case DataType::Uri:
      return true;
    case DataType::Id:
    case DataType::IdRef:
    case DataType::Entity:
      return is_name(v, false);
    case DataType::Notation:
      return is_name(v, true);
    case DataType::IdRefs:
    case DataType::Entities:
      return is_list(v, [](std::string_view t) { return is_name(t, false); });
    case DataType::NmToken:
    case DataType::Enumeration:
      return is_nmtoken(v);
    case DataType::NmTokens:
      return is_list(v, is_nmtoken);
    case DataType::BinHex:
      return is_bin_hex(v);
    case DataType::BinBase64:
      return decode_base64(value).has_value();
    case DataType::Boolean:
      return decode_boolean(value).has_value();
    case DataType::Char:
      return is_single_char(value) || is_single_char(v);
    case DataType::Date:
      return !v.empty() && parse_date(v) == v.size();
    case DataType::DateTime:
      return is_date_time(v, false);
    case DataType::DateTimeTz:
      return is_date_time(v, true);
    case DataType::Time:
      return is_time(v, false);
    case DataType::TimeTz:
      return is_time(v, true);
    case DataType::Fixed14_4: {
      std::size_t a = 0;
      std::size_t b = 0;
      return is_decimal(v, &a, &b) && a <= 14 && b <= 4;
    }
    case DataType::Number:
      return is_real(v) && real_fits(v, false);
    case DataType::Float:
    case DataType::R8:
      return is_float_special(v) || (is_real(v) && real_fits(v, false));
    case DataType::R4:
      return is_float_special(v) || (is_real(v) && real_fits(v, true));
    case DataType::I1:
      return is_integer(v, -128, 127);
    case DataType::I2:
      return is_integer(v, -32768, 32767);
    case DataType::I4:
    case DataType::Int:
      return is_integer(v, -2147483648LL, 2147483647ULL);
    case DataType::I8:
      return is_integer(v, kI64Min, static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()));
    case DataType::Ui1:
      return is_integer(v, 0, 255);
    case DataType::Ui2:
      return is_integer(v, 0, 65535);
    case DataType::Ui4:
      return is_integer(v, 0, 4294967295ULL);
    case DataType::Ui8:
      return is_integer(v, 0, std::numeric_limits<std::uint64_t>::max());
    case DataType::Uuid:
      return is_uuid(v);
  }
  return false;
}

std::optional<std::string> decode_bin_hex(std::string_view text) {
  std::string_view v = trim_xml_space(text);
  if (v.size() % 2 != 0) return std::nullopt;
  std::string out(v.size() / 2, '\0');
  if (!decode_bin_hex_into(v, out.data())) return std::nullopt;
  return out;
}

std::optional<std::string> decode_base64(std::string_view text) {
  std::string out;
  std::uint32_t acc = 0;
  int bits = 0;
  std::size_t symbols = 0;
  std::size_t padding = 0;
  for (char c : text) {
    if (is_xml_space(c)) continue;
    int value = -1;
    if (c >= 'A' && c <= 'Z') value = c - 'A';
    else if (c >= 'a' && c <= 'z') value = c - 'a' + 26;
    else if (c >= '0' && c <= '9') value = c - '0' + 52;
    else if (c == '+') value = 62;
    else if (c == '/') value = 63;
    else if (c == '=') {
      ++padding;
      ++symbols;
      continue;
    }
    if (value < 0 || padding > 0) return std::nullopt;
    ++symbols;
    acc = (acc << 6) | static_cast<std::uint32_t>(value);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out.push_back(static_cast<char>((acc >> bits) & 0xFF));
    }
  }
  if (symbols % 4 != 0 || padding > 2) return std::nullopt;
  return out;
}

std::optional<bool> decode_boolean(std::string_view text) {
  std::string_view v = trim_xml_space(text);
  if (v == "1") return true;
  if (v == "0") return false;
  return std::nullopt;
}

}  // namespace tap::xml
