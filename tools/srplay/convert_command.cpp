#include "convert_command.h"

#include <cstdio>
#include <memory>

#include "CheckedRecordingOutput.h"
#include "ConversationTextParser.h"
#include "RecordingXmlWriter.h"
#include "TextFiles.h"
#include "playfile/PlaybackLoader.h"

namespace srplay {
namespace {

struct ConvertOptions {
  std::string text;
  std::string output;
};

std::string where(const std::string& path, int line) {
  return line > 0 ? path + ":" + std::to_string(line) : path;
}

// Problems the loader finds in the written recording, told at the text's
// lines. False when the driver would not open a stream of it.
bool report_load(const ConvertOptions& o, const RecordingXml& xml, const tap::RecordingLoad& load) {
  if (!load.result) {
    std::fprintf(stderr, "%s: the driver would refuse the recording: %s\n",
                 where(o.text, xml.source_line(load.result.line)).c_str(), load.result.message.c_str());
    return false;
  }
  bool ok = true;
  auto report = [&](const tap::Refusal& r) {
    const std::string at = where(o.text, xml.source_line(r.entry_line));
    if (r.effect == tap::Refusal::Effect::open_fails) {
      std::fprintf(stderr, "%s: opening this stream would fail: %s\n", at.c_str(), r.rule.c_str());
      ok = false;
    } else if (r.effect == tap::Refusal::Effect::never_matches) {
      std::fprintf(stderr, "%s: note: this entry never matches: %s\n", at.c_str(), r.rule.c_str());
    } else {
      std::fprintf(stderr, "%s: note: every read of this response fails: %s\n", at.c_str(), r.rule.c_str());
    }
  };
  for (const auto& s : load.streams)
    for (const tap::Refusal& r : s.load.refusals) report(r);
  for (const tap::Refusal& r : load.refusals) report(r);
  return ok;
}

int run_convert(const ConvertOptions& o) {
  std::optional<std::string> text = read_whole_file(o.text);
  if (!text) {
    std::fprintf(stderr, "srplay: cannot read %s\n", o.text.c_str());
    return 2;
  }
  RecordingXml xml;
  try {
    xml = write_recording_xml(parse_conversation_text(*text));
  } catch (const text_error& e) {
    std::fprintf(stderr, "%s: %s\n", where(o.text, e.line()).c_str(), e.what());
    return 1;
  }
  return write_checked_recording(xml, o.output,
                                 [&](const tap::RecordingLoad& load) { return report_load(o, xml, load); });
}

}  // namespace

void add_convert_command(CLI::App& app, int& rc) {
  auto o = std::make_shared<ConvertOptions>();
  auto* cmd = app.add_subcommand(
      "convert", "write a recording from a conversation text (docs/conversation-text.md)");
  cmd->add_option("TEXT", o->text, "the conversation text")->required();
  cmd->add_option("-o,--output", o->output, "the recording to write (default: standard output)");
  cmd->callback([o, &rc] { rc = run_convert(*o); });
}

}  // namespace srplay
