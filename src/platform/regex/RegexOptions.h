#pragma once
#include <cstddef>

namespace tap::regex {

// The three switches of a VBScript regular expression. `global` does not
// change the compiled pattern; it is kept so that one cache key describes
// one RegExp configuration.
struct RegexOptions {
  bool ignore_case = false;
  bool global = false;
  bool multiline = false;

  friend bool operator==(const RegexOptions&, const RegexOptions&) = default;
  unsigned bits() const { return (ignore_case ? 1u : 0u) | (global ? 2u : 0u) | (multiline ? 4u : 0u); }
};

}  // namespace tap::regex
