#include "RunDiagnostics.h"

#include <cstring>

#include "taplayback/varnel.h"

namespace srplay {

RunDiagnostics::RunDiagnostics(const tap::RecordingLoad& recording) : recording_(recording) {}

std::optional<TracedCall> RunDiagnostics::next_traced() {
  // srplay makes one call at a time, so each call adds exactly its line.
  std::vector<TracedCall> calls = trace_.take();
  if (calls.empty()) return std::nullopt;
  traced_ = true;
  return std::move(calls.back());
}

void RunDiagnostics::opened(CallRecord& record, std::optional<std::size_t> stream_hint) {
  record.traced = next_traced();
  if (record.traced && record.traced->stream_line > 0) {
    for (const tap::RecordingLoad::Stream& s : recording_.streams)
      if (s.line == record.traced->stream_line) stream_ = &s;
  } else if (stream_hint && *stream_hint < recording_.streams.size()) {
    // A driver without the trace: the stream srplay asked for.
    stream_ = &recording_.streams[*stream_hint];
  }
  if (stream_) coverage_ = std::make_unique<RunCoverage>(*stream_);
}

void RunDiagnostics::observe(CallRecord& record, std::string_view written, std::uint32_t flags) {
  record.traced = next_traced();
  bool by_default = false;
  if (record.traced) {
    by_default = record.traced->answer == TracedCall::Answer::default_handler;
    if (coverage_) coverage_->note(*record.traced);
  } else {
    // Without the trace, the default handler's own statuses are the best
    // sign; a recorded return value of the same number reads the same.
    const bool docmd = std::strcmp(record.call, "docmd") == 0;
    by_default = record.status == (docmd ? VARNEL_NO_DOCOMMAND_MATCH : VARNEL_UNKNOWN_STIMULUS);
  }
  if (!by_default) return;
  ++default_answers_;
  if (std::strcmp(record.call, "write") != 0) return;
  ++unmatched_writes_;
  if (stream_) record.hints = nearest_stimuli(*stream_, written, flags);
}

void RunDiagnostics::closed(CallRecord& record) { record.traced = next_traced(); }

}  // namespace srplay
