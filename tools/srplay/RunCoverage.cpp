#include "RunCoverage.h"

#include "escape_text.h"

namespace srplay {
namespace {

std::size_t used(const std::vector<RunCoverage::Entry>& entries) {
  std::size_t n = 0;
  for (const RunCoverage::Entry& e : entries) n += e.uses > 0;
  return n;
}

void list_text(std::string& out, const char* kind, const std::vector<RunCoverage::Entry>& entries,
               const char* uses_word) {
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const RunCoverage::Entry& e = entries[i];
      if ((pass == 0) != (e.uses > 0)) continue;
      out += "  ";
      out += kind;
      out += ' ' + std::to_string(i) + " line " + std::to_string(e.line);
      if (!e.name.empty()) out += " \"" + escape(e.name) + "\"";
      if (e.uses > 0)
        out += ": " + std::to_string(e.uses) + " " + uses_word + "\n";
      else
        out += e.unusable ? ": never used (it never matches; see srplay check)\n" : ": never used\n";
    }
  }
}

void list_json(std::string& out, const char* key, const std::vector<RunCoverage::Entry>& entries) {
  out += '"';
  out += key;
  out += "\":{\"total\":" + std::to_string(entries.size()) +
         ",\"used\":" + std::to_string(used(entries)) + ",\"entries\":[";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const RunCoverage::Entry& e = entries[i];
    if (i) out += ',';
    out += "{\"index\":" + std::to_string(i) + ",\"line\":" + std::to_string(e.line) +
           ",\"name\":\"" + json_string(e.name) + "\",\"uses\":" + std::to_string(e.uses);
    if (e.unusable) out += ",\"unusable\":true";
    out += '}';
  }
  out += "]}";
}

}  // namespace

RunCoverage::RunCoverage(const tap::RecordingLoad::Stream& stream) {
  const auto& pairs = stream.load.tables.pairs();
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    Entry e;
    e.line = i < stream.pair_lines.size() ? stream.pair_lines[i].pair : 0;
    e.name = pairs[i].name();
    e.unusable = pairs[i].unusable();
    pairs_.push_back(std::move(e));
  }
  const auto& entries = stream.load.tables.docommands();
  const auto& lines = stream.load.lines.docommands;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    Entry e;
    e.line = i < lines.size() ? lines[i] : 0;
    e.name = entries[i].name;
    e.unusable = entries[i].unusable;
    docommands_.push_back(std::move(e));
  }
}

void RunCoverage::note(const TracedCall& call) {
  const auto at = static_cast<std::size_t>(call.entry);
  if (call.entry < 0) return;
  if (call.call == "write" && call.answer == TracedCall::Answer::pair && at < pairs_.size())
    ++pairs_[at].uses;
  else if (call.answer == TracedCall::Answer::docommand && at < docommands_.size())
    ++docommands_[at].uses;
}

std::string RunCoverage::text() const {
  std::string out = "coverage: " + std::to_string(used(pairs_)) + " of " +
                    std::to_string(pairs_.size()) + " pair(s) and " +
                    std::to_string(used(docommands_)) + " of " +
                    std::to_string(docommands_.size()) + " DoCommand entr" +
                    (docommands_.size() == 1 ? "y" : "ies") + " answered\n";
  list_text(out, "pair", pairs_, "write(s)");
  list_text(out, "docmd", docommands_, "call(s)");
  return out;
}

std::string RunCoverage::json() const {
  std::string out = "{";
  list_json(out, "pairs", pairs_);
  out += ',';
  list_json(out, "docommands", docommands_);
  out += '}';
  return out;
}

}  // namespace srplay
