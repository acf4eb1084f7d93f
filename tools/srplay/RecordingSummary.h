#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/xml/XmlDocument.h"

namespace srplay {

namespace xml = tap::xml;

// What a playback file holds, read with the driver's own loader pieces so
// the counts say what the driver would use.
struct StreamSummary {
  std::string intfaddr, prim, sec, devprot, bracket, colon;
  std::string return_value;
  int line = 0;
  std::size_t pairs = 0;
  std::size_t unusable_pairs = 0;
  std::size_t docommands = 0;
  std::size_t unusable_docommands = 0;
  // Set when the driver would fail the whole load on this stream.
  std::optional<std::string> load_error;
};

struct RecordingSummary {
  xml::ParseResult result;  // code 0: the driver accepts the file
  std::vector<StreamSummary> streams;
  std::size_t initial_values = 0;
};

RecordingSummary summarize_recording(const std::string& path);

// The region's interface kind name for a file's intfaddr ("com" -> "asrl").
std::string region_kind_for(const std::string& intfaddr);

}  // namespace srplay
