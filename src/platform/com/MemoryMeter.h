#pragma once
// Bytes that one owner's values hold, against a budget. A script engine
// activates its meter on the thread while it runs: strings and arrays
// created meanwhile are charged to it, past the budget their creation
// fails with std::bad_alloc, and they credit it back when freed, on
// whatever thread and however long after. The figures are estimates
// (buffer sizes plus a fixed overhead), never below what is held.
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace tap::com {

class MemoryMeter {
 public:
  // The owner holds the meter; it lives on while charges are outstanding.
  static MemoryMeter* create(std::size_t budget);
  void disown() { credit(1); }

  void set_budget(std::size_t bytes) { budget_.store(bytes, std::memory_order_relaxed); }
  std::size_t budget() const { return budget_.load(std::memory_order_relaxed); }
  std::size_t used() const { return used_.load(std::memory_order_relaxed) - 1; }

  // Adds `bytes`; std::bad_alloc, and nothing added, past the budget.
  void charge(std::size_t bytes);
  void credit(std::size_t bytes) {
    if (used_.fetch_sub(bytes, std::memory_order_acq_rel) == bytes) delete this;
  }

  // The meter charged on this thread; null when none is.
  static MemoryMeter* active() { return active_; }

  // Makes `meter` (null: none) the active one for a scope.
  class Activation {
   public:
    explicit Activation(MemoryMeter* meter) : saved_(active_) { active_ = meter; }
    ~Activation() { active_ = saved_; }
    Activation(const Activation&) = delete;
    Activation& operator=(const Activation&) = delete;

   private:
    MemoryMeter* saved_;
  };

 private:
  explicit MemoryMeter(std::size_t budget) : budget_(budget) {}
  ~MemoryMeter() = default;

  // One byte stands for the owner's hold, so the count reaches zero only
  // once the owner and every charge are gone.
  std::atomic<std::size_t> used_{1};
  std::atomic<std::size_t> budget_;
  static constinit thread_local MemoryMeter* active_;
};

// Bytes charged to the active meter for as long as this lives (working
// storage of an operation, or memory an object keeps).
class MeterCharge {
 public:
  MeterCharge() = default;
  explicit MeterCharge(std::size_t bytes) { grow(bytes); }
  ~MeterCharge() { clear(); }
  MeterCharge(MeterCharge&& other) noexcept;
  MeterCharge& operator=(MeterCharge&& other) noexcept;
  MeterCharge(const MeterCharge&) = delete;
  MeterCharge& operator=(const MeterCharge&) = delete;

  // Charges `bytes` more: to the meter already charged, else to the
  // active one (if any). std::bad_alloc past the budget.
  void grow(std::size_t bytes);
  // Sets the charge to `bytes`, growing or crediting the difference.
  void resize(std::size_t bytes);
  void clear();
  std::size_t bytes() const { return bytes_; }

 private:
  MemoryMeter* meter_ = nullptr;
  std::size_t bytes_ = 0;
};

}  // namespace tap::com
