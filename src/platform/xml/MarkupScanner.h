#pragma once
// A linear look over a document's bytes before the parser reads them.
// libxml2 checks an element's attributes for duplicates pair by pair and
// looks each prefix up through every namespace declaration in scope, so a
// megabyte of attributes on one element takes minutes to parse; the scan
// refuses such input first. It follows the markup the way the parser will
// (tags, quoted values, comments, CDATA, processing instructions), so for
// a well-formed document its counts are exact; a document on which it
// loses its way is one the parser stops at the first fatal error.
//
// Only encodings in which markup characters are single ASCII bytes (UTF-8
// and the ASCII-compatible code pages) or UTF-16 units can be followed; a
// document in any other encoding is refused.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tap::xml {

class MarkupScanner {
 public:
  struct Bounds {
    std::size_t attributes;  // per element, namespace declarations included
    std::size_t namespaces;  // declarations in scope at any element
  };
  enum class Verdict { ok, too_many_attributes, too_many_namespaces, unsupported_encoding };

  explicit MarkupScanner(Bounds bounds) : bounds_(bounds) {}

  // Scans the next bytes of the document, in order; returns the verdict so
  // far, which stays once it is not ok.
  Verdict feed(std::string_view bytes);
  // The end of the document: decides what a document shorter than its
  // encoding signature is.
  Verdict finish();

  Verdict verdict() const { return verdict_; }
  // The line the scan had reached when it refused.
  int line() const { return line_; }
  // The encoding the document declares, or the one its first bytes show.
  const std::string& encoding() const { return encoding_; }

 private:
  enum class Width { unknown, bytes, utf16le, utf16be };
  enum class State {
    content, lt, start_name, in_tag, attribute_name, after_name, after_equals, value, slash,
    end_tag, bang, bang_dash, cdata_open, cdata, comment, pi, declaration, done
  };

  void detect(std::string_view head);
  void scan(const char* p, const char* end);
  const char* skip_to(const char* p, const char* end, char c);
  void open_element(bool empty);
  void end_element();
  void check_declaration();
  // Comments, CDATA, processing instructions: the characters seen so far,
  // enough to recognise the end.
  void text_chars(const char* p, const char* end);
  bool text_state_closes() const;
  void refuse(Verdict v) {
    verdict_ = v;
    state_ = State::done;
  }

  Bounds bounds_;
  Verdict verdict_ = Verdict::ok;
  Width width_ = Width::unknown;
  std::string head_;      // the first bytes, until the encoding is known
  std::string units_;     // UTF-16 units as bytes (0x80 for any non-ASCII)
  int odd_byte_ = -1;     // a UTF-16 unit's first byte left from the last feed
  State state_ = State::content;
  bool at_start_ = true;  // nothing but a byte-order mark seen yet
  bool lt_at_start_ = false;
  int line_ = 1;
  char quote_ = 0;
  char previous_[2] = {0, 0};  // the last two characters of a text state
  std::size_t state_chars_ = 0;
  std::size_t match_ = 0;      // characters of a fixed word matched so far
  std::size_t name_length_ = 0;
  bool xmlns_name_ = false;
  std::size_t attributes_ = 0;
  std::size_t declarations_ = 0;
  std::string declaration_;  // the XML declaration's text
  // Open elements that declared namespaces: depth and count.
  struct Scope {
    std::size_t depth;
    std::size_t declarations;
  };
  std::vector<Scope> scopes_;
  std::size_t depth_ = 0;
  std::size_t in_scope_ = 0;
  std::string encoding_;
};

}  // namespace tap::xml
