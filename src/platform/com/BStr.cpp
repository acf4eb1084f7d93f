#include "platform/com/BStr.h"

#include <algorithm>
#include <atomic>

namespace tap::com {

const std::u16string& BStr::str() const {
  static const std::u16string empty;
  return text_ ? *text_ : empty;
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
  std::size_t need = text_->size();
  for (const BStr& p : parts) need += p.size();
  if (need > text_->capacity()) text_->reserve(std::max(need, 2 * text_->capacity()));
  for (const BStr& p : parts) text_->append(p.view());
  return true;
}

}  // namespace tap::com
