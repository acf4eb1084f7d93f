#include "driver/SessionRegistry.h"

namespace tap {

SessionRegistry::Table::Table(std::size_t capacity)
    : mask(capacity - 1), slots(new std::atomic<std::uintptr_t>[capacity]) {
  for (std::size_t i = 0; i < capacity; ++i) slots[i].store(kEmpty, std::memory_order_relaxed);
}

SessionRegistry::SessionRegistry() : table_(nullptr) { rebuild(64); }

SessionRegistry::~SessionRegistry() = default;

std::size_t SessionRegistry::home(const Table& t, std::uintptr_t key) {
  // Objects are at least 16-byte aligned; Fibonacci hashing spreads the rest.
  return static_cast<std::size_t>(((key >> 4) * 0x9E3779B97F4A7C15ull) >> 20) & t.mask;
}

void SessionRegistry::rebuild(std::size_t capacity) {
  auto fresh = std::make_unique<Table>(capacity);
  if (Table* old = table_.load(std::memory_order_relaxed)) {
    for (std::size_t i = 0; i <= old->mask; ++i) {
      std::uintptr_t key = old->slots[i].load(std::memory_order_relaxed);
      if (key == kEmpty || key == kRemoved) continue;
      for (std::size_t j = home(*fresh, key);; j = (j + 1) & fresh->mask) {
        if (fresh->slots[j].load(std::memory_order_relaxed) == kEmpty) {
          fresh->slots[j].store(key, std::memory_order_relaxed);
          break;
        }
      }
    }
  }
  removed_ = 0;
  table_.store(fresh.get(), std::memory_order_release);
  tables_.push_back(std::move(fresh));
}

void SessionRegistry::add(const void* session) {
  const auto key = reinterpret_cast<std::uintptr_t>(session);
  std::lock_guard lock(writers_);
  Table* t = table_.load(std::memory_order_relaxed);
  // Keep at least half the slots empty so that probes stay short.
  if ((live_ + removed_ + 1) * 2 > t->mask + 1) {
    std::size_t capacity = 64;
    while (capacity < (live_ + 1) * 4) capacity *= 2;
    rebuild(capacity);
    t = table_.load(std::memory_order_relaxed);
  }
  for (std::size_t i = home(*t, key);; i = (i + 1) & t->mask) {
    std::uintptr_t slot = t->slots[i].load(std::memory_order_relaxed);
    if (slot == kEmpty || slot == kRemoved) {
      if (slot == kRemoved) --removed_;
      t->slots[i].store(key, std::memory_order_release);
      ++live_;
      return;
    }
  }
}

bool SessionRegistry::remove(const void* session) {
  const auto key = reinterpret_cast<std::uintptr_t>(session);
  std::lock_guard lock(writers_);
  Table* t = table_.load(std::memory_order_relaxed);
  for (std::size_t i = home(*t, key);; i = (i + 1) & t->mask) {
    std::uintptr_t slot = t->slots[i].load(std::memory_order_relaxed);
    if (slot == kEmpty) return false;
    if (slot == key) {
      t->slots[i].store(kRemoved, std::memory_order_release);
      --live_;
      ++removed_;
      return true;
    }
  }
}

bool SessionRegistry::contains(const void* session) const {
  const auto key = reinterpret_cast<std::uintptr_t>(session);
  if (key == kEmpty || key == kRemoved) return false;
  const Table* t = table_.load(std::memory_order_acquire);
  for (std::size_t i = home(*t, key);; i = (i + 1) & t->mask) {
    std::uintptr_t slot = t->slots[i].load(std::memory_order_acquire);
    if (slot == key) return true;
    if (slot == kEmpty) return false;
  }
}

SessionRegistry& Sessions() {
  static SessionRegistry registry;
  return registry;
}

}  // namespace tap
