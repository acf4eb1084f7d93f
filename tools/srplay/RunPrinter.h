#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "NearestStimuli.h"
#include "TraceReader.h"

namespace srplay {

// What one driver call gave, for printing.
struct CallRecord {
  explicit CallRecord(const char* name) : call(name) {}
  const char* call;
  std::int32_t status = 0;
  std::optional<std::uint32_t> count;
  std::optional<std::int32_t> stop;
  std::optional<std::string> bytes;
  double elapsed_ms = 0;
  std::optional<TracedCall> traced;     // what the driver's trace said of it
  std::optional<StimulusHints> hints;   // an unmatched write's nearest stimuli
};

// Prints calls as text lines or JSON Lines, flushed as each call ends.
class RunPrinter {
 public:
  RunPrinter(bool json, std::size_t show) : json_(json), show_(show) {}

  void print(const CallRecord& r) const;
  void print_text(const std::string& text) const;

 private:
  void print_json(const CallRecord& r) const;
  void print_hints_text(const StimulusHints& hints) const;
  std::string shown(const std::string& bytes) const;

  bool json_;
  std::size_t show_;
};

}  // namespace srplay
