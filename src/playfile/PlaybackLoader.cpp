#include "playfile/PlaybackLoader.h"

#include <stdexcept>

#include "platform/os/code_page.h"
#include "playfile/AddressMatch.h"
#include "playfile/ElementReader.h"
#include "playfile/InterfaceKind.h"
#include "playfile/PlaybackDocument.h"
#include "playfile/PlaybackMap.h"
#include "playfile/conversion_error.h"
#include "playfile/document_warnings.h"
#include "playfile/stream_warnings.h"
#include "playfile/element_parsers.h"

namespace tap {
namespace {

// A failure that ends the load with `status`, with the reason a tool shows.
struct load_failure : std::runtime_error {
  load_failure(std::int32_t s, Refusal r) : std::runtime_error(r.rule), status(s), refusal(std::move(r)) {}
  std::int32_t status;
  Refusal refusal;
};

Refusal open_refusal(std::string entry, std::int32_t line, std::string rule) {
  Refusal r;
  r.effect = Refusal::Effect::open_fails;
  r.entry = r.element = std::move(entry);
  r.entry_line = r.line = line;
  r.rule = std::move(rule);
  return r;
}

[[noreturn]] void fail(std::int32_t status, std::string entry, std::int32_t line, std::string rule) {
  throw load_failure(status, open_refusal(std::move(entry), line, std::move(rule)));
}

// A stream's first child node must be its InstrumentAddress element.
xml::Element instrument_address(const xml::Element& stream) {
  xml::Node first = stream.first_child_node();
  if (!first || !first.is_element())
    fail(VARNEL_BAD_PLAYBACK_FILE, "IORecordStream", stream.line(),
         "its first child is not an InstrumentAddress element");
  return first.as_element();
}

// The stream whose InstrumentAddress is the session's, searched from the
// next-stream index on; its position, or -1.
std::int32_t choose_stream(const std::vector<xml::Element>& streams, std::int32_t start,
                           const SessionAddress& address, std::string_view kind_name) {
  // A negative index names no stream: the load fails as on a missing node.
  if (start < 0)
    fail(VARNEL_BAD_PLAYBACK_FILE, "IORecordStreamFile", 0,
         "the host's next-stream index " + std::to_string(start) + " is negative");
  const auto n = static_cast<std::int32_t>(streams.size());
  for (std::int32_t i = 0; i < n; ++i) {
    const std::int32_t pos = static_cast<std::int32_t>((std::int64_t{start} + i) % n);
    xml::Element instrument = instrument_address(streams[static_cast<std::size_t>(pos)]);
    ElementReader reader(instrument);
    try {
      if (address_matches(address, kind_name,
                          [&](std::string_view name) { return reader.text(name); }))
        return pos;
    } catch (const conversion_error& e) {
      fail(VARNEL_BAD_PLAYBACK_FILE, "InstrumentAddress", instrument.line(), e.rule());
    }
  }
  return -1;
}

// IORecordStream := @returnValue InstrumentAddress (IOStimulusResponse | DoCommand)*
void read_stream(const xml::Element& stream, LoadResult& into) {
  into.lines.stream = stream.line();
  std::vector<xml::Element> pairs = stream.children(u"IOStimulusResponse");
  into.tables.pairs().reserve(pairs.size());
  into.lines.pairs.reserve(pairs.size());
  for (const xml::Element& pair : pairs) {
    into.tables.pairs().push_back(parse_pair(pair, into.refusals));
    into.lines.pairs.push_back(pair.line());
  }
  std::vector<xml::Element> docommands = stream.children(u"DoCommand");
  into.tables.docommands().reserve(docommands.size());
  into.lines.docommands.reserve(docommands.size());
  for (const xml::Element& entry : docommands) {
    into.lines.docommands.push_back(entry.line());
    try {
      into.tables.docommands().push_back(parse_docommand(entry, into.refusals));
    } catch (const conversion_error& e) {
      Refusal r = open_refusal("DoCommand", entry.line(),
                               e.has_detail() ? e.rule() : e.rule() + " (above 2147483647?)");
      r.entry_name = ElementReader(entry).text("name").value_or(std::string());
      throw load_failure(VARNEL_BAD_PLAYBACK_FILE, std::move(r));
    }
  }
  try {
    into.status = ElementReader(stream).required_i4("returnValue");
  } catch (const conversion_error& e) {
    fail(VARNEL_BAD_PLAYBACK_FILE, "IORecordStream", stream.line(), e.rule());
  }
}

// ArrayInitValues := ArrayPair*   ArrayPair := @arrayKey (StringArrayValue | BinaryArrayValue)
// Texts pass through the code page like every other text of the file.
InitialValues read_initial_values(const xml::Element& root) {
  InitialValues values;
  xml::Element init = root.first_child(u"ArrayInitValues");
  if (!init) return values;
  for (const xml::Element& pair : init.children(u"ArrayPair")) {
    std::string key;
    try {
      key = ElementReader(pair).required_text("arrayKey");
    } catch (const conversion_error& e) {
      fail(VARNEL_BAD_PLAYBACK_FILE, "ArrayPair", pair.line(), e.rule());
    }
    if (values.count(key)) continue;
    com::Variant value;
    if (xml::Element text = pair.first_child(u"StringArrayValue")) {
      value = com::Variant(os::ansi_to_wide(os::wide_to_ansi(text.text())));
    } else if (xml::Element binary = pair.first_child(u"BinaryArrayValue")) {
      value = com::Variant(os::ansi_to_wide(ElementReader::bytes(binary)));
    }
    values.emplace(std::move(key), std::move(value));
  }
  return values;
}

void check_document(const xml::ParseResult& parsed) {
  if (parsed) return;
  Refusal r = open_refusal("IORecordStreamFile", parsed.line, parsed.message);
  throw load_failure(VARNEL_BAD_PLAYBACK_FILE, std::move(r));
}

// Runs a load step by step; any failure becomes the status and its reason.
template <typename Body>
void guarded_load(LoadResult& result, Body body) {
  try {
    body();
  } catch (const load_failure& f) {
    result.status = f.status;
    result.no_matching_stream = false;
    result.refusals.push_back(f.refusal);
  } catch (const PlaybackMap::region_lost& e) {
    // The host shrank its region during the load: as if there were none.
    result.status = VARNEL_NO_PLAYBACK_FILE;
    result.no_matching_stream = false;
    result.refusals.push_back(open_refusal("IORecordStreamFile", 0, e.what()));
  } catch (const std::runtime_error& e) {
    result.status = VARNEL_BAD_PLAYBACK_FILE;
    result.no_matching_stream = false;
    result.refusals.push_back(open_refusal("IORecordStreamFile", 0, e.what()));
  } catch (...) {
    result.status = VARNEL_INTERNAL_ERROR;
    result.no_matching_stream = false;
    result.refusals.push_back(open_refusal("IORecordStreamFile", 0, "an internal error occurred"));
  }
}

}  // namespace

LoadResult load_playback_file(const SessionAddress& address) {
  LoadResult result;
  guarded_load(result, [&] {
    PlaybackMap region;
    std::string path;
    std::uint32_t next_index = 0;
    if (!region.GetPlaybackFile(path, next_index))
      fail(VARNEL_NO_PLAYBACK_FILE, "IORecordStreamFile", 0,
           "the host's region of this process names no playback file");

    PlaybackDocument document;
    check_document(document.load(path));
    xml::Element root = document.root();

    std::string_view kind_name = interface_file_name(region.GetInterfaceKind());
    std::vector<xml::Element> streams = root.children(u"IORecordStream");
    if (streams.empty()) {
      result.status = VARNEL_NO_PLAYBACK_FILE;
      result.refusals.push_back(open_refusal("IORecordStreamFile", root.line(),
                                             "the file has no IORecordStream"));
    } else {
      std::int32_t chosen =
          choose_stream(streams, static_cast<std::int32_t>(next_index), address, kind_name);
      if (chosen < 0) {
        result.status = VARNEL_NO_STREAM_FOR_ADDRESS;
        result.no_matching_stream = true;
        result.refusals.push_back(open_refusal("IORecordStreamFile", root.line(),
                                               "no IORecordStream has the session's address"));
        return;
      }
      const auto n = static_cast<std::int32_t>(streams.size());
      region.SetNextStreamIndex(static_cast<std::uint32_t>((chosen + 1) % n));
      read_stream(streams[static_cast<std::size_t>(chosen)], result);
    }
    result.initial_values = read_initial_values(root);
  });
  return result;
}

RecordingLoad load_recording(const std::string& path) {
  RecordingLoad recording;
  PlaybackDocument document;
  recording.result = document.load(path);
  if (!recording.result) return recording;
  xml::Element root = document.root();
  for (const xml::Element& stream : root.children(u"IORecordStream")) {
    RecordingLoad::Stream s;
    s.line = stream.line();
    guarded_load(s.load, [&] {
      const xml::Element address = instrument_address(stream);
      s.address_line = address.line();
      ElementReader a(address);
      s.intfaddr = a.text("intfaddr").value_or("");
      s.prim = a.text("prim").value_or("");
      s.sec = a.text("sec").value_or("");
      s.devprot = a.text("devprot").value_or("");
      s.bracket = a.text("bracket").value_or("");
      s.colon = a.text("colon").value_or("");
      read_stream(stream, s.load);
    });
    for (const xml::Element& pair : stream.children(u"IOStimulusResponse")) {
      RecordingLoad::Stream::PairLines& lines = s.pair_lines.emplace_back();
      lines.pair = pair.line();
      if (xml::Element stimulus = pair.first_child(u"Stimulus")) lines.stimulus = stimulus.line();
      for (const xml::Element& response : pair.children(u"Response"))
        lines.responses.push_back(response.line());
    }
    for (const xml::Element& entry : stream.children(u"DoCommand"))
      s.docommand_lines.push_back(entry.line());
    s.warnings = stream_warnings(s);
    document_warnings(stream, false, s.warnings);
    recording.streams.push_back(std::move(s));
  }
  document_warnings(root, true, recording.warnings);
  LoadResult values;
  guarded_load(values, [&] { recording.initial_values = read_initial_values(root); });
  recording.refusals = std::move(values.refusals);
  return recording;
}

}  // namespace tap
