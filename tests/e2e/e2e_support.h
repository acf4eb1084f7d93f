#pragma once
// Shared by the end-to-end tests: one region per test process (a process
// can create its region only once) and one loaded driver.
#include "host/DriverHost.h"
#include "host/ProcessRegion.h"

namespace tap::e2e {

inline host::ProcessRegion& process_region() {
  static host::ProcessRegion region;
  return region;
}

inline const host::DriverHost& driver_host() {
  static const host::DriverHost host(TAP_DRIVER_PATH);
  return host;
}

}  // namespace tap::e2e
