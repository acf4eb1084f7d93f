#include "platform/xml/MarkupScanner.h"

#include <algorithm>
#include <cstring>

#include "platform/xml/XmlText.h"

namespace tap::xml {
namespace {

constexpr std::size_t kMaxDeclaration = 512;

// What ends an element or attribute name.
bool ends_name(char c) { return is_xml_space(c) || c == '>' || c == '/'; }

// Upper-case letters and digits only: "ISO-8859-1", "iso_8859_1" and
// "ISO8859-1" are one name.
std::string encoding_key(std::string_view label) {
  std::string key;
  for (char c : label) {
    if (c >= 'a' && c <= 'z') key.push_back(static_cast<char>(c - 'a' + 'A'));
    else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) key.push_back(c);
  }
  return key;
}

bool digits(std::string_view s, std::size_t min, std::size_t max) {
  return s.size() >= min && s.size() <= max &&
         std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Encodings whose bytes below 0x80 are ASCII characters and nothing else:
// every byte of a multi-byte character is 0x80 or above, or (Shift_JIS,
// Big5, GBK) a trail byte above the markup characters.
bool ascii_compatible(std::string_view label) {
  static constexpr std::string_view kNames[] = {
      "UTF8",  "USASCII", "ASCII",  "LATIN1",   "SHIFTJIS", "SJIS",  "CP932",      "WINDOWS31J",
      "EUCJP", "EUCKR",   "GB2312", "GBK",      "CP936",    "GB18030", "BIG5",     "CP950",
      "KOI8R", "KOI8U",   "TIS620", "WINDOWS874"};
  std::string key = encoding_key(label);
  if (std::find(std::begin(kNames), std::end(kNames), key) != std::end(kNames)) return true;
  std::string_view k = key;
  if (k.substr(0, 7) == "ISO8859") return digits(k.substr(7), 1, 2);
  if (k.substr(0, 9) == "WINDOWS12") return digits(k.substr(9), 2, 2) && k[9] == '5';
  if (k.substr(0, 4) == "CP12") return digits(k.substr(4), 2, 2) && k[4] == '5';
  return false;
}

bool utf16_label(std::string_view label) {
  std::string key = encoding_key(label);
  return key == "UTF16" || key == "UTF16LE" || key == "UTF16BE";
}

}  // namespace

MarkupScanner::Verdict MarkupScanner::feed(std::string_view bytes) {
  if (state_ == State::done) return verdict_;
  if (width_ == Width::unknown) {
    head_.append(bytes);
    if (head_.size() < 4) return verdict_;
    std::string first = std::move(head_);
    head_.clear();
    detect(first);
    return verdict_;
  }
  if (width_ == Width::bytes) {
    scan(bytes.data(), bytes.data() + bytes.size());
    return verdict_;
  }
  units_.clear();
  std::size_t i = 0;
  auto unit = [&](unsigned char a, unsigned char b) {
    unsigned u = width_ == Width::utf16le ? a | (b << 8) : (a << 8) | b;
    units_.push_back(u < 0x80 ? static_cast<char>(u) : '\x80');
  };
  if (odd_byte_ >= 0 && !bytes.empty()) {
    unit(static_cast<unsigned char>(odd_byte_), static_cast<unsigned char>(bytes[0]));
    odd_byte_ = -1;
    i = 1;
  }
  for (; i + 1 < bytes.size(); i += 2)
    unit(static_cast<unsigned char>(bytes[i]), static_cast<unsigned char>(bytes[i + 1]));
  if (i < bytes.size()) odd_byte_ = static_cast<unsigned char>(bytes[i]);
  scan(units_.data(), units_.data() + units_.size());
  return verdict_;
}

MarkupScanner::Verdict MarkupScanner::finish() {
  if (width_ == Width::unknown && state_ != State::done) {
    std::string first = std::move(head_);
    head_.clear();
    detect(first);
  }
  return verdict_;
}

// The signatures libxml2 recognises in the first four bytes; without one
// the document is read as bytes until its declaration names an encoding.
void MarkupScanner::detect(std::string_view head) {
  auto starts = [&](std::string_view signature) { return head.substr(0, signature.size()) == signature; };
  using namespace std::string_view_literals;
  std::size_t skip = 0;
  if (starts("\x00\x00\x00\x3C"sv) || starts("\x3C\x00\x00\x00"sv) || starts("\x00\x00\x3C\x00"sv) ||
      starts("\x00\x3C\x00\x00"sv) || starts("\xFF\xFE\x00\x00"sv) || starts("\x00\x00\xFE\xFF"sv)) {
    encoding_ = "UCS-4";
    refuse(Verdict::unsupported_encoding);
    return;
  }
  if (starts("\x4C\x6F\xA7\x94"sv)) {
    encoding_ = "EBCDIC";
    refuse(Verdict::unsupported_encoding);
    return;
  }
  if (starts("\xFF\xFE"sv) || starts("\x3C\x00\x3F\x00"sv)) {
    width_ = Width::utf16le;
    encoding_ = "UTF-16";
    skip = starts("\xFF\xFE"sv) ? 2 : 0;
  } else if (starts("\xFE\xFF"sv) || starts("\x00\x3C\x00\x3F"sv)) {
    width_ = Width::utf16be;
    encoding_ = "UTF-16";
    skip = starts("\xFE\xFF"sv) ? 2 : 0;
  } else {
    width_ = Width::bytes;
    encoding_ = "UTF-8";
    skip = starts("\xEF\xBB\xBF"sv) ? 3 : 0;
  }
  feed(head.substr(skip));
}

const char* MarkupScanner::skip_to(const char* p, const char* end, char c) {
  auto* found = static_cast<const char*>(std::memchr(p, c, static_cast<std::size_t>(end - p)));
  const char* stop = found ? found : end;
  while (p < stop) {
    p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(stop - p)));
    if (!p) break;
    ++line_;
    ++p;
  }
  return stop;
}

