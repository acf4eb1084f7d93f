#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tap {

// What a scripted stimulus needs of its session: the pattern match and the
// ExecuteWrite run, both carried out on the script worker against the
// session's scripting block. The driver supplies it, so the model knows
// neither the worker nor the block.
class ScriptSession {
 public:
  struct WriteResults {
    std::uint32_t actual_written = 0;
    std::int32_t return_value = 0;
  };

  virtual ~ScriptSession() = default;
  // True when `pattern` matches somewhere in `subject` (up to its first zero
  // byte); a match keeps its capture groups for the script that follows.
  virtual bool MatchRegExp(std::string_view subject, std::string_view pattern,
                           bool ignore_case) = 0;
  // Runs the procedure of `script` with the write's parameters and gives
  // back what the script left as the write's count and status.
  virtual WriteResults RunWriteScript(const std::string& script, std::int32_t script_timeout,
                                      std::uint32_t flags, std::int32_t timeout,
                                      std::string_view written) = 0;
};

}  // namespace tap
