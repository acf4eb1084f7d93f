#include "RecordingSummary.h"

#include "playfile/PlaybackLoader.h"

namespace srplay {

RecordingSummary summarize_recording(const std::string& path) {
  RecordingSummary summary;
  tap::RecordingLoad recording = tap::load_recording(path);
  summary.result = recording.result;
  for (const tap::RecordingLoad::Stream& stream : recording.streams) {
    StreamSummary s;
    s.line = stream.line;
    s.intfaddr = stream.intfaddr;
    s.prim = stream.prim;
    s.sec = stream.sec;
    s.devprot = stream.devprot;
    s.bracket = stream.bracket;
    s.colon = stream.colon;
    s.return_value = std::to_string(stream.load.status);
    const tap::SessionTables& tables = stream.load.tables;
    s.pairs = tables.pairs().size();
    for (const tap::SRPair& pair : tables.pairs()) s.unusable_pairs += pair.unusable();
    s.docommands = tables.docommands().size();
    for (const tap::DoCommandSR& entry : tables.docommands()) s.unusable_docommands += entry.unusable;
    for (const tap::Refusal& r : stream.load.refusals)
      if (r.effect == tap::Refusal::Effect::open_fails)
        s.load_error = "line " + std::to_string(r.line) + ": " + r.element + ": " + r.rule;
    summary.streams.push_back(std::move(s));
  }
  summary.initial_values = recording.initial_values.size();
  return summary;
}

std::string region_kind_for(const std::string& intfaddr) {
  if (intfaddr == "com") return "asrl";
  if (intfaddr == "gpib" || intfaddr == "tcpip" || intfaddr == "usb") return intfaddr;
  return "none";
}

}  // namespace srplay
