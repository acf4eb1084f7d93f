// The block-wise bin.hex check and decode against a digit-at-a-time
// reference, across the 32-digit block boundaries and with a bad digit in every
// position.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/xml/BinHex.h"

namespace tap::xml {
namespace {

std::optional<std::string> reference_decode(const std::string& digits) {
  auto value = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (digits.size() % 2 != 0) return std::nullopt;
  std::string out;
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    int hi = value(digits[i]);
    int lo = value(digits[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out.push_back(static_cast<char>(hi * 16 + lo));
  }
  return out;
}

std::optional<std::string> decode(const std::string& digits) {
  if (digits.size() % 2 != 0) return std::nullopt;
  std::string out(digits.size() / 2, '\0');
  if (!decode_bin_hex_into(digits, out.data())) return std::nullopt;
  return out;
}

// Every digit of both cases, in a varying order.
std::string digits_of_length(std::size_t n) {
  static constexpr char kDigits[] = "0123456789abcdefABCDEF";
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out.push_back(kDigits[(i * 7 + n) % 22]);
  return out;
}

TEST(BinHex, ValidTextDecodesLikeTheReference) {
  for (std::size_t n = 0; n <= 70; ++n) {
    std::string text = digits_of_length(n);
    EXPECT_EQ(is_bin_hex(text), n % 2 == 0) << n;
    EXPECT_EQ(decode(text), reference_decode(text)) << n;
  }
}

// The neighbours of each digit range, and bytes that are not ASCII.
TEST(BinHex, ABadDigitAnywhereIsRefused) {
  const char kBad[] = {'/', ':', '@', 'G', '`', 'g', ' ', '\0', '\x7F', '\x80', '\xB0', '\xC6', '\xFF'};
  for (std::size_t n : {2u, 16u, 30u, 32u, 34u, 64u, 66u}) {
    for (std::size_t at = 0; at < n; ++at) {
      for (char bad : kBad) {
        std::string text = digits_of_length(n);
        text[at] = bad;
        EXPECT_FALSE(is_bin_hex(text)) << n << " at " << at << " byte " << int(bad);
        EXPECT_EQ(decode(text), std::nullopt) << n << " at " << at << " byte " << int(bad);
      }
    }
  }
}

TEST(BinHex, EveryByteRoundTrips) {
  static constexpr char kUpper[] = "0123456789ABCDEF";
  std::string text;
  std::string expected;
  for (int b = 0; b < 256; ++b) {
    text += kUpper[b >> 4];
    text += kUpper[b & 15];
    expected.push_back(static_cast<char>(b));
  }
  EXPECT_EQ(decode(text), expected);
}

}  // namespace
}  // namespace tap::xml