void MarkupScanner::open_element(bool empty) {
  if (in_scope_ + declarations_ > bounds_.namespaces) return refuse(Verdict::too_many_namespaces);
  state_ = State::content;
  if (empty) return;
  if (declarations_ > 0) {
    scopes_.push_back({depth_, declarations_});
    in_scope_ += declarations_;
  }
  ++depth_;
}

void MarkupScanner::end_element() {
  if (depth_ > 0) --depth_;
  while (!scopes_.empty() && scopes_.back().depth >= depth_) {
    in_scope_ -= scopes_.back().declarations;
    scopes_.pop_back();
  }
}

// <?xml version="1.0" encoding="NAME" ...?>: the encoding the parser will
// switch to must be one the scan can follow.
void MarkupScanner::check_declaration() {
  std::string_view d = declaration_;
  if (d.size() < 4 || d.substr(0, 3) != "xml" || !is_xml_space(d[3])) return;
  std::size_t at = d.find("encoding");
  if (at == std::string_view::npos) return;
  std::size_t i = at + 8;
  while (i < d.size() && is_xml_space(d[i])) ++i;
  if (i >= d.size() || d[i] != '=') return;
  ++i;
  while (i < d.size() && is_xml_space(d[i])) ++i;
  if (i >= d.size() || (d[i] != '"' && d[i] != '\'')) return;
  std::size_t close = d.find(d[i], i + 1);
  if (close == std::string_view::npos) return;
  encoding_ = std::string(d.substr(i + 1, close - i - 1));
  bool followed = width_ == Width::bytes ? ascii_compatible(encoding_) : utf16_label(encoding_);
  if (!followed) refuse(Verdict::unsupported_encoding);
}

