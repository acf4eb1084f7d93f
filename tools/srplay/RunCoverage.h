#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "TraceReader.h"
#include "playfile/PlaybackLoader.h"

namespace srplay {

// Which pairs and DoCommand entries of the played stream answered calls,
// as the driver's trace reported them.
class RunCoverage {
 public:
  struct Entry {
    std::int32_t line = 0;
    std::string name;
    bool unusable = false;
    std::size_t uses = 0;  // pairs: matched writes; DoCommand entries: answered calls
  };

  explicit RunCoverage(const tap::RecordingLoad::Stream& stream);

  void note(const TracedCall& call);

  const std::vector<Entry>& pairs() const { return pairs_; }
  const std::vector<Entry>& docommands() const { return docommands_; }

  // "coverage: ..." and one line per entry, used ones first.
  std::string text() const;
  // A JSON object: {"pairs":{"total":N,"used":N,"entries":[...]},"docommands":{...}}.
  std::string json() const;

 private:
  std::vector<Entry> pairs_;
  std::vector<Entry> docommands_;
};

}  // namespace srplay
