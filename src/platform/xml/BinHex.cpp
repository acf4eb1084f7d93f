#include "platform/xml/BinHex.h"

#include <array>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tap::xml {

namespace {

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

#if defined(__SSE2__)
constexpr std::size_t kBlock = 32;

// Sixteen digits: 0xFF in `ok` for each that is hex, and in each 16-bit
// lane the byte its digit pair stands for (meaningless where not ok).
// Setting bit 5 folds 'A'-'F' onto 'a'-'f' and nothing else onto them.
[[gnu::always_inline]] inline __m128i decode16(__m128i x, __m128i* ok) {
  const __m128i zero = _mm_setzero_si128();
  __m128i d = _mm_sub_epi8(x, _mm_set1_epi8('0'));
  __m128i digit = _mm_cmpeq_epi8(_mm_subs_epu8(d, _mm_set1_epi8(9)), zero);
  __m128i l = _mm_sub_epi8(_mm_or_si128(x, _mm_set1_epi8(0x20)), _mm_set1_epi8('a'));
  __m128i letter = _mm_cmpeq_epi8(_mm_subs_epu8(l, _mm_set1_epi8(5)), zero);
  *ok = _mm_and_si128(*ok, _mm_or_si128(digit, letter));
  __m128i v = _mm_or_si128(_mm_and_si128(digit, d), _mm_andnot_si128(digit, _mm_add_epi8(l, _mm_set1_epi8(10))));
  __m128i high = _mm_slli_epi16(_mm_and_si128(v, _mm_set1_epi16(0x0F)), 4);
  __m128i low = _mm_and_si128(_mm_srli_epi16(v, 8), _mm_set1_epi16(0x0F));
  return _mm_or_si128(high, low);
}

__m128i load16(const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

bool all_ok(__m128i ok) { return _mm_movemask_epi8(ok) == 0xFFFF; }
#endif

}  // namespace

int hex_value(char c) { return kHexValues[static_cast<unsigned char>(c)]; }

bool is_bin_hex(std::string_view digits) {
  if (digits.size() % 2 != 0) return false;
  const char* p = digits.data();
  std::size_t n = digits.size();
  std::size_t i = 0;
#if defined(__SSE2__)
  // A bad digit is rare, so it is looked for once, at the end.
  __m128i ok = _mm_set1_epi8(-1);
  for (; i + kBlock <= n; i += kBlock) {
    decode16(load16(p + i), &ok);
    decode16(load16(p + i + 16), &ok);
  }
  if (!all_ok(ok)) return false;
#endif
  int tail = 0;
  for (; i < n; ++i) tail |= hex_value(p[i]);
  return tail >= 0;
}

bool decode_bin_hex_into(std::string_view digits, char* out) {
  const char* p = digits.data();
  std::size_t n = digits.size() & ~std::size_t{1};
  std::size_t i = 0;
#if defined(__SSE2__)
  __m128i ok = _mm_set1_epi8(-1);
  for (; i + kBlock <= n; i += kBlock, out += 16) {
    __m128i bytes = _mm_packus_epi16(decode16(load16(p + i), &ok), decode16(load16(p + i + 16), &ok));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes);
  }
  if (!all_ok(ok)) return false;
#endif
  int tail = 0;
  for (; i < n; i += 2) {
    int hi = hex_value(p[i]);
    int lo = hex_value(p[i + 1]);
    tail |= hi | lo;
    *out++ = static_cast<char>(((hi & 0x0F) << 4) | (lo & 0x0F));
  }
  return tail >= 0;
}

}  // namespace tap::xml
