#pragma once
#include <atomic>
#include <cstdint>
#include <utility>

namespace tap::com {

// Base of the layer's objects: an atomic reference count, as the
// multi-threaded COM model has it. Objects start at count 0; Ref<T> owns.
class RefCounted {
 public:
  void add_ref() const { count_.fetch_add(1, std::memory_order_relaxed); }
  void release() const {
    if (count_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }
  std::uint32_t ref_count() const { return count_.load(std::memory_order_relaxed); }

 protected:
  RefCounted() = default;
  RefCounted(const RefCounted&) : count_(0) {}
  RefCounted& operator=(const RefCounted&) { return *this; }
  virtual ~RefCounted() = default;

 private:
  mutable std::atomic<std::uint32_t> count_{0};
};

// Intrusive owning pointer to a RefCounted object.
template <typename T>
class Ref {
 public:
  Ref() = default;
  Ref(std::nullptr_t) {}
  Ref(T* p) : p_(p) { if (p_) p_->add_ref(); }
  Ref(const Ref& o) : Ref(o.p_) {}
  Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  template <typename U>
  Ref(const Ref<U>& o) : Ref(static_cast<T*>(o.get())) {}
  ~Ref() { if (p_) p_->release(); }
  Ref& operator=(Ref o) noexcept { std::swap(p_, o.p_); return *this; }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }
  friend bool operator==(const Ref& a, const Ref& b) { return a.p_ == b.p_; }

 private:
  T* p_ = nullptr;
};

template <typename T, typename... Args>
Ref<T> make_ref(Args&&... args) {
  return Ref<T>(new T(std::forward<Args>(args)...));
}

}  // namespace tap::com
