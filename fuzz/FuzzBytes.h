#pragma once
// Reads decisions from a fuzz input; an exhausted input reads as zeros, so
// every input decodes to something.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tap::fuzz {

class FuzzBytes {
 public:
  FuzzBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return pos_ >= size_; }

  std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  bool flag() { return byte() & 1; }
  // A number in [0, n).
  unsigned below(unsigned n) { return n ? byte() % n : 0; }

  std::uint32_t u32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | byte();
    return v;
  }

  // A length byte bounded by `max`, then that many bytes (fewer at the end).
  std::string text(std::size_t max) {
    std::size_t n = below(static_cast<unsigned>(max) + 1);
    if (n > size_ - std::min(pos_, size_)) n = size_ - std::min(pos_, size_);
    std::string out(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace tap::fuzz
