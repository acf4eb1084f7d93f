#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace srplay {

// One call as the driver's trace tells it.
struct TracedCall {
  std::string call;  // "open", "write", "read", "docmd", "close", ...
  std::uint64_t session = 0;
  std::int32_t status = 0;
  enum class Answer { unknown, none, default_handler, pair, docommand } answer = Answer::unknown;
  std::int32_t entry = -1;     // the pair or DoCommand entry, by position in its list
  std::int32_t line = 0;       // its line in the file
  std::int32_t response = -1;
  std::int32_t stream_line = 0;  // open: the line of the stream the session plays
};

// Parses one trace line; nullopt for a line that is not one. Only the
// fields srplay uses are kept.
std::optional<TracedCall> parse_trace_line(const std::string& line, std::uint32_t* pid);

// Lets the driver tell srplay which pair or DoCommand entry answered each
// call, through the driver's own trace: srplay points the trace variable at
// a file of its own before it loads the driver (or keeps the user's, and
// reads only what this process appends), and reads each call's line right
// after the call returns.
class TraceReader {
 public:
  TraceReader();
  ~TraceReader();
  TraceReader(const TraceReader&) = delete;
  TraceReader& operator=(const TraceReader&) = delete;

  // The calls of this process traced since the last take, in order.
  std::vector<TracedCall> take();

 private:
  std::string path_;
  std::string own_dir_;  // removed at the end when srplay chose the file
  std::uint64_t offset_ = 0;
  std::string partial_;
  std::uint32_t pid_ = 0;
};

}  // namespace srplay
