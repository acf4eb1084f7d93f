#pragma once
// The one region of this test process. Tests that need the process
// without a region drop it; the next use creates it again.
#include <memory>

#include "host/ProcessRegion.h"

namespace tap::testing_region {

inline std::unique_ptr<host::ProcessRegion>& holder() {
  static std::unique_ptr<host::ProcessRegion> region;
  return region;
}

inline host::ProcessRegion& region() {
  if (!holder()) holder() = std::make_unique<host::ProcessRegion>();
  return *holder();
}

inline void drop_region() { holder().reset(); }

}  // namespace tap::testing_region
