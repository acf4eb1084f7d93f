#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tap {

// Decimal text to a signed 32-bit integer: optional surrounding white
// space, an optional sign, digits. Out of range (such as a ui4 above
// 2147483647) does not convert.
std::optional<std::int32_t> parse_i4(std::string_view text);

// Why `text` does not convert by parse_i4, quoting it: out of range, not
// decimal, or no number at all.
std::string i4_problem(std::string_view text);

// A version such as "1.5": decimal text to a double.
std::optional<double> parse_version(std::string_view text);

}  // namespace tap
