#include "info_command.h"

#include <cstdio>
#include <memory>

#include "RecordingSummary.h"
#include "file_problem.h"

namespace srplay {
namespace {

int run_info(const std::string& path) {
  if (report_unreadable(path)) return 2;
  RecordingSummary summary = summarize_recording(path);
  if (summary.result.code != 0) {
    std::fprintf(stderr, "%s:%d: the driver refuses this file: %s\n", path.c_str(),
                 summary.result.line, summary.result.message.c_str());
    return 1;
  }
  std::printf("%s: %zu stream(s), %zu initial value(s)\n", path.c_str(), summary.streams.size(),
              summary.initial_values);
  for (std::size_t i = 0; i < summary.streams.size(); ++i) {
    const StreamSummary& s = summary.streams[i];
    std::printf("stream %zu (line %d): %s prim %s sec %s devprot %s bracket \"%s\" colon \"%s\"\n",
                i, s.line, s.intfaddr.empty() ? "(no interface)" : s.intfaddr.c_str(),
                s.prim.c_str(), s.sec.c_str(), s.devprot.c_str(), s.bracket.c_str(),
                s.colon.c_str());
    std::printf("  open returns %s; %zu pair(s)", s.return_value.c_str(), s.pairs);
    if (s.unusable_pairs) std::printf(" (%zu never match)", s.unusable_pairs);
    std::printf(", %zu DoCommand entr%s", s.docommands, s.docommands == 1 ? "y" : "ies");
    if (s.unusable_docommands) std::printf(" (%zu never match)", s.unusable_docommands);
    std::printf("\n");
    if (s.load_error) std::printf("  opening this stream fails: %s\n", s.load_error->c_str());
  }
  return 0;
}

}  // namespace

void add_info_command(CLI::App& app, int& rc) {
  auto* cmd = app.add_subcommand("info", "show a recording's streams, addresses and counts");
  auto path = std::make_shared<std::string>();
  cmd->add_option("FILE", *path, "the playback file")->required();
  cmd->callback([path, &rc] { rc = run_info(*path); });
}

}  // namespace srplay
