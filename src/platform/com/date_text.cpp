#include "platform/com/date_text.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

namespace tap::com {

namespace {

constexpr std::int64_t floor_div(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Days since 1970-01-01 (H. Hinnant's civil calendar algorithm).
std::int64_t days_from_civil(std::int64_t y, std::int64_t m, std::int64_t d) {
  y -= m <= 2;
  std::int64_t era = floor_div(y, 400);
  std::int64_t yoe = y - era * 400;
  std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civil_from_days(std::int64_t z, int* y, int* m, int* d) {
  z += 719468;
  std::int64_t era = floor_div(z, 146097);
  std::int64_t doe = z - era * 146097;
  std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  std::int64_t mp = (5 * doy + 2) / 153;
  *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  *y = static_cast<int>(yoe + era * 400 + (*m <= 2));
}

constexpr std::int64_t epoch_offset = 25569;  // 12/30/1899 to 1/1/1970

int days_in_month(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : days[m - 1];
}

int current_year() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

char16_t lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool is_letter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Index 1-12 of a month name or an abbreviation of at least three letters.
int month_from_name(std::u16string_view word) {
  static const char16_t* const names[] = {u"january", u"february", u"march",     u"april",   u"may",      u"june",
                                          u"july",    u"august",   u"september", u"october", u"november", u"december"};
  if (word.size() < 3) return 0;
  for (int m = 0; m < 12; ++m) {
    std::u16string_view name = names[m];
    if (word.size() > name.size()) continue;
    bool match = true;
    for (std::size_t i = 0; i < word.size() && match; ++i) match = lower(word[i]) == name[i];
    if (match) return m + 1;
  }
  return 0;
}

bool is_weekday_name(std::u16string_view word) {
  static const char16_t* const names[] = {u"sunday", u"monday", u"tuesday", u"wednesday", u"thursday", u"friday", u"saturday"};
  if (word.size() < 3) return false;
  for (std::u16string_view name : names) {
    if (word.size() > name.size()) continue;
    bool match = true;
    for (std::size_t i = 0; i < word.size() && match; ++i) match = lower(word[i]) == name[i];
    if (match) return true;
  }
  return false;
}

struct Token {
  enum Kind { number, month, am, pm, colon, separator } kind;
  int value = 0;
  int digits = 0;
};

bool tokenize(std::u16string_view text, std::vector<Token>* out) {
  std::size_t i = 0;
  while (i < text.size()) {
    char16_t c = text[i];
    if (c >= u'0' && c <= u'9') {
      Token t{Token::number};
      while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        if (t.value < 100000) t.value = t.value * 10 + (text[i] - u'0');
        ++t.digits;
        ++i;
      }
      out->push_back(t);
    } else if (is_letter(c)) {
      std::size_t start = i;
      while (i < text.size() && is_letter(text[i])) ++i;
      std::u16string_view word = text.substr(start, i - start);
      std::u16string w;
      for (char16_t ch : word) w.push_back(lower(ch));
      if (w == u"am" || w == u"a") out->push_back({Token::am});
      else if (w == u"pm" || w == u"p") out->push_back({Token::pm});
      else if (int m = month_from_name(w)) out->push_back({Token::month, m});
      else if (!is_weekday_name(w)) return false;
    } else if (c == u':') {
      out->push_back({Token::colon});
      ++i;
    } else if (c == u'/' || c == u'-' || c == u'.' || c == u',') {
      out->push_back({Token::separator});
      ++i;
    } else if (c == u' ' || c == u'\t') {
      ++i;
    } else {
      return false;
    }
  }
  return true;
}

int expand_year(const Token& t) {
  if (t.digits <= 2) return t.value < 30 ? 2000 + t.value : 1900 + t.value;
  return t.value;
}

}  // namespace

std::int64_t serial_from_civil(std::int64_t year, std::int64_t month, std::int64_t day) {
  year += floor_div(month - 1, 12);
  month = month - 1 - floor_div(month - 1, 12) * 12 + 1;
  return days_from_civil(year, month, 1) + (day - 1) + epoch_offset;
}

bool split_date(double date, DateParts* out) {
  if (!(date >= min_date && date < max_date + 0.5 / 86400.0)) return false;
  double whole = std::trunc(date);
  auto day = static_cast<std::int64_t>(whole);
  auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(date - whole) * 86400.0));
  if (seconds >= 86400) {
    seconds -= 86400;
    ++day;
  }
  civil_from_days(day - epoch_offset, &out->year, &out->month, &out->day);
  out->hour = static_cast<int>(seconds / 3600);
  out->minute = static_cast<int>(seconds / 60 % 60);
  out->second = static_cast<int>(seconds % 60);
  return true;
}

bool join_date(const DateParts& p, double* out) {
  double day = static_cast<double>(serial_from_civil(p.year, p.month, p.day));
  double time = (p.hour * 3600.0 + p.minute * 60.0 + p.second) / 86400.0;
  double v = day < 0 ? day - time : day + time;
  if (!(v >= min_date && v <= max_date)) return false;
  *out = v;
  return true;
}

std::u16string format_date(double date) {
  DateParts p;
  if (!split_date(date, &p)) return u"";
  bool has_day = !(p.year == 1899 && p.month == 12 && p.day == 30);
  bool has_time = p.hour != 0 || p.minute != 0 || p.second != 0;
  char buf[64];
  int n = 0;
  if (has_day) n = std::snprintf(buf, sizeof buf, "%d/%d/%d", p.month, p.day, p.year);
  if (has_time || !has_day) {
    int h12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
    std::snprintf(buf + n, sizeof buf - static_cast<std::size_t>(n), "%s%d:%02d:%02d %s", has_day ? " " : "", h12,
                  p.minute, p.second, p.hour < 12 ? "AM" : "PM");
  }
  std::u16string text;
  for (const char* c = buf; *c; ++c) text.push_back(static_cast<char16_t>(*c));
  return text;
}

// date-time := (date | time | date time | time date)
// time := number ((":" number (":" number ("." number)?)?) ampm? | ampm)
// date := number sep number (sep number)? | month number (","? number)? | number month number?
HRESULT parse_date(std::u16string_view text, double* out) {
  std::vector<Token> tokens;
  if (!tokenize(text, &tokens) || tokens.empty()) return DISP_E_TYPEMISMATCH;

  // Take the time out first: the number before the first colon or before
  // AM/PM starts it.
  DateParts parts;
  bool have_time = false;
  std::vector<Token> rest;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    bool starts_time = t.kind == Token::number && i + 1 < tokens.size() &&
                       (tokens[i + 1].kind == Token::colon || tokens[i + 1].kind == Token::am || tokens[i + 1].kind == Token::pm);
    if (!starts_time || have_time) {
      if (t.kind == Token::colon || t.kind == Token::am || t.kind == Token::pm) return DISP_E_TYPEMISMATCH;
      rest.push_back(t);
      continue;
    }
    have_time = true;
    int fields[3] = {t.value, 0, 0};
    int count = 1;
    std::size_t j = i + 1;
    while (count < 3 && j + 1 < tokens.size() && tokens[j].kind == Token::colon && tokens[j + 1].kind == Token::number) {
      fields[count++] = tokens[j + 1].value;
      j += 2;
    }
    // Fractions of a second are dropped.
    if (count == 3 && j + 1 < tokens.size() && tokens[j].kind == Token::separator && tokens[j + 1].kind == Token::number) j += 2;
    if (j < tokens.size() && tokens[j].kind == Token::colon) return DISP_E_TYPEMISMATCH;
    int hour = fields[0];
    if (j < tokens.size() && (tokens[j].kind == Token::am || tokens[j].kind == Token::pm)) {
      if (hour > 12 && hour < 24 && tokens[j].kind == Token::pm) {
        // "13:00 PM" is read as 13:00.
      } else if (hour > 12) {
        return DISP_E_TYPEMISMATCH;
      } else if (tokens[j].kind == Token::pm) {
        if (hour < 12) hour += 12;
      } else if (hour == 12) {
        hour = 0;
      }
      ++j;
    }
    if (hour > 23 || fields[1] > 59 || fields[2] > 59) return DISP_E_TYPEMISMATCH;
    parts.hour = hour;
    parts.minute = fields[1];
    parts.second = fields[2];
    i = j - 1;
  }

