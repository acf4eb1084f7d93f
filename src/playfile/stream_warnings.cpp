#include "playfile/stream_warnings.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string_view>
#include <tuple>

#include "model/ExactStringStimulus.h"
#include "model/VBScriptStimulus.h"
#include "playfile/CoverIndex.h"
#include "playfile/InterfaceKind.h"

namespace tap {
namespace {

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The interface kinds as the file writes them, for messages.
std::string known_words() {
  std::string out;
#define TAP_KIND_WORD(id, region, code, file) out += std::string(out.empty() ? "" : ", ") + "\"" file "\"";
  TAP_INTERFACE_KINDS(TAP_KIND_WORD)
#undef TAP_KIND_WORD
  return out;
}

void check_interface_word(const RecordingLoad::Stream& s, std::vector<RecordingWarning>& out) {
  std::string word_lower = lower(s.intfaddr);
  std::string exact;  // the known word it differs from only in case
#define TAP_KIND_CHECK(id, region, code, file)  \
  if (s.intfaddr == file) return;               \
  if (word_lower == file) exact = file;
  TAP_INTERFACE_KINDS(TAP_KIND_CHECK)
#undef TAP_KIND_CHECK
  RecordingWarning w{"unknown-interface", "InstrumentAddress", s.address_line, {}, 0};
  const std::string quoted = "intfaddr \"" + s.intfaddr + "\"";
  if (!exact.empty())
    w.message = quoted + " never matches: the driver compares it exactly, case included; write \"" +
                exact + "\"";
  else if (word_lower == "asrl")
    w.message = quoted + " never matches: a serial interface is written \"com\"";
  else if (s.intfaddr.empty())
    w.message = "intfaddr is empty: only an open of an interface kind the driver does not know "
                "matches this stream";
  else
    w.message = quoted + " is none of " + known_words() + ": no open of a known interface matches this stream";
  out.push_back(std::move(w));
}

struct Match {
  bool ignoreFlags = true;
  std::uint32_t flags = 0;
};

// What decides which writes a stimulus accepts besides its flags, as a key
// under which identical stimuli meet; false for a stimulus of another kind.
// The key views the stimulus's own text.
using StimulusKey = std::tuple<int, std::string_view, bool>;
bool stimulus_key(const Stimulus* s, StimulusKey& key, Match& match) {
  if (auto* e = dynamic_cast<const ExactStringStimulus*>(s)) {
    key = {0, e->fields().bytes, false};
    match = {e->fields().ignoreFlags, e->fields().readWriteFlags};
    return true;
  }
  if (auto* v = dynamic_cast<const VBScriptStimulus*>(s)) {
    key = {1, v->fields().patternString, v->fields().ignoreCase};
    match = {v->fields().ignoreFlags, v->fields().readWriteFlags};
    return true;
  }
  return false;
}

std::string pair_words(const SRPair& pair, std::size_t index) {
  return pair.name().empty() ? "pair " + std::to_string(index) : "pair \"" + pair.name() + "\"";
}

// First match wins, so a later pair whose every write an earlier usable
// pair accepts never answers.
void check_shadowed_pairs(const RecordingLoad::Stream& s, std::vector<RecordingWarning>& out) {
  const auto& pairs = s.load.tables.pairs();
  CoverIndex<StimulusKey> earlier;
  for (std::size_t q = 0; q < pairs.size() && q < s.pair_lines.size(); ++q) {
    StimulusKey key;
    Match later;
    if (pairs[q].unusable() || !stimulus_key(pairs[q].stimulus(), key, later)) continue;
    const std::size_t p = earlier.covering(key, later.ignoreFlags, later.flags);
    earlier.add(key, later.ignoreFlags, later.flags, q);
    if (p == CoverIndex<StimulusKey>::none) continue;
    Match first;
    stimulus_key(pairs[p].stimulus(), key, first);
    out.push_back({"shadowed-pair", "IOStimulusResponse", s.pair_lines[q].pair,
                   pair_words(pairs[q], q) + " never answers: " + pair_words(pairs[p], p) +
                       " at line " + std::to_string(s.pair_lines[p].pair) + " has the same stimulus" +
                       (first.ignoreFlags ? "" : " and flags") + " and answers every such write first",
                   s.pair_lines[p].pair});
  }
}

std::string docommand_words(const DoCommandSR& entry, std::size_t index) {
  return entry.name.empty() ? "DoCommand " + std::to_string(index)
                            : "DoCommand \"" + entry.name + "\"";
}

// An entry matches a call whose data starts with its own, so an earlier
// entry of the same command whose data starts the later one's answers
// first. Each length of earlier data is one lookup.
void check_shadowed_docommands(const RecordingLoad::Stream& s, std::vector<RecordingWarning>& out) {
  using Key = std::pair<std::uint32_t, std::string_view>;
  const auto& entries = s.load.tables.docommands();
  CoverIndex<Key> earlier;
  std::map<std::uint32_t, std::set<std::size_t>> data_lengths;
  for (std::size_t q = 0; q < entries.size() && q < s.docommand_lines.size(); ++q) {
    const DoCommandSR& later = entries[q];
    if (later.unusable || later.responses.empty()) continue;
    const std::string_view data = later.data;
    std::set<std::size_t>& lengths = data_lengths[later.command];
    std::size_t p = CoverIndex<Key>::none;
    for (std::size_t length : lengths) {
      if (length > data.size()) break;
      p = std::min(p, earlier.covering({later.command, data.substr(0, length)}, later.ignoreFlags,
                                       later.doCmdFlags));
    }
    earlier.add({later.command, data}, later.ignoreFlags, later.doCmdFlags, q);
    lengths.insert(data.size());
    if (p == CoverIndex<Key>::none) continue;
    out.push_back({"shadowed-docommand", "DoCommand", s.docommand_lines[q],
                   docommand_words(later, q) + " never answers: " + docommand_words(entries[p], p) +
                       " at line " + std::to_string(s.docommand_lines[p]) + " has the same command and " +
                       (entries[p].data.size() == data.size() ? "data" : "leading data") +
                       " and answers every such call first",
                   s.docommand_lines[p]});
  }
}

// The write reports the recorded count as written, whatever the program
// wrote; more than the recorded bytes is a count no write of them gave.
void check_actual_written(const RecordingLoad::Stream& s, std::vector<RecordingWarning>& out) {
  const auto& pairs = s.load.tables.pairs();
  for (std::size_t p = 0; p < pairs.size() && p < s.pair_lines.size(); ++p) {
    if (pairs[p].unusable()) continue;
    auto* e = dynamic_cast<const ExactStringStimulus*>(pairs[p].stimulus());
    if (!e || e->fields().actualWritten <= e->fields().bytes.size()) continue;
    const auto written = static_cast<std::int32_t>(e->fields().actualWritten);
    const std::string size = std::to_string(e->fields().bytes.size());
    out.push_back({"actual-written", "Stimulus", s.pair_lines[p].stimulus,
                   pair_words(pairs[p], p) + ": its actualWritten " + std::to_string(written) +
                       (written < 0 ? " is negative: the write reports " +
                                          std::to_string(e->fields().actualWritten) +
                                          " bytes written of its " + size
                                    : " is more than the " + size +
                                          " bytes of its stimulus: the write reports bytes the "
                                          "program never wrote"),
                   0});
  }
}

// A read script's status starts at 128, and the response's returnValue
// is not read: a script that never names ReadReturnValue makes every read
// of its response fail, however right its text is.
void check_read_scripts_set_status(const RecordingLoad::Stream& s, std::vector<RecordingWarning>& out) {
  const auto& pairs = s.load.tables.pairs();
  for (std::size_t p = 0; p < pairs.size() && p < s.pair_lines.size(); ++p) {
    if (pairs[p].unusable()) continue;
    const auto& responses = pairs[p].responses();
    for (std::size_t r = 0; r < responses.size(); ++r) {
      if (responses[r].responseKind() != SRPair::Response::kScriptPending) continue;
      if (lower(responses[r].script()).find("readreturnvalue") != std::string::npos) continue;
      const std::int32_t line =
          r < s.pair_lines[p].responses.size() ? s.pair_lines[p].responses[r] : s.pair_lines[p].stimulus;
      out.push_back({"read-status", "Response", line,
                     pair_words(pairs[p], p) + ": its read script never sets PlaybackEngine.ReadReturnValue, "
                                               "so every read of it returns 128; set it to 0 for success",
                     0});
    }
  }
}

}  // namespace

std::vector<RecordingWarning> stream_warnings(const RecordingLoad::Stream& stream) {
  std::vector<RecordingWarning> out;
  if (stream.address_line == 0) return out;  // no address was read
  check_interface_word(stream, out);
  check_shadowed_pairs(stream, out);
  check_actual_written(stream, out);
  check_shadowed_docommands(stream, out);
  check_read_scripts_set_status(stream, out);
  return out;
}

}  // namespace tap
