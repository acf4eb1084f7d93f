#include "playfile/stream_warnings.h"

#include <cctype>
#include <map>
#include <tuple>

#include "model/ExactStringStimulus.h"
#include "model/FlagsCompareMask.h"
#include "model/VBScriptStimulus.h"
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

// Whether every call with flags that `later` accepts is accepted by
// `earlier` too.
bool flags_cover(bool earlier_ignores, std::uint32_t earlier_flags, bool later_ignores,
                 std::uint32_t later_flags) {
  return earlier_ignores || (!later_ignores && flags_equal(earlier_flags, later_flags));
}

struct Match {
  bool ignoreFlags;
  std::uint32_t flags;
};

// What decides which writes a stimulus accepts besides its flags, as a key
// under which identical stimuli meet; false for a stimulus of another kind.
bool stimulus_key(const Stimulus* s, std::tuple<int, std::string, bool>& key, Match& match) {
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
  std::map<std::tuple<int, std::string, bool>, std::vector<std::size_t>> seen;
  for (std::size_t q = 0; q < pairs.size() && q < s.pair_lines.size(); ++q) {
    if (pairs[q].unusable()) continue;
    std::tuple<int, std::string, bool> key;
    Match later{};
    if (!stimulus_key(pairs[q].stimulus(), key, later)) continue;
    std::vector<std::size_t>& earlier = seen[key];
    for (std::size_t p : earlier) {
      Match first{};
      stimulus_key(pairs[p].stimulus(), key, first);
      if (!flags_cover(first.ignoreFlags, first.flags, later.ignoreFlags, later.flags)) continue;
      out.push_back({"shadowed-pair", "IOStimulusResponse", s.pair_lines[q].pair,
                     pair_words(pairs[q], q) + " never answers: " + pair_words(pairs[p], p) +
                         " at line " + std::to_string(s.pair_lines[p].pair) +
                         " has the same stimulus" +
                         (first.ignoreFlags ? "" : " and flags") + " and answers every such write first",
                     s.pair_lines[p].pair});
      break;
    }
    earlier.push_back(q);
  }
}

std::string docommand_words(const DoCommandSR& entry, std::size_t index) {
  return entry.name.empty() ? "DoCommand " + std::to_string(index)
                            : "DoCommand \"" + entry.name + "\"";
}

// An entry matches a call whose data starts with its own, so an earlier
// entry of the same command whose data is a prefix answers first.
void check_shadowed_docommands(const RecordingLoad::Stream& s, std::vector<RecordingWarning>& out) {
  const auto& entries = s.load.tables.docommands();
  std::map<std::uint32_t, std::vector<std::size_t>> by_command;
  for (std::size_t q = 0; q < entries.size() && q < s.docommand_lines.size(); ++q) {
    const DoCommandSR& later = entries[q];
    if (later.unusable || later.responses.empty()) continue;
    std::vector<std::size_t>& earlier = by_command[later.command];
    for (std::size_t p : earlier) {
      const DoCommandSR& first = entries[p];
      if (later.data.compare(0, first.data.size(), first.data) != 0) continue;
      if (!flags_cover(first.ignoreFlags, first.doCmdFlags, later.ignoreFlags, later.doCmdFlags))
        continue;
      out.push_back({"shadowed-docommand", "DoCommand", s.docommand_lines[q],
                     docommand_words(later, q) + " never answers: " + docommand_words(first, p) +
                         " at line " + std::to_string(s.docommand_lines[p]) +
                         " has the same command and " +
                         (first.data.size() == later.data.size() ? "data" : "leading data") +
                         " and answers every such call first",
                     s.docommand_lines[p]});
      break;
    }
    earlier.push_back(q);
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

}  // namespace

std::vector<RecordingWarning> stream_warnings(const RecordingLoad::Stream& stream) {
  std::vector<RecordingWarning> out;
  if (stream.address_line == 0) return out;  // no address was read
  check_interface_word(stream, out);
  check_shadowed_pairs(stream, out);
  check_actual_written(stream, out);
  check_shadowed_docommands(stream, out);
  return out;
}

}  // namespace tap
