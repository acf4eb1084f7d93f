#include "model/ExactStringStimulus.h"

#include "model/FlagsCompareMask.h"

namespace tap {

std::unique_ptr<Stimulus> ExactStringStimulus::Clone() const {
  return std::make_unique<ExactStringStimulus>(f_);
}

bool ExactStringStimulus::Matches(ScriptSession*, std::string_view written,
                                  std::uint32_t flags) const {
  if (written != f_.bytes) return false;
  return f_.ignoreFlags || flags_equal(f_.readWriteFlags, flags);
}

std::int32_t ExactStringStimulus::Execute(ScriptSession*, std::string_view, std::uint32_t,
                                          std::int32_t, std::int32_t& wait,
                                          std::uint32_t& actual) const {
  // The recorded count, whatever the length of this write.
  wait = f_.waitTime;
  actual = f_.actualWritten;
  return f_.returnValue;
}

}  // namespace tap
