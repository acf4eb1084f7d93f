#include "edit_distance.h"

#include <algorithm>
#include <vector>

namespace srplay {

std::size_t edit_distance(std::string_view a, std::string_view b, std::size_t limit) {
  // Common ends cost nothing and are usually most of a near miss.
  while (!a.empty() && !b.empty() && a.front() == b.front()) {
    a.remove_prefix(1);
    b.remove_prefix(1);
  }
  while (!a.empty() && !b.empty() && a.back() == b.back()) {
    a.remove_suffix(1);
    b.remove_suffix(1);
  }
  if (a.size() > b.size()) std::swap(a, b);
  const std::size_t n = a.size(), m = b.size();
  if (m - n > limit) return limit + 1;
  if (n == 0) return m;

  // Only cells within `limit` of the diagonal can stay within the limit.
  const std::size_t over = limit + 1;
  std::vector<std::size_t> prev(m + 1, over), row(m + 1, over);
  for (std::size_t j = 0; j <= std::min(m, limit); ++j) prev[j] = j;
  for (std::size_t i = 1; i <= n; ++i) {
    const std::size_t lo = i > limit ? i - limit : 1;
    const std::size_t hi = std::min(m, i + limit);
    // The buffer holds an older row: reset the cells left of the band
    // that this row reads.
    row[0] = i <= limit ? i : over;
    if (lo > 1) row[lo - 1] = over;
    std::size_t best = row[0];
    for (std::size_t j = lo; j <= hi; ++j) {
      const std::size_t replace = prev[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      const std::size_t cost = std::min({replace, prev[j] + 1, row[j - 1] + 1});
      row[j] = std::min(cost, over);
      best = std::min(best, row[j]);
    }
    if (best > limit) return over;
    std::swap(prev, row);
  }
  return std::min(prev[m], over);
}

}  // namespace srplay
