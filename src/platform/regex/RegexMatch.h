#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tap::regex {

// A span of the subject, in UTF-16 code units. A capture group that took
// no part in the match has `matched` false and an empty span.
struct RegexSpan {
  std::size_t index = 0;
  std::size_t length = 0;
  bool matched = false;

  std::u16string_view in(std::u16string_view subject) const {
    return matched ? subject.substr(index, length) : std::u16string_view();
  }
};

struct RegexMatch {
  std::size_t index = 0;
  std::size_t length = 0;
  std::vector<RegexSpan> groups;  // group 1 first

  std::size_t end() const { return index + length; }
  std::u16string_view value(std::u16string_view subject) const { return subject.substr(index, length); }
};

}  // namespace tap::regex
