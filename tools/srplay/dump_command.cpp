#include "dump_command.h"

#include <cstdio>
#include <memory>

#include "ConversationTextWriter.h"
#include "TextFiles.h"
#include "TextFromRecording.h"
#include "TextLine.h"
#include "playfile/PlaybackLoader.h"

namespace srplay {
namespace {

struct DumpOptions {
  std::string file;
  std::string output;
};

int run_dump(const DumpOptions& o) {
  tap::RecordingLoad recording = tap::load_recording(o.file);
  if (!recording.result) {
    std::fprintf(stderr, "%s:%d: the driver refuses this file: %s\n", o.file.c_str(),
                 recording.result.line, recording.result.message.c_str());
    return 1;
  }
  std::string text;
  try {
    text = write_conversation_text(text_from_recording(recording),
                                   "Conversation text of " + o.file +
                                       ", written by srplay dump; srplay convert makes it a "
                                       "recording again.");
  } catch (const text_error& e) {
    std::fprintf(stderr, "%s:%d: %s\n", o.file.c_str(), e.line(), e.what());
    return 1;
  }
  if (o.output.empty()) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
  }
  if (!write_whole_file(o.output, text)) {
    std::fprintf(stderr, "srplay: cannot write %s\n", o.output.c_str());
    return 2;
  }
  return 0;
}

}  // namespace

void add_dump_command(CLI::App& app, int& rc) {
  auto o = std::make_shared<DumpOptions>();
  auto* cmd = app.add_subcommand("dump", "write a recording as conversation text");
  cmd->add_option("FILE", o->file, "the playback file")->required();
  cmd->add_option("-o,--output", o->output, "the text to write (default: standard output)");
  cmd->callback([o, &rc] { rc = run_dump(*o); });
}

}  // namespace srplay
