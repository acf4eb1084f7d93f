#pragma once
#include <string>

#include "model/Stimulus.h"

namespace tap {

// Matches a write by a regular expression found anywhere in its text, then
// lets the script procedure ExecuteWrite decide the write's results. Both
// run on the script worker.
class VBScriptStimulus : public Stimulus {
 public:
  struct Fields {
    std::int32_t scriptTimeout = -1;
    std::uint32_t readWriteFlags = 0;
    bool ignoreCase = false;  // an element without ignoreCase matches case
    bool ignoreFlags = true;
    std::string patternString;
    std::string script;  // the whole procedure, "Sub ExecuteWrite(...)" to "End Sub"
  };

  static constexpr const char* kProcedure = "ExecuteWrite";
  // Wraps a recorded script body into the procedure the worker runs.
  static std::string wrap_script(const std::string* body);

  explicit VBScriptStimulus(Fields fields) : f_(std::move(fields)) {}

  std::unique_ptr<Stimulus> Clone() const override;
  bool Matches(ScriptSession* session, std::string_view written,
               std::uint32_t flags) const override;
  std::int32_t Execute(ScriptSession* session, std::string_view written, std::uint32_t flags,
                       std::int32_t timeout, std::int32_t& wait,
                       std::uint32_t& actual) const override;

  const Fields& fields() const { return f_; }

 private:
  Fields f_;
};

}  // namespace tap
