#include "platform/regex/RegexCache.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace tap::regex {
namespace {

TEST(RegexCache, ReturnsTheSameCompiledPatternForTheSameKey) {
  RegexCache cache;
  const CompileResult a = cache.get(u"ab+", {});
  const CompileResult b = cache.get(u"ab+", {});
  ASSERT_TRUE(a);
  EXPECT_EQ(a.regex, b.regex);
  EXPECT_EQ(cache.size(), 1u);
}

TEST(RegexCache, KeysOnEverySwitch) {
  RegexCache cache;
  const auto plain = cache.get(u"^ab$", {}).regex;
  const auto ic = cache.get(u"^ab$", {.ignore_case = true}).regex;
  const auto ml = cache.get(u"^ab$", {.multiline = true}).regex;
  const auto gl = cache.get(u"^ab$", {.global = true}).regex;
  EXPECT_EQ(cache.size(), 4u);
  RegexMatch m;
  EXPECT_EQ(plain->search(u"AB", 0, m), RegexStatus::no_match);
  EXPECT_EQ(ic->search(u"AB", 0, m), RegexStatus::ok);
  EXPECT_EQ(plain->search(u"x\nab", 0, m), RegexStatus::no_match);
  EXPECT_EQ(ml->search(u"x\nab", 0, m), RegexStatus::ok);
  EXPECT_TRUE(gl->options().global);
}

TEST(RegexCache, KeepsCompileFailures) {
  RegexCache cache;
  const CompileResult a = cache.get(u"(a", {});
  const CompileResult b = cache.get(u"(a", {});
  EXPECT_FALSE(a);
  EXPECT_EQ(b.status, RegexStatus::expected_paren);
  EXPECT_EQ(cache.size(), 1u);
}

TEST(RegexCache, StaysBoundedWhenPatternsKeepComing) {
  RegexCache cache(8);
  for (int i = 0; i < 100; ++i) {
    const std::string digits = std::to_string(i);
    ASSERT_TRUE(cache.get(std::u16string(digits.begin(), digits.end()), {}));
    EXPECT_LE(cache.size(), 8u);
  }
  // An evicted pattern compiles again and still works.
  RegexMatch m;
  EXPECT_EQ(cache.get(u"5", {}).regex->search(u"x5", 0, m), RegexStatus::ok);
}

TEST(RegexCache, ServesManyThreadsAtOnce) {
  RegexCache cache(16);
  // Threads of a loaded machine can wait longer than a search's usual
  // time limit; what is tested here is the cache, not the clock.
  RegexLimits patient;
  patient.time_limit = std::chrono::seconds(60);
  std::vector<std::thread> threads;
  std::vector<int> matches(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 500; ++i) {
        const std::u16string pattern = u"(\\d)" + std::u16string(1, char16_t(u'a' + (i + t) % 20));
        const CompileResult r = cache.get(pattern, {});
        RegexMatch m;
        if (r && r.regex->search(u"1a2b3c4d5e6f7g8h9i0j1k2l3m4n5o6p7q8r9s0t", 0, m, patient) == RegexStatus::ok)
          ++matches[t];
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(matches[t], 500);
}

}  // namespace
}  // namespace tap::regex
