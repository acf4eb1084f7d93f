#include "model/VBScriptStimulus.h"

#include "model/FlagsCompareMask.h"
#include "model/ScriptSession.h"

namespace tap {

std::string VBScriptStimulus::wrap_script(const std::string* body) {
  std::string script = "Sub ExecuteWrite(ByVal PlaybackEngine)\n";
  if (body) {
    script += *body;
    script += '\n';
  }
  script += "End Sub";
  return script;
}

std::unique_ptr<Stimulus> VBScriptStimulus::Clone() const {
  return std::make_unique<VBScriptStimulus>(f_);
}

bool VBScriptStimulus::Matches(ScriptSession* session, std::string_view written,
                               std::uint32_t flags) const {
  // Flags first: a write they refuse never reaches the pattern.
  if (!f_.ignoreFlags && !flags_equal(f_.readWriteFlags, flags)) return false;
  return session && session->MatchRegExp(written, f_.patternString, f_.ignoreCase);
}

std::int32_t VBScriptStimulus::Execute(ScriptSession* session, std::string_view written,
                                       std::uint32_t flags, std::int32_t timeout, std::int32_t&,
                                       std::uint32_t& actual) const {
  // The delay stays as the caller preset it: a scripted write never waits.
  ScriptSession::WriteResults results =
      session->RunWriteScript(f_.script, f_.scriptTimeout, flags, timeout, written);
  actual = results.actual_written;
  return results.return_value;
}

}  // namespace tap
