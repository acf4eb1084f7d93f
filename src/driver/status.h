#pragma once
#include <cstdint>

#include "taplayback/varnel_status.h"

namespace tap::status {

// tap::status::unknown_stimulus and the like, one per listed status.
#define TAP_STATUS_CONSTANT(constant, name) inline constexpr std::int32_t name = constant;
VARNEL_STATUS_LIST(TAP_STATUS_CONSTANT)
#undef TAP_STATUS_CONSTANT

}  // namespace tap::status
