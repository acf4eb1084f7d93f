#pragma once
// Outcomes of compiling and searching, with their English descriptions.
#include <cstdint>
#include <string_view>

namespace tap::regex {

// X(name, description)
#define TAP_REGEX_STATUSES(X)                                                   \
  X(ok, "No error")                                                             \
  X(no_match, "No match")                                                       \
  X(syntax, "Syntax error in regular expression")                               \
  X(unexpected_quantifier, "Unexpected quantifier")                             \
  X(expected_bracket, "Expected ']' in regular expression")                     \
  X(expected_paren, "Expected ')' in regular expression")                       \
  X(invalid_range, "Invalid range in character set")                            \
  X(match_limit, "Regular expression search exceeded its backtracking limit")   \
  X(depth_limit, "Regular expression search exceeded its depth limit")          \
  X(heap_limit, "Regular expression search exceeded its memory limit")          \
  X(time_limit, "Regular expression search exceeded its time limit")            \
  X(internal, "Regular expression search failed")

enum class RegexStatus : std::uint8_t {
#define TAP_REGEX_STATUS_ENUM(name, text) name,
  TAP_REGEX_STATUSES(TAP_REGEX_STATUS_ENUM)
#undef TAP_REGEX_STATUS_ENUM
};

std::string_view regex_status_text(RegexStatus status);

// A compile-time status: the pattern itself is wrong.
constexpr bool is_pattern_error(RegexStatus s) {
  return s >= RegexStatus::syntax && s <= RegexStatus::invalid_range;
}

}  // namespace tap::regex
