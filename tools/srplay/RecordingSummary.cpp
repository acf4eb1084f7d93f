#include "RecordingSummary.h"

#include <exception>

#include "playfile/ElementReader.h"
#include "playfile/PlaybackDocument.h"
#include "playfile/element_parsers.h"

namespace srplay {

using tap::ElementReader;

RecordingSummary summarize_recording(const std::string& path) {
  RecordingSummary summary;
  tap::PlaybackDocument document;
  summary.result = document.load(path);
  if (summary.result.code != 0) return summary;
  xml::Element root = document.root();
  for (const xml::Element& stream : root.children(u"IORecordStream")) {
    StreamSummary s;
    s.line = stream.line();
    ElementReader attrs(stream);
    s.return_value = attrs.text("returnValue").value_or("");
    xml::Node first = stream.first_child_node();
    if (first && first.is_element()) {
      xml::Element a = first.as_element();
      ElementReader addr(a);
      s.intfaddr = addr.text("intfaddr").value_or("");
      s.prim = addr.text("prim").value_or("");
      s.sec = addr.text("sec").value_or("");
      s.devprot = addr.text("devprot").value_or("");
      s.bracket = addr.text("bracket").value_or("");
      s.colon = addr.text("colon").value_or("");
    }
    for (const xml::Element& pair : stream.children(u"IOStimulusResponse")) {
      ++s.pairs;
      if (tap::parse_pair(pair).unusable()) ++s.unusable_pairs;
    }
    for (const xml::Element& entry : stream.children(u"DoCommand")) {
      ++s.docommands;
      try {
        if (tap::parse_docommand(entry).unusable) ++s.unusable_docommands;
      } catch (const std::exception& e) {
        s.load_error = "line " + std::to_string(entry.line()) + ": DoCommand: " + e.what();
      }
    }
    summary.streams.push_back(std::move(s));
  }
  if (xml::Element init = root.first_child(u"ArrayInitValues"))
    summary.initial_values = init.children(u"ArrayPair").size();
  return summary;
}

std::string region_kind_for(const std::string& intfaddr) {
  if (intfaddr == "com") return "asrl";
  if (intfaddr == "gpib" || intfaddr == "tcpip" || intfaddr == "usb") return intfaddr;
  return "none";
}

}  // namespace srplay
