#pragma once
#include <cstdint>
#include <string>

namespace tap {

// The six values of an open that the address match compares. Absent texts
// count as empty. The interface address text takes no part: the interface
// kind comes from the host's region.
struct SessionAddress {
  std::string address;
  std::uint32_t primary = 0;
  std::uint32_t secondary = 0;
  std::uint32_t protocol = 0;
  std::string bracket;
  std::string colon;
};

}  // namespace tap
