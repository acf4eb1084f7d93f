#include "platform/com/MemoryMeter.h"

#include <new>
#include <utility>

namespace tap::com {

constinit thread_local MemoryMeter* MemoryMeter::active_ = nullptr;

MemoryMeter* MemoryMeter::create(std::size_t budget) { return new MemoryMeter(budget); }

void MemoryMeter::charge(std::size_t bytes) {
  // The owner's byte is not part of the budget.
  std::size_t after = used_.fetch_add(bytes, std::memory_order_relaxed) + bytes - 1;
  if (after > budget_.load(std::memory_order_relaxed)) {
    used_.fetch_sub(bytes, std::memory_order_relaxed);
    throw std::bad_alloc();
  }
}

MeterCharge::MeterCharge(MeterCharge&& other) noexcept
    : meter_(std::exchange(other.meter_, nullptr)), bytes_(std::exchange(other.bytes_, 0)) {}

MeterCharge& MeterCharge::operator=(MeterCharge&& other) noexcept {
  if (this != &other) {
    clear();
    meter_ = std::exchange(other.meter_, nullptr);
    bytes_ = std::exchange(other.bytes_, 0);
  }
  return *this;
}

void MeterCharge::grow(std::size_t bytes) {
  if (bytes == 0) return;
  MemoryMeter* m = meter_ ? meter_ : MemoryMeter::active();
  if (!m) return;
  m->charge(bytes);
  meter_ = m;
  bytes_ += bytes;
}

void MeterCharge::resize(std::size_t bytes) {
  if (bytes >= bytes_) {
    grow(bytes - bytes_);
    return;
  }
  if (!meter_) return;
  std::size_t less = bytes_ - bytes;
  MemoryMeter* m = meter_;
  bytes_ = bytes;
  if (bytes_ == 0) meter_ = nullptr;
  m->credit(less);
}

void MeterCharge::clear() {
  if (!meter_) return;
  MemoryMeter* m = std::exchange(meter_, nullptr);
  m->credit(std::exchange(bytes_, 0));
}

}  // namespace tap::com
