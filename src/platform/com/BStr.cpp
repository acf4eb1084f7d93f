#include "platform/com/BStr.h"

#include <algorithm>
#include <atomic>
#include <new>

namespace tap::com {

const std::u16string& BStr::str() const {
  static const std::u16string empty;
  return text_ ? text_->text : empty;
}

bool BStr::append_if_sole_owner(std::span<const BStr> parts) {
  if (!text_ || text_.use_count() != 1) return false;
  // The last other holder may have let go on another thread: see its
  // reads of the buffer finished before writing to it. ThreadSanitizer
  // cannot model a fence; strings cross threads only through the worker's
  // request hand-off, which it does see.
#if !defined(__SANITIZE_THREAD__)
  std::atomic_thread_fence(std::memory_order_acquire);
#endif
  std::u16string& text = text_->text;
  std::size_t need = text.size();
  for (const BStr& p : parts) need += p.size();
  if (need > text.capacity()) {
    std::size_t grown = std::max(need, 2 * text.capacity());
    MeterCharge& charge = text_->charge;
    try {
      charge.resize(Buffer::metered_size(grown));
    } catch (const std::bad_alloc&) {
      // Near the budget the doubling may not fit where the text itself does.
      grown = need;
      charge.resize(Buffer::metered_size(grown));
    }
    text.reserve(grown);
  }
  for (const BStr& p : parts) text.append(p.view());
  return true;
}

}  // namespace tap::com
