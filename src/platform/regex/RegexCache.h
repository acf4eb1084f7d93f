#pragma once
// Compiled patterns by (pattern, switches), shared by all threads, so that
// a pattern tried on every write is compiled once. Invalid patterns are
// cached too: their failure is as repeatable as a success.
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/regex/Regex.h"

namespace tap::regex {

class RegexCache {
 public:
  explicit RegexCache(std::size_t capacity = 512) : capacity_(capacity) {}

  // The process-wide cache.
  static RegexCache& shared();

  CompileResult get(std::u16string_view pattern, RegexOptions options);
  std::size_t size() const;
  void clear();

 private:
  struct Key {
    std::u16string_view pattern;  // views the pattern held by the entry
    unsigned options;
    friend bool operator==(const Key&, const Key&) = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const noexcept {
      return std::hash<std::u16string_view>{}(k.pattern) ^ (std::size_t(k.options) * 0x9E3779B97F4A7C15ull);
    }
  };
  struct Entry {
    std::u16string pattern;
    CompileResult result;
  };

  std::size_t capacity_;
  mutable std::mutex mutex_;
  // Entries are heap nodes so that the key's view stays valid on rehash.
  std::unordered_map<Key, std::unique_ptr<Entry>, KeyHash> map_;
};

}  // namespace tap::regex