void MarkupScanner::scan(const char* p, const char* end) {
  static constexpr std::string_view kXmlns = "xmlns";
  static constexpr std::string_view kCdata = "[CDATA[";
  auto enter_text_state = [&](State s) {
    state_ = s;
    state_chars_ = 0;
  };
  while (p < end && state_ != State::done) {
    const char c = *p;
    switch (state_) {
      case State::content: {
        const char* lt = skip_to(p, end, '<');
        if (lt != p) at_start_ = false;
        if (lt == end) return;
        lt_at_start_ = at_start_;
        at_start_ = false;
        state_ = State::lt;
        p = lt + 1;
        continue;
      }
      case State::lt:
        if (c == '/') {
          state_ = State::end_tag;
        } else if (c == '!') {
          state_ = State::bang;
        } else if (c == '?') {
          declaration_.clear();
          enter_text_state(lt_at_start_ ? State::declaration : State::pi);
        } else {
          state_ = State::start_name;
          attributes_ = 0;
          declarations_ = 0;
        }
        break;
      case State::start_name: {
        while (p < end && !ends_name(*p)) ++p;
        if (p == end) return;
        const char d = *p++;
        if (d == '>') open_element(false);
        else if (d == '/') state_ = State::slash;
        else state_ = State::in_tag;
        if (d == '\n') ++line_;
        continue;
      }
      case State::in_tag:
        while (p < end && is_xml_space(*p)) line_ += *p++ == '\n';
        if (p == end) return;
        if (*p == '>') {
          open_element(false);
        } else if (*p == '/') {
          state_ = State::slash;
        } else {
          if (++attributes_ > bounds_.attributes) {
            refuse(Verdict::too_many_attributes);
            return;
          }
          name_length_ = 0;
          xmlns_name_ = true;
          state_ = State::attribute_name;
          continue;
        }
        ++p;
        continue;
      case State::attribute_name: {
        // Only the first characters can make it "xmlns" or "xmlns:prefix".
        while (p < end && name_length_ <= kXmlns.size() && !ends_name(*p) && *p != '=') {
          xmlns_name_ = xmlns_name_ && *p == (name_length_ < kXmlns.size() ? kXmlns[name_length_] : ':');
          ++name_length_;
          ++p;
        }
        while (p < end && !ends_name(*p) && *p != '=') ++p;
        if (p == end) return;
        if (xmlns_name_ && name_length_ >= kXmlns.size()) ++declarations_;
        const char d = *p;
        if (d == '=') {
          state_ = State::after_equals;
        } else if (is_xml_space(d)) {
          state_ = State::after_name;
          line_ += d == '\n';
        } else {
          state_ = State::in_tag;
          continue;
        }
        ++p;
        continue;
      }
      case State::after_name:
        while (p < end && is_xml_space(*p)) line_ += *p++ == '\n';
        if (p == end) return;
        if (*p == '=') {
          state_ = State::after_equals;
          ++p;
        } else {
          state_ = State::in_tag;
        }
        continue;
      case State::after_equals:
        while (p < end && is_xml_space(*p)) line_ += *p++ == '\n';
        if (p == end) return;
        if (*p == '"' || *p == '\'') {
          quote_ = *p++;
          state_ = State::value;
        } else {
          state_ = State::in_tag;
        }
        continue;
      case State::value: {
        const char* q = skip_to(p, end, quote_);
        if (q == end) return;
        state_ = State::in_tag;
        p = q + 1;
        continue;
      }
      case State::slash:
        if (c == '>') {
          open_element(true);
          break;
        }
        state_ = State::in_tag;
        continue;
      case State::end_tag: {
        const char* gt = skip_to(p, end, '>');
        if (gt == end) return;
        end_element();
        state_ = State::content;
        p = gt + 1;
        continue;
      }
      case State::bang:
        // Anything but a comment or CDATA here is a document type
        // declaration, which the parser refuses, or broken markup, at which
        // it stops: nothing after it is parsed.
        if (c == '-') {
          state_ = State::bang_dash;
        } else if (c == '[') {
          match_ = 1;
          state_ = State::cdata_open;
        } else {
          state_ = State::done;
        }
        break;
      case State::bang_dash:
        if (c == '-') enter_text_state(State::comment);
        else state_ = State::done;
        break;
      case State::cdata_open:
        if (c != kCdata[match_]) {
          state_ = State::done;
        } else if (++match_ == kCdata.size()) {
          enter_text_state(State::cdata);
        }
        break;
      case State::comment:
      case State::cdata:
      case State::pi:
      case State::declaration: {
        const char* gt = skip_to(p, end, '>');
        if (state_ == State::declaration) {
          declaration_.append(p, static_cast<std::size_t>(gt - p));
          if (declaration_.size() > kMaxDeclaration) {
            std::string_view d = declaration_;
            if (d.substr(0, 3) == "xml" && is_xml_space(d[3])) {
              encoding_ = "named by an XML declaration over " + std::to_string(kMaxDeclaration) + " characters";
              refuse(Verdict::unsupported_encoding);
              return;
            }
            state_ = State::pi;  // a processing instruction, not the declaration
          }
        }
        text_chars(p, gt);
        if (gt == end) return;
        if (text_state_closes()) {
          if (state_ == State::declaration) {
            declaration_.pop_back();  // its '?'
            check_declaration();
          }
          if (state_ != State::done) state_ = State::content;
        } else {
          if (state_ == State::declaration) declaration_.push_back('>');
          text_chars(gt, gt + 1);
        }
        p = gt + 1;
        continue;
      }
      case State::done:
        return;
    }
    if (c == '\n') ++line_;
    ++p;
  }
}

void MarkupScanner::text_chars(const char* p, const char* end) {
  const auto n = static_cast<std::size_t>(end - p);
  if (n >= 2) {
    previous_[0] = end[-2];
    previous_[1] = end[-1];
  } else if (n == 1) {
    previous_[0] = previous_[1];
    previous_[1] = end[-1];
  }
  state_chars_ = std::min<std::size_t>(state_chars_ + n, 2);
}

// "-->", "]]>" and "?>", counting only characters inside the construct:
// "<!-->" does not close a comment.
bool MarkupScanner::text_state_closes() const {
  switch (state_) {
    case State::comment: return state_chars_ >= 2 && previous_[0] == '-' && previous_[1] == '-';
    case State::cdata: return state_chars_ >= 2 && previous_[0] == ']' && previous_[1] == ']';
    default: return state_chars_ >= 1 && previous_[1] == '?';
  }
}

}  // namespace tap::xml
