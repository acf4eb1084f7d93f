#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "playfile/PlaybackLoader.h"

namespace srplay {

// A recorded stimulus that a write did not match, and why.
struct StimulusHint {
  std::size_t pair = 0;       // position in the stream's pair list
  std::int32_t line = 0;      // the Stimulus element's line
  bool scripted = false;
  std::string recorded;       // the recorded bytes, or a scripted stimulus's pattern
  bool ignore_case = false;   // of a scripted stimulus's pattern
  std::size_t distance = 0;   // edit distance to an exact stimulus, up to kDistanceLimit + 1
  // What differs, as keys: "case", "terminator", "flags", "edits",
  // "pattern" or "unusable"; `detail` says the same in words.
  std::vector<std::string> differences;
  std::string detail;
};

struct StimulusHints {
  std::vector<StimulusHint> exact;     // nearest first, at most kNearest
  std::vector<StimulusHint> scripted;  // in file order, at most kScriptedShown
  std::size_t scripted_not_shown = 0;
};

inline constexpr std::size_t kNearest = 3;
inline constexpr std::size_t kScriptedShown = 3;
inline constexpr std::size_t kDistanceLimit = 64;

// The stream's stimuli nearest to a write that matched none of them: exact
// stimuli by edit distance over the bytes (ties in file order), scripted
// ones listed with their patterns.
StimulusHints nearest_stimuli(const tap::RecordingLoad::Stream& stream, std::string_view written,
                              std::uint32_t flags);

}  // namespace srplay
