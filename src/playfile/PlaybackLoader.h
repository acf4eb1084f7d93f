#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/xml/XmlDocument.h"
#include "playfile/LoadResult.h"
#include "playfile/RecordingWarning.h"
#include "playfile/SessionAddress.h"

namespace tap {

// Loads the process's playback file for one session: finds it through the
// host's region, validates it, chooses the session's stream in turn and
// builds its tables and the store's initial values. Lets nothing escape.
LoadResult load_playback_file(const SessionAddress& address);

// Every stream of a file, each built as an open of its address would build
// it, with the warnings a tool gives about it, for tools that explain a
// recording.
struct RecordingLoad {
  struct Stream {
    std::int32_t line = 0;
    // The recorded InstrumentAddress attributes, as written.
    std::string intfaddr, prim, sec, devprot, bracket, colon;
    LoadResult load;  // status, tables and refusals of this stream
    // Where each pair of the tables stands in the file, to point users at
    // its elements.
    struct PairLines {
      std::int32_t pair = 0;
      std::int32_t stimulus = 0;
      std::vector<std::int32_t> responses;
    };
    std::vector<PairLines> pair_lines;
    std::int32_t address_line = 0;  // 0 when the stream has no address
    std::vector<std::int32_t> docommand_lines;
    std::vector<RecordingWarning> warnings;
  };
  xml::ParseResult result;  // code 0: the file is a playback file
  std::vector<Stream> streams;
  InitialValues initial_values;
  std::vector<Refusal> refusals;  // of the file as a whole
  std::vector<RecordingWarning> warnings;  // outside the streams
};
RecordingLoad load_recording(const std::string& path);

}  // namespace tap
