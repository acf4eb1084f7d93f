#pragma once
#include <vector>

#include "playfile/PlaybackLoader.h"
#include "playfile/RecordingWarning.h"

namespace tap {

// What the tables of one loaded stream show: an address no open of a known
// interface can match, pairs and DoCommand entries that an earlier one
// always answers first, and writes that report more bytes than they carry.
std::vector<RecordingWarning> stream_warnings(const RecordingLoad::Stream& stream);

}  // namespace tap
