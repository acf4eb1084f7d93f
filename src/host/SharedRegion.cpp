#include "host/SharedRegion.h"

namespace tap::host {

std::shared_ptr<SharedRegion> shared_process_region() {
  static std::mutex lock;
  static std::weak_ptr<SharedRegion> current;
  std::lock_guard guard(lock);
  if (auto region = current.lock()) return region;
  auto region = std::make_shared<SharedRegion>();
  current = region;
  return region;
}

}  // namespace tap::host
