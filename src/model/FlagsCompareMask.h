#pragma once
#include <cstdint>

namespace tap {

// Recorded and actual flags are both ANDed with this before they are
// compared: bits 0x002, 0x010, 0x020, 0x040, 0x100, 0x200 and 0x400 vary
// between otherwise identical calls and never take part.
inline constexpr std::uint32_t FlagsCompareMask = 0xFFFFF88Du;

inline bool flags_equal(std::uint32_t recorded, std::uint32_t actual) {
  return ((recorded ^ actual) & FlagsCompareMask) == 0;
}

}  // namespace tap
