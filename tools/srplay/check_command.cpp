#include "check_command.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "check_report.h"
#include "file_problem.h"
#include "model/VBScriptStimulus.h"
#include "platform/os/code_page.h"
#include "playfile/PlaybackLoader.h"
#include "vbscript/ScriptError.h"
#include "vbscript/compile/Compiler.h"

namespace srplay {
namespace {

using tap::Refusal;

std::string entry_words(const Refusal& r) {
  if (r.entry == "IOStimulusResponse") return "pair \"" + r.entry_name + "\"";
  return r.entry + " \"" + r.entry_name + "\"";
}

// Lines point at the entry, as users count entries; the element whose rule
// broke is named in the message when it is another.
Finding refusal_finding(const std::string& path, const Refusal& r) {
  Finding f;
  f.file = path;
  f.element = r.entry;
  f.line = r.entry_line;
  const bool same_element = r.line == r.entry_line && r.element == r.entry;
  const std::string where =
      same_element ? "" : "the " + r.element + " (line " + std::to_string(r.line) + "): ";
  switch (r.effect) {
    case Refusal::Effect::never_matches:
      f.rule = "never-matches";
      f.message = entry_words(r) + " will never match: " + where + r.rule;
      break;
    case Refusal::Effect::reads_fail:
      f.rule = "read-fails";
      f.message = entry_words(r) + ": every read of its response at line " + std::to_string(r.line) +
                  " returns 128: " + r.rule;
      break;
    case Refusal::Effect::open_fails:
      f.severity = Finding::Severity::error;
      f.rule = "open-fails";
      f.element = r.element;
      f.line = r.line;
      f.message = r.rule.rfind("its ", 0) == 0
                      ? "opening this stream fails: the " + r.element + "'s " + r.rule.substr(4)
                      : "opening this stream fails: " + r.element + ": " + r.rule;
      break;
  }
  return f;
}

Finding warning_finding(const std::string& path, const tap::RecordingWarning& w) {
  Finding f;
  f.file = path;
  f.rule = w.rule;
  f.message = w.message;
  f.line = w.line;
  f.element = w.element;
  f.related_line = w.other_line;
  f.label = "warning: ";
  return f;
}

// The driver loads a script that does not compile; it fails only when it
// runs. Its first line is the procedure header the driver wraps it in.
void warn_if_not_compiling(CheckReport& report, const std::string& path, std::int32_t line,
                           const char* element, const std::string& what, const std::string& script) {
  tap::vbs::CompileResult compiled = tap::vbs::compile_module(tap::os::ansi_to_wide(script));
  if (compiled) return;
  Finding f;
  f.file = path;
  f.rule = "script";
  f.line = line;
  f.element = element;
  f.label = "warning: ";
  f.message = what + ": line " + std::to_string(compiled.line - 1) + " of its script: " +
              tap::os::wide_to_ansi(tap::vbs::runtime_error_description(compiled.error)) + " (" +
              std::to_string(compiled.error) + "); the script fails when it runs";
  report.finding(f);
}

void check_scripts(CheckReport& report, const std::string& path, std::size_t stream_index,
                   const tap::RecordingLoad::Stream& stream) {
  const auto& pairs = stream.load.tables.pairs();
  for (std::size_t p = 0; p < pairs.size() && p < stream.pair_lines.size(); ++p) {
    const tap::SRPair& pair = pairs[p];
    const auto& lines = stream.pair_lines[p];
    const std::string name = "stream " + std::to_string(stream_index) + ", pair " +
                             std::to_string(p) + " \"" + pair.name() + "\"";
    if (auto* s = dynamic_cast<const tap::VBScriptStimulus*>(pair.stimulus()))
      warn_if_not_compiling(report, path, lines.stimulus, "Stimulus", name + ", stimulus",
                            s->fields().script);
    for (std::size_t r = 0; r < pair.responses().size() && r < lines.responses.size(); ++r)
      if (pair.responses()[r].responseKind() == tap::SRPair::Response::kScriptPending)
        warn_if_not_compiling(report, path, lines.responses[r], "Response",
                              name + ", response " + std::to_string(r), pair.responses()[r].script());
  }
}

// The rule of a file the driver refuses as a whole, by the layer that
// refused it: the XML parser, the schema, or the root check.
const char* document_rule(const tap::xml::ParseResult& result) {
  if (result.code == -1) return "root";
  if (result.code >= 0x300) return "schema";
  return "xml";
}

FileOutcome check_file(CheckReport& report, const std::string& path) {
  if (std::string reason = file_problem(path); !reason.empty()) {
    Finding f;
    f.severity = Finding::Severity::error;
    f.rule = "unreadable";
    f.message = reason;
    f.file = path;
    report.finding(f);
    return FileOutcome::unreadable;
  }
  tap::RecordingLoad recording = tap::load_recording(path);
  if (!recording.result) {
    Finding f;
    f.severity = Finding::Severity::error;
    f.rule = document_rule(recording.result);
    f.message = recording.result.message;
    f.file = path;
    f.line = recording.result.line;
    f.column = recording.result.column;
    f.element = recording.result.element;
    f.label = "refused: ";
    report.finding(f);
    return FileOutcome::refused;
  }
  FileOutcome outcome = FileOutcome::loads;
  std::size_t index = 0;
  for (const tap::RecordingLoad::Stream& s : recording.streams) {
    report.info(path + ":" + std::to_string(s.line) + ": stream " + std::to_string(index) + ": " +
                s.intfaddr + " prim " + s.prim + " sec " + s.sec + " devprot " + s.devprot +
                " bracket \"" + s.bracket + "\" colon \"" + s.colon + "\"");
    for (const Refusal& r : s.load.refusals) {
      report.finding(refusal_finding(path, r));
      if (r.effect == Refusal::Effect::open_fails) outcome = FileOutcome::opens_fail;
    }
    check_scripts(report, path, index, s);
    for (const tap::RecordingWarning& w : s.warnings) report.finding(warning_finding(path, w));
    ++index;
  }
  for (const Refusal& r : recording.refusals) {
    report.finding(refusal_finding(path, r));
    outcome = FileOutcome::opens_fail;
  }
  for (const tap::RecordingWarning& w : recording.warnings) report.finding(warning_finding(path, w));
  return outcome;
}

struct CheckOptions {
  std::vector<std::string> files;
  bool strict = false;
  bool json = false;
};

int run_check(const CheckOptions& o) {
  std::unique_ptr<CheckReport> report = o.json ? make_json_report() : make_text_report();
  for (const std::string& path : o.files) report->file_done(path, check_file(*report, path));
  return report->finish(o.strict);
}

}  // namespace

void add_check_command(CLI::App& app, int& rc) {
  auto* cmd = app.add_subcommand("check", "validate recordings as the driver does and explain refusals");
  auto o = std::make_shared<CheckOptions>();
  cmd->add_option("FILE", o->files, "the playback files")->required();
  cmd->add_flag("--strict", o->strict, "exit with 3 when a file that loads has warnings");
  cmd->add_flag("--json", o->json, "print JSON Lines: one object per finding, then a summary");
  cmd->callback([o, &rc] { rc = run_check(*o); });
}

}  // namespace srplay
