#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

namespace tap {

class ScriptSession;

// The write side of a recorded exchange: decides whether an application
// write is the recorded one and produces that write's results.
class Stimulus {
 public:
  virtual ~Stimulus() = default;
  // A deep copy of the same concrete class.
  virtual std::unique_ptr<Stimulus> Clone() const = 0;
  virtual bool Matches(ScriptSession* session, std::string_view written,
                       std::uint32_t flags) const = 0;
  // Returns the write's status; sets the reported count and may set the
  // delay (which the caller presets to 0).
  virtual std::int32_t Execute(ScriptSession* session, std::string_view written,
                               std::uint32_t flags, std::int32_t timeout, std::int32_t& wait,
                               std::uint32_t& actual) const = 0;
  virtual const Stimulus& Self() const { return *this; }
};

}  // namespace tap
