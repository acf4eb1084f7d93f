#include "host/SharedRegion.h"

#include "platform/os/SharedMemory.h"
#include "platform/os/process.h"

namespace tap::host {
namespace {

std::mutex& region_lock() {
  static auto* lock = new std::mutex;
  return *lock;
}

std::weak_ptr<SharedRegion>& current_region() {
  static auto* current = new std::weak_ptr<SharedRegion>;
  return *current;
}

// A host that is never freed (a program that just ends) would leave the
// region's name behind; at exit the name goes, whoever still holds it.
struct RemoveAtExit {
  ~RemoveAtExit() {
    std::lock_guard guard(region_lock());
    if (!current_region().expired())
      os::SharedMemory::remove(ProcessRegion::name_for(os::current_process_id()));
  }
} remove_at_exit;

}  // namespace

std::shared_ptr<SharedRegion> shared_process_region() {
  std::lock_guard guard(region_lock());
  if (auto region = current_region().lock()) return region;
  auto region = std::make_shared<SharedRegion>();
  current_region() = region;
  return region;
}

}  // namespace tap::host
