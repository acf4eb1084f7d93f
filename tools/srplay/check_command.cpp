#include "check_command.h"

#include <cstdio>
#include <memory>
#include <string>

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

void print_refusal(const std::string& path, const Refusal& r) {
  const bool same_element = r.line == r.entry_line && r.element == r.entry;
  const std::string where =
      same_element ? "" : "the " + r.element + " (line " + std::to_string(r.line) + "): ";
  switch (r.effect) {
    case Refusal::Effect::never_matches:
      std::printf("%s:%d: %s will never match: %s%s\n", path.c_str(), r.entry_line,
                  entry_words(r).c_str(), where.c_str(), r.rule.c_str());
      break;
    case Refusal::Effect::reads_fail:
      std::printf("%s:%d: %s: every read of its response at line %d returns 128: %s\n",
                  path.c_str(), r.entry_line, entry_words(r).c_str(), r.line, r.rule.c_str());
      break;
    case Refusal::Effect::open_fails:
      if (r.rule.rfind("its ", 0) == 0)
        std::printf("%s:%d: opening this stream fails: the %s's %s\n", path.c_str(), r.line,
                    r.element.c_str(), r.rule.c_str() + 4);
      else
        std::printf("%s:%d: opening this stream fails: %s: %s\n", path.c_str(), r.line,
                    r.element.c_str(), r.rule.c_str());
      break;
  }
}

// The driver loads a script that does not compile; it fails only when it
// runs. Its first line is the procedure header the driver wraps it in.
void warn_if_not_compiling(const std::string& path, std::int32_t line, const std::string& what,
                           const std::string& script) {
  tap::vbs::CompileResult compiled = tap::vbs::compile_module(tap::os::ansi_to_wide(script));
  if (compiled) return;
  std::printf("%s:%d: warning: %s: line %d of its script: %s (%d); the script fails when it runs\n",
              path.c_str(), line, what.c_str(), compiled.line - 1,
              tap::os::wide_to_ansi(tap::vbs::runtime_error_description(compiled.error)).c_str(),
              compiled.error);
}

void check_scripts(const std::string& path, std::size_t stream_index,
                   const tap::RecordingLoad::Stream& stream) {
  const auto& pairs = stream.load.tables.pairs();
  for (std::size_t p = 0; p < pairs.size() && p < stream.pair_lines.size(); ++p) {
    const tap::SRPair& pair = pairs[p];
    const auto& lines = stream.pair_lines[p];
    const std::string name = "stream " + std::to_string(stream_index) + ", pair " +
                             std::to_string(p) + " \"" + pair.name() + "\"";
    if (auto* s = dynamic_cast<const tap::VBScriptStimulus*>(pair.stimulus()))
      warn_if_not_compiling(path, lines.stimulus, name + ", stimulus", s->fields().script);
    for (std::size_t r = 0; r < pair.responses().size() && r < lines.responses.size(); ++r)
      if (pair.responses()[r].responseKind() == tap::SRPair::Response::kScriptPending)
        warn_if_not_compiling(path, lines.responses[r], name + ", response " + std::to_string(r),
                              pair.responses()[r].script());
  }
}

int run_check(const std::string& path) {
  if (report_unreadable(path)) return 2;
  tap::RecordingLoad recording = tap::load_recording(path);
  if (!recording.result) {
    std::printf("%s:%d:%d: refused: %s\n", path.c_str(), recording.result.line,
                recording.result.column, recording.result.message.c_str());
    return 1;
  }
  int rc = 0;
  std::size_t index = 0;
  for (const tap::RecordingLoad::Stream& s : recording.streams) {
    std::printf("%s:%d: stream %zu: %s prim %s sec %s devprot %s bracket \"%s\" colon \"%s\"\n",
                path.c_str(), s.line, index, s.intfaddr.c_str(), s.prim.c_str(), s.sec.c_str(),
                s.devprot.c_str(), s.bracket.c_str(), s.colon.c_str());
    for (const Refusal& r : s.load.refusals) {
      print_refusal(path, r);
      if (r.effect == Refusal::Effect::open_fails) rc = 1;
    }
    check_scripts(path, index, s);
    ++index;
  }
  for (const Refusal& r : recording.refusals) {
    print_refusal(path, r);
    rc = 1;
  }
  std::printf("%s: %s\n", path.c_str(),
              rc == 0 ? "the driver loads this file" : "the driver refuses some opens");
  return rc;
}

}  // namespace

void add_check_command(CLI::App& app, int& rc) {
  auto* cmd = app.add_subcommand("check", "validate a recording as the driver does and explain refusals");
  auto path = std::make_shared<std::string>();
  cmd->add_option("FILE", *path, "the playback file")->required();
  cmd->callback([path, &rc] { rc = run_check(*path); });
}

}  // namespace srplay
