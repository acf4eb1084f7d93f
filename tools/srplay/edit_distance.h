#pragma once
#include <cstddef>
#include <string_view>

namespace srplay {

// Levenshtein distance between two byte strings (insert, delete or replace
// one byte costs 1), computed only up to `limit`: any larger distance is
// returned as limit + 1. The work grows with the length times the limit,
// so long texts stay cheap to compare.
std::size_t edit_distance(std::string_view a, std::string_view b, std::size_t limit);

}  // namespace srplay
