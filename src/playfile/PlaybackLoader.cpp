#include "playfile/PlaybackLoader.h"

#include <memory>
#include <stdexcept>

#include "model/SessionTables.h"
#include "platform/os/code_page.h"
#include "playfile/AddressMatch.h"
#include "playfile/ElementReader.h"
#include "playfile/InterfaceKind.h"
#include "playfile/PlaybackDocument.h"
#include "playfile/PlaybackMap.h"
#include "playfile/element_parsers.h"
#include "playfile/file_format.h"
#include "scripting/PlaybackServerData.h"

namespace tap {
namespace {

constexpr std::int32_t kNoPlaybackFile = 9, kBadFile = 24, kInternalError = 128;

[[noreturn]] void not_conforming() { throw std::runtime_error(file_format::kNotConforming); }

// The stream whose InstrumentAddress is the session's, searched from the
// next-stream index on; its position, or -1.
std::int32_t choose_stream(const std::vector<xml::Element>& streams, std::int32_t start,
                           const SessionAddress& address, std::string_view kind_name) {
  // A negative index names no stream: the load fails as on a missing node.
  if (start < 0) throw std::runtime_error("The next-stream index is out of range.");
  const auto n = static_cast<std::int32_t>(streams.size());
  for (std::int32_t i = 0; i < n; ++i) {
    const std::int32_t pos = static_cast<std::int32_t>((std::int64_t{start} + i) % n);
    xml::Node first = streams[static_cast<std::size_t>(pos)].first_child_node();
    if (!first || !first.is_element()) throw std::runtime_error("InstrumentAddress is missing.");
    xml::Element instrument = first.as_element();
    ElementReader reader(instrument);
    if (address_matches(address, kind_name,
                        [&](std::string_view name) { return reader.text(name); }))
      return pos;
  }
  return -1;
}

void build_tables(const xml::Element& stream, SessionTables& tables) {
  std::vector<xml::Element> pairs = stream.children(u"IOStimulusResponse");
  tables.pairs().reserve(pairs.size());
  for (const xml::Element& pair : pairs) tables.pairs().push_back(parse_pair(pair));
  std::vector<xml::Element> docommands = stream.children(u"DoCommand");
  tables.docommands().reserve(docommands.size());
  for (const xml::Element& entry : docommands) tables.docommands().push_back(parse_docommand(entry));
}

// ArrayInitValues := ArrayPair*   ArrayPair := @arrayKey (StringArrayValue | BinaryArrayValue)
// The first pair of a key wins.
void seed_value_store(const xml::Element& root,
                      const std::function<PlaybackServerData&()>& server_data) {
  xml::Element init = root.first_child(u"ArrayInitValues");
  if (!init) return;
  PlaybackServerData::ValueMap values;
  for (const xml::Element& pair : init.children(u"ArrayPair")) {
    std::string key = ElementReader(pair).required_text("arrayKey");
    com::Variant value;
    if (xml::Element text = pair.first_child(u"StringArrayValue")) {
      value = com::Variant(text.text());
    } else if (xml::Element binary = pair.first_child(u"BinaryArrayValue")) {
      value = com::Variant(os::ansi_to_wide(ElementReader::bytes(binary)));
    }
    values.emplace(std::move(key), std::move(value));
  }
  server_data().InitStoredValues(values);
}

std::int32_t load(const SessionAddress& address, SessionTables& tables,
                  const std::function<PlaybackServerData&()>& server_data,
                  bool& no_matching_stream) {
  PlaybackDocument document;

  PlaybackMap region;
  std::string path;
  std::uint32_t next_index = 0;
  if (!region.GetPlaybackFile(path, next_index)) return kNoPlaybackFile;

  if (!document.load(path)) not_conforming();
  xml::Element root = document.root();

  std::string_view kind_name = interface_file_name(region.GetInterfaceKind());
  std::int32_t status = kNoPlaybackFile;
  std::vector<xml::Element> streams = root.children(u"IORecordStream");
  if (!streams.empty()) {
    std::int32_t chosen =
        choose_stream(streams, static_cast<std::int32_t>(next_index), address, kind_name);
    if (chosen < 0) {
      no_matching_stream = true;
      return kNoPlaybackFile;
    }
    const auto n = static_cast<std::int32_t>(streams.size());
    region.SetNextStreamIndex(static_cast<std::uint32_t>((chosen + 1) % n));
    const xml::Element& stream = streams[static_cast<std::size_t>(chosen)];
    build_tables(stream, tables);
    status = ElementReader(stream).required_i4("returnValue");
  }
  seed_value_store(root, server_data);
  return status;
}

}  // namespace

LoadOutcome load_playback_file(const SessionAddress& address, SessionTables& tables,
                               const std::function<PlaybackServerData&()>& server_data) {
  LoadOutcome outcome;
  try {
    outcome.status = load(address, tables, server_data, outcome.no_matching_stream);
  } catch (const std::runtime_error&) {
    outcome.status = kBadFile;
    outcome.no_matching_stream = false;
  } catch (...) {
    outcome.status = kInternalError;
    outcome.no_matching_stream = false;
  }
  return outcome;
}

}  // namespace tap
