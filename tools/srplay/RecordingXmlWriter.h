#pragma once
#include <string>
#include <vector>

#include "ConversationText.h"

namespace srplay {

// A recording written from a conversation text, with the text line each
// of its lines came from, so that a refusal can point at the text.
struct RecordingXml {
  std::string text;
  std::vector<int> source_lines;  // [xml line - 1] -> text line, 0 for none

  int source_line(int xml_line) const {
    return xml_line >= 1 && static_cast<std::size_t>(xml_line) <= source_lines.size()
               ? source_lines[static_cast<std::size_t>(xml_line - 1)]
               : 0;
  }
};

RecordingXml write_recording_xml(const ConversationText& conversation);

}  // namespace srplay
