#include "NearestStimuli.h"

#include <algorithm>
#include <cstdio>

#include "edit_distance.h"
#include "escape_text.h"
#include "model/ExactStringStimulus.h"
#include "model/FlagsCompareMask.h"
#include "model/VBScriptStimulus.h"

namespace srplay {
namespace {

bool same_ignoring_case(std::string_view a, std::string_view b) {
  auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
           return lower(static_cast<unsigned char>(x)) == lower(static_cast<unsigned char>(y));
         });
}

// The trailing run of line-end bytes, which instruments and programs
// disagree about most often.
std::size_t terminator_start(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && (text[end - 1] == '\n' || text[end - 1] == '\r')) --end;
  return end;
}

std::string quoted(std::string_view bytes) { return "\"" + escape(bytes) + "\""; }

std::string hex(std::uint32_t value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%X", value);
  return buf;
}

void add(StimulusHint& hint, std::string key, const std::string& words) {
  hint.differences.push_back(std::move(key));
  if (!hint.detail.empty()) hint.detail += "; ";
  hint.detail += words;
}

void describe_flags(StimulusHint& hint, std::uint32_t recorded, std::uint32_t written) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "0x%08X", tap::FlagsCompareMask);
  add(hint, "flags",
      "flags " + hex(written) + " where the recording has " + hex(recorded) + " (compared under " +
          buf + ", they differ in " + hex((recorded ^ written) & tap::FlagsCompareMask) + ")");
}

// Why a pair the loader kept never matches, in the loader's words.
std::string unusable_reason(const tap::RecordingLoad::Stream& stream, std::int32_t pair_line) {
  for (const tap::Refusal& r : stream.load.refusals)
    if (r.entry_line == pair_line && r.effect == tap::Refusal::Effect::never_matches)
      return "the pair never matches: " + r.rule;
  return "the pair never matches (srplay check says why)";
}

void describe_bytes(StimulusHint& hint, std::string_view written) {
  const std::string_view recorded = hint.recorded;
  if (written == recorded) return;
  const std::size_t wt = terminator_start(written), rt = terminator_start(recorded);
  const std::string_view wcore = written.substr(0, wt), rcore = recorded.substr(0, rt);
  const std::string_view wend = written.substr(wt), rend = recorded.substr(rt);
  if (wcore != rcore && !same_ignoring_case(wcore, rcore)) {
    add(hint, "edits",
        hint.distance > kDistanceLimit
            ? "more than " + std::to_string(kDistanceLimit) + " edits apart"
            : "edit distance " + std::to_string(hint.distance));
    return;
  }
  if (wcore != rcore) add(hint, "case", wend == rend ? "case only" : "case");
  if (wend == rend) return;
  if (wend.empty())
    add(hint, "terminator", "terminator: the write lacks the recorded " + quoted(rend));
  else if (rend.empty())
    add(hint, "terminator", "terminator: the write ends with " + quoted(wend) +
                                ", which the recording does not have");
  else
    add(hint, "terminator", "terminator: the write ends with " + quoted(wend) +
                                " where the recording has " + quoted(rend));
}

}  // namespace

StimulusHints nearest_stimuli(const tap::RecordingLoad::Stream& stream, std::string_view written,
                              std::uint32_t flags) {
  StimulusHints hints;
  const std::vector<tap::SRPair>& pairs = stream.load.tables.pairs();
  auto stimulus_line = [&](std::size_t i) {
    return i < stream.pair_lines.size() ? stream.pair_lines[i].stimulus : 0;
  };
  auto pair_line = [&](std::size_t i) {
    return i < stream.pair_lines.size() ? stream.pair_lines[i].pair : 0;
  };
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const tap::Stimulus* stimulus = pairs[i].stimulus();
    if (const auto* exact = dynamic_cast<const tap::ExactStringStimulus*>(stimulus)) {
      // Once three are kept, only a nearer one can enter.
      std::size_t limit = kDistanceLimit;
      if (hints.exact.size() == kNearest) limit = std::min(limit, hints.exact.back().distance);
      const std::size_t d = edit_distance(written, exact->fields().bytes, limit);
      if (hints.exact.size() == kNearest && d >= hints.exact.back().distance) continue;
      StimulusHint hint;
      hint.pair = i;
      hint.line = stimulus_line(i);
      hint.recorded = exact->fields().bytes;
      hint.distance = d;
      auto at = std::upper_bound(hints.exact.begin(), hints.exact.end(), d,
                                 [](std::size_t v, const StimulusHint& h) { return v < h.distance; });
      hints.exact.insert(at, std::move(hint));
      if (hints.exact.size() > kNearest) hints.exact.pop_back();
    } else if (const auto* script = dynamic_cast<const tap::VBScriptStimulus*>(stimulus)) {
      if (hints.scripted.size() == kScriptedShown) {
        ++hints.scripted_not_shown;
        continue;
      }
      StimulusHint hint;
      hint.pair = i;
      hint.line = stimulus_line(i);
      hint.scripted = true;
      hint.recorded = script->fields().patternString;
      hint.ignore_case = script->fields().ignoreCase;
      if (pairs[i].unusable())
        add(hint, "unusable", unusable_reason(stream, pair_line(i)));
      else if (!script->fields().ignoreFlags && !tap::flags_equal(script->fields().readWriteFlags, flags))
        describe_flags(hint, script->fields().readWriteFlags, flags);
      else
        add(hint, "pattern", "the pattern did not match");
      hints.scripted.push_back(std::move(hint));
    }
  }
  for (StimulusHint& hint : hints.exact) {
    const auto& fields = dynamic_cast<const tap::ExactStringStimulus&>(*pairs[hint.pair].stimulus()).fields();
    if (pairs[hint.pair].unusable()) add(hint, "unusable", unusable_reason(stream, pair_line(hint.pair)));
    describe_bytes(hint, written);
    if (!fields.ignoreFlags && !tap::flags_equal(fields.readWriteFlags, flags))
      describe_flags(hint, fields.readWriteFlags, flags);
  }
  return hints;
}

}  // namespace srplay
