#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "RunCoverage.h"
#include "RunPrinter.h"
#include "TraceReader.h"
#include "playfile/PlaybackLoader.h"

namespace srplay {

// What `srplay run` adds to each call: the entry that answered it (from the
// driver's trace), the nearest stimuli of a write that matched nothing, and
// the coverage of the played stream. Construct it before the driver is
// loaded, so that the driver finds the trace variable set.
class RunDiagnostics {
 public:
  explicit RunDiagnostics(const tap::RecordingLoad& recording);

  // After the open: learns the stream the session plays.
  void opened(CallRecord& record, std::optional<std::size_t> stream_hint);
  // After a write, read or DoCommand call; `written` and `flags` are the
  // write's.
  void observe(CallRecord& record, std::string_view written = {}, std::uint32_t flags = 0);
  void closed(CallRecord& record);

  // Calls the default handler answered, writes among them.
  std::size_t default_answers() const { return default_answers_; }
  std::size_t unmatched_writes() const { return unmatched_writes_; }
  // Null when the driver wrote no trace or the stream is unknown.
  const RunCoverage* coverage() const { return traced_ ? coverage_.get() : nullptr; }

 private:
  std::optional<TracedCall> next_traced();

  const tap::RecordingLoad& recording_;
  TraceReader trace_;
  const tap::RecordingLoad::Stream* stream_ = nullptr;
  std::unique_ptr<RunCoverage> coverage_;
  bool traced_ = false;
  std::size_t default_answers_ = 0;
  std::size_t unmatched_writes_ = 0;
};

}  // namespace srplay
