#include "platform/xml/BinHex.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace tap::xml {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
constexpr std::uint64_t kEvenBytes = 0x00FF00FF00FF00FFULL;

// 0x80 in each byte of `x` that lies in [lo, hi]; every byte of `x` must be
// below 0x80, so that no sum carries into the next byte.
constexpr std::uint64_t in_range(std::uint64_t x, unsigned lo, unsigned hi) {
  std::uint64_t at_least_lo = x + kOnes * (0x80 - lo);
  std::uint64_t above_hi = x + kOnes * (0x7F - hi);
  return at_least_lo & ~above_hi & kHigh;
}

// 0x80 in each byte of `x` that is not a hex digit.
constexpr std::uint64_t non_hex(std::uint64_t x) {
  if (x & kHigh) return kHigh;
  std::uint64_t hex = in_range(x, '0', '9') | in_range(x | (kOnes * 0x20), 'a', 'f');
  return ~hex & kHigh;
}

// Eight hex digits, first digit in the lowest byte, to four bytes: the low
// nibble of a digit is its value, plus 9 when bit 6 marks a letter.
constexpr std::uint32_t decode8(std::uint64_t x) {
  std::uint64_t v = (x & (kOnes * 0x0F)) + ((x >> 6) & kOnes) * 9;
  std::uint64_t w = ((v & kEvenBytes) << 4) | ((v >> 8) & kEvenBytes);
  w = (w | (w >> 8)) & 0x0000FFFF0000FFFFULL;
  w = (w | (w >> 16)) & 0xFFFFFFFFULL;
  return static_cast<std::uint32_t>(w);
}

static_assert(decode8(0x3736353433323130ULL) == 0x67452301U, "\"01234567\"");
static_assert(decode8(0x4645444366656463ULL) == 0xEFCDEFCDU, "\"cdefCDEF\"");
static_assert(non_hex(0x4645444366656463ULL) == 0 && non_hex(0x3736353433323130ULL) == 0);
static_assert(non_hex(0x2F3A40476067672FULL) == kHigh, "'/', ':', '@', 'G', '`', 'g'");

constexpr std::array<signed char, 256> kHexValues = [] {
  std::array<signed char, 256> t{};
  for (auto& v : t) v = -1;
  for (int c = 0; c < 10; ++c) t['0' + c] = static_cast<signed char>(c);
  for (int c = 0; c < 6; ++c) {
    t['a' + c] = static_cast<signed char>(10 + c);
    t['A' + c] = static_cast<signed char>(10 + c);
  }
  return t;
}();

std::uint64_t load8(const char* p) {
  std::uint64_t x;
  std::memcpy(&x, p, sizeof x);
  return x;
}

constexpr bool kLittleEndian = std::endian::native == std::endian::little;

}  // namespace

int hex_value(char c) { return kHexValues[static_cast<unsigned char>(c)]; }

bool is_bin_hex(std::string_view digits) {
  if (digits.size() % 2 != 0) return false;
  const char* p = digits.data();
  std::size_t n = digits.size();
  std::size_t i = 0;
  // Failures are rare, so they are collected and looked at once.
  std::uint64_t bad = 0;
  for (; i + 16 <= n; i += 16) bad |= non_hex(load8(p + i)) | non_hex(load8(p + i + 8));
  int tail = 0;
  for (; i < n; ++i) tail |= hex_value(p[i]);
  return bad == 0 && tail >= 0;
}

bool decode_bin_hex_into(std::string_view digits, char* out) {
  const char* p = digits.data();
  std::size_t n = digits.size() & ~std::size_t{1};
  std::size_t i = 0;
  std::uint64_t bad = 0;
  if constexpr (kLittleEndian) {
    for (; i + 16 <= n; i += 16, out += 8) {
      std::uint64_t a = load8(p + i);
      std::uint64_t b = load8(p + i + 8);
      bad |= non_hex(a) | non_hex(b);
      std::uint64_t bytes = decode8(a) | (std::uint64_t{decode8(b)} << 32);
      std::memcpy(out, &bytes, sizeof bytes);
    }
  }
  int tail = 0;
  for (; i < n; i += 2) {
    int hi = hex_value(p[i]);
    int lo = hex_value(p[i + 1]);
    tail |= hi | lo;
    *out++ = static_cast<char>(((hi & 0x0F) << 4) | (lo & 0x0F));
  }
  return bad == 0 && tail >= 0;
}

}  // namespace tap::xml
