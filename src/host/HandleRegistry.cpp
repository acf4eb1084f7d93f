#include "host/HandleRegistry.h"

namespace tap::host {

void HandleRegistry::add(const void* handle) {
  std::lock_guard guard(lock_);
  live_.insert(handle);
}

void HandleRegistry::remove(const void* handle) {
  std::lock_guard guard(lock_);
  live_.erase(handle);
}

bool HandleRegistry::contains(const void* handle) const {
  if (!handle) return false;
  std::lock_guard guard(lock_);
  return live_.contains(handle);
}

// Never destroyed: hosts may be freed from the caller's static destructors.
HandleRegistry& live_hosts() {
  static auto* registry = new HandleRegistry;
  return *registry;
}

HandleRegistry& live_sessions() {
  static auto* registry = new HandleRegistry;
  return *registry;
}

}  // namespace tap::host
