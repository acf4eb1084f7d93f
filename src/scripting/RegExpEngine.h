#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tap {

// What the worker needs of the regular-expression object: first match
// only, VBScript syntax. Lives on the worker thread only.
class RegExpEngine {
 public:
  virtual ~RegExpEngine() = default;
  // The capture groups of the first match (a group that took no part is
  // empty), or nullopt when the pattern does not match. Throws
  // std::runtime_error on a bad pattern or an exhausted match limit.
  virtual std::optional<std::vector<std::u16string>> Execute(std::u16string_view subject,
                                                             std::u16string_view pattern,
                                                             bool ignore_case) = 0;
};

}  // namespace tap
