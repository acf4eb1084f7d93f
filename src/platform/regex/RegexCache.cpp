#include "platform/regex/RegexCache.h"

namespace tap::regex {

RegexCache& RegexCache::shared() {
  static RegexCache cache;
  return cache;
}

CompileResult RegexCache::get(std::u16string_view pattern, RegexOptions options) {
  const Key probe{pattern, options.bits()};
  {
    std::lock_guard lock(mutex_);
    if (auto it = map_.find(probe); it != map_.end()) return it->second->result;
  }
  // Compile outside the lock: a long compile must not stall other lookups.
  auto entry = std::make_unique<Entry>(Entry{std::u16string(pattern), Regex::compile(pattern, options)});
  CompileResult result = entry->result;
  std::lock_guard lock(mutex_);
  // Patterns come from playback files and scripts, a bounded set in
  // practice; a script generating patterns endlessly only refills it.
  if (map_.size() >= capacity_) map_.clear();
  const Key key{entry->pattern, options.bits()};
  map_.try_emplace(key, std::move(entry));
  return result;
}

std::size_t RegexCache::size() const {
  std::lock_guard lock(mutex_);
  return map_.size();
}

void RegexCache::clear() {
  std::lock_guard lock(mutex_);
  map_.clear();
}

}  // namespace tap::regex