  std::vector<Token> numbers;
  int month_name = 0;
  for (const Token& t : rest) {
    if (t.kind == Token::number) numbers.push_back(t);
    else if (t.kind == Token::month) {
      if (month_name) return DISP_E_TYPEMISMATCH;
      month_name = t.value;
    }
  }
  if (numbers.size() > 3 || (month_name && numbers.size() > 2)) return DISP_E_TYPEMISMATCH;

  int year = 0, month = 0, day = 0;
  if (month_name) {
    month = month_name;
    if (numbers.empty()) return DISP_E_TYPEMISMATCH;
    if (numbers.size() == 1) {
      if (numbers[0].value > 31 || numbers[0].digits > 2) {
        year = expand_year(numbers[0]);
        day = 1;
      } else {
        day = numbers[0].value;
        year = current_year();
      }
    } else if (numbers[0].value > 31 || numbers[0].digits > 2) {
      year = expand_year(numbers[0]);
      day = numbers[1].value;
    } else {
      day = numbers[0].value;
      year = expand_year(numbers[1]);
    }
  } else if (numbers.size() == 3) {
    if (numbers[0].digits > 2 || numbers[0].value > 31) {
      year = expand_year(numbers[0]);
      month = numbers[1].value;
      day = numbers[2].value;
    } else {
      month = numbers[0].value;
      day = numbers[1].value;
      year = expand_year(numbers[2]);
      if (month > 12 && day <= 12) std::swap(month, day);
    }
  } else if (numbers.size() == 2) {
    if (numbers[0].digits > 2 || numbers[0].value > 31) {
      year = expand_year(numbers[0]);
      month = numbers[1].value;
      day = 1;
    } else if (numbers[1].digits > 2 || numbers[1].value > 31) {
      month = numbers[0].value;
      year = expand_year(numbers[1]);
      day = 1;
    } else {
      month = numbers[0].value;
      day = numbers[1].value;
      year = current_year();
      if (month > 12 && day <= 12) std::swap(month, day);
    }
  } else if (numbers.size() == 1 || !have_time) {
    return DISP_E_TYPEMISMATCH;
  }

  if (year != 0 || month != 0) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > days_in_month(year, month))
      return DISP_E_TYPEMISMATCH;
    parts.year = year;
    parts.month = month;
    parts.day = day;
  }
  if (!join_date(parts, out)) return DISP_E_TYPEMISMATCH;
  return S_OK;
}

}  // namespace tap::com
