#pragma once
#include <string>

#include "model/Stimulus.h"

namespace tap {

// Matches a write byte for byte, with the flags compared under
// FlagsCompareMask unless ignoreFlags is set.
class ExactStringStimulus : public Stimulus {
 public:
  struct Fields {
    std::uint32_t actualWritten = 0;
    std::int32_t waitTime = 0;  // an element without waitTime does not delay
    std::int32_t returnValue = 0;
    std::uint32_t readWriteFlags = 0;
    bool ignoreFlags = true;
    std::string bytes;
  };

  explicit ExactStringStimulus(Fields fields) : f_(std::move(fields)) {}

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
