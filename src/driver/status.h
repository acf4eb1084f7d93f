#pragma once
#include <cstdint>

#include "taplayback/varnel.h"

namespace tap::status {

inline constexpr std::int32_t ok = VARNEL_OK;
inline constexpr std::int32_t no_docommand_match = VARNEL_NO_DOCOMMAND_MATCH;
inline constexpr std::int32_t no_playback_file = VARNEL_NO_PLAYBACK_FILE;
inline constexpr std::int32_t not_locked = VARNEL_NOT_LOCKED;
inline constexpr std::int32_t unknown_stimulus = VARNEL_UNKNOWN_STIMULUS;
inline constexpr std::int32_t no_stream_for_address = VARNEL_NO_STREAM_FOR_ADDRESS;
inline constexpr std::int32_t bad_playback_file = VARNEL_BAD_PLAYBACK_FILE;
inline constexpr std::int32_t internal_error = VARNEL_INTERNAL_ERROR;

}  // namespace tap::status
