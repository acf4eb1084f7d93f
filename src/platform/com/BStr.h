#pragma once
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/com/MemoryMeter.h"

namespace tap::com {

// An automation string: UTF-16, may hold zero characters, and a null
// string is distinct from an empty one (both have length 0). Immutable and
// cheap to copy: copies share one buffer. A buffer nobody else holds may
// grow in place (append_if_sole_owner), which no other holder can observe.
class BStr {
 public:
  BStr() = default;  // null
  BStr(std::u16string text) : text_(std::make_shared<Buffer>(std::move(text))) {}
  BStr(std::u16string_view text) : BStr(std::u16string(text)) {}
  BStr(const char16_t* text) {  // nullptr gives a null string
    if (text) text_ = std::make_shared<Buffer>(text);
  }

  bool is_null() const { return text_ == nullptr; }
  std::size_t size() const { return text_ ? text_->text.size() : 0; }
  bool empty() const { return size() == 0; }
  std::u16string_view view() const { return text_ ? std::u16string_view(text_->text) : std::u16string_view(); }
  const std::u16string& str() const;  // empty string for null
  char16_t operator[](std::size_t i) const { return text_->text[i]; }

  friend bool operator==(const BStr& a, const BStr& b) { return a.view() == b.view(); }

  bool shares_buffer_with(const BStr& other) const { return text_ && text_ == other.text_; }
  // Appends `parts` in place when this is the only holder of a non-null
  // buffer, growing it geometrically so that repeated appends cost linear
  // time in all; false, and nothing changed, otherwise.
  bool append_if_sole_owner(std::span<const BStr> parts);

 private:
  // The text and what it costs the meter active where it was made.
  struct Buffer {
    explicit Buffer(std::u16string t) : text(std::move(t)) { charge.grow(metered_size(text.capacity())); }
    static std::size_t metered_size(std::size_t capacity) { return 64 + 2 * capacity; }
    std::u16string text;
    MeterCharge charge;
  };
  std::shared_ptr<Buffer> text_;  // never changed while shared
};

}  // namespace tap::com
