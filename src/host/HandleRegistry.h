#pragma once
#include <mutex>
#include <unordered_set>

namespace tap::host {

// The handles the C API has given out and not yet taken back, so that a
// stale or foreign pointer is answered with an error instead of followed.
class HandleRegistry {
 public:
  void add(const void* handle);
  void remove(const void* handle);
  bool contains(const void* handle) const;

 private:
  mutable std::mutex lock_;
  std::unordered_set<const void*> live_;
};

HandleRegistry& live_hosts();
HandleRegistry& live_sessions();

}  // namespace tap::host
