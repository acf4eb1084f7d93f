#include "run_command.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>

#include "Conversation.h"
#include "RecordingSummary.h"
#include "RunDiagnostics.h"
#include "RunPrinter.h"
#include "file_problem.h"
#include "host/DriverHost.h"
#include "host/ProcessRegion.h"
#include "playfile/PlaybackLoader.h"

namespace srplay {
namespace {

struct RunOptions {
  std::string file;
  std::optional<std::size_t> stream;
  std::string address;
  bool json = false;
  bool strict = false;
  std::size_t show = 96;
  std::vector<std::string> commands;
};

class Player {
 public:
  Player(const tap::host::DriverHost& host, VarnelSession session, const RunPrinter& printer,
         RunDiagnostics& diagnostics)
      : host_(host), session_(session), printer_(printer), diagnostics_(diagnostics) {}

  void play(const Command& c) {
    switch (c.kind) {
      case Command::skip: break;
      case Command::timeout: timeout_ = static_cast<std::int32_t>(*c.number); break;
      case Command::flags: flags_ = *c.number; break;
      case Command::count: count_ = *c.number; break;
      case Command::write: write(c.bytes); break;
      case Command::read: read(c.number.value_or(count_)); break;
      case Command::query:
        write(c.bytes);
        // Reads until the instrument says it is done; bounded so that a
        // recording that never ends a response cannot keep us forever.
        for (int i = 0; i < 1'000'000; ++i) {
          CallRecord r = read(count_);
          if (r.status != 0 || r.stop != 1 || (r.count && *r.count == 0)) break;
        }
        break;
      case Command::docmd: docmd(*c.number, c.bytes); break;
    }
  }

 private:
  using Clock = std::chrono::steady_clock;
  static double ms_since(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
  }

  void write(const std::string& bytes) {
    CallRecord r{"write"};
    std::uint32_t actual = 0;
    auto t0 = Clock::now();
    r.status = host_.write(session_, flags_, timeout_,
                           reinterpret_cast<const std::uint8_t*>(bytes.data()),
                           static_cast<std::uint32_t>(bytes.size()), &actual);
    r.elapsed_ms = ms_since(t0);
    r.count = actual;
    r.bytes = bytes;
    diagnostics_.observe(r, bytes, flags_);
    printer_.print(r);
  }

  CallRecord read(std::uint32_t count) {
    CallRecord r{"read"};
    std::string buffer(count, '\0');
    std::uint32_t actual = 0;
    std::int32_t stop = 0;
    auto t0 = Clock::now();
    r.status = host_.read(session_, flags_, timeout_, '\n',
                          reinterpret_cast<std::uint8_t*>(buffer.data()), count, &actual, &stop);
    r.elapsed_ms = ms_since(t0);
    r.count = actual;
    r.stop = stop;
    r.bytes = buffer.substr(0, std::min(actual, count));
    diagnostics_.observe(r);
    printer_.print(r);
    return r;
  }

  void docmd(std::uint32_t command, std::string block) {
    CallRecord r{"docmd"};
    auto t0 = Clock::now();
    r.status = host_.docommand(session_, flags_, timeout_, command,
                               static_cast<std::int32_t>(block.size()), 0,
                               reinterpret_cast<std::uint8_t*>(block.data()));
    r.elapsed_ms = ms_since(t0);
    r.bytes = block;
    diagnostics_.observe(r);
    printer_.print(r);
  }

  const tap::host::DriverHost& host_;
  VarnelSession session_;
  const RunPrinter& printer_;
  RunDiagnostics& diagnostics_;
  std::int32_t timeout_ = 2000;
  std::uint32_t flags_ = 0;
  std::uint32_t count_ = 4096;
};

// KIND,PRIM[,SEC[,DEVPROT[,BRACKET[,COLON]]]], KIND as the region names it.
bool parse_address(const std::string& text, std::string& kind, tap::host::OpenArgs& args) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, ',');) parts.push_back(part);
  if (parts.size() < 2 || parts.size() > 6) return false;
  try {
    kind = parts[0] == "com" ? "asrl" : parts[0];
    args.primary = static_cast<std::uint32_t>(std::stoll(parts[1]));
    if (parts.size() > 2) args.secondary = static_cast<std::uint32_t>(std::stoll(parts[2]));
    if (parts.size() > 3) args.protocol = static_cast<std::uint32_t>(std::stoll(parts[3]));
    if (parts.size() > 4) args.bracket = parts[4];
    if (parts.size() > 5) args.colon = parts[5];
  } catch (const std::exception&) {
    return false;
  }
  args.address = text;
  return true;
}

// Exit status of a played conversation under --strict when some call was
// not answered from the recording.
constexpr int kStrictFailure = 3;

void print_summary(const RunDiagnostics& diagnostics, const RunPrinter& printer, bool json) {
  const RunCoverage* coverage = diagnostics.coverage();
  if (json) {
    printer.print_text("{\"coverage\":" + (coverage ? coverage->json() : std::string("null")) +
                       ",\"default_answers\":" + std::to_string(diagnostics.default_answers()) +
                       ",\"unmatched_writes\":" + std::to_string(diagnostics.unmatched_writes()) +
                       "}\n");
    return;
  }
  printer.print_text(coverage ? coverage->text()
                              : "coverage: unknown (the driver wrote no trace)\n");
  printer.print_text(std::to_string(diagnostics.default_answers()) +
                     " call(s) got the default answer, " +
                     std::to_string(diagnostics.unmatched_writes()) + " of them write(s)\n");
}

int run(const RunOptions& o, const std::string& library) {
  if (report_unreadable(o.file)) return 2;
  const tap::RecordingLoad recording = tap::load_recording(o.file);
  std::string kind;
  tap::host::OpenArgs args;
  std::uint32_t next_index = 0;
  if (!o.address.empty()) {
    if (!parse_address(o.address, kind, args)) {
      std::fprintf(stderr, "srplay: --address takes KIND,PRIM[,SEC[,DEVPROT[,BRACKET[,COLON]]]]\n");
      return 2;
    }
  } else {
    if (recording.result.code != 0) {
      std::fprintf(stderr, "%s:%d: the driver refuses this file: %s\n", o.file.c_str(),
                   recording.result.line, recording.result.message.c_str());
      return 1;
    }
    std::size_t n = o.stream.value_or(0);
    if (n >= recording.streams.size()) {
      std::fprintf(stderr, "srplay: the file has %zu stream(s)\n", recording.streams.size());
      return 2;
    }
    const tap::RecordingLoad::Stream& s = recording.streams[n];
    kind = region_kind_for(s.intfaddr);
    args.address = s.intfaddr;
    try {
      args.primary = static_cast<std::uint32_t>(std::stoll(s.prim));
      args.secondary = static_cast<std::uint32_t>(std::stoll(s.sec));
      args.protocol = static_cast<std::uint32_t>(std::stoll(s.devprot));
    } catch (const std::exception&) {
      std::fprintf(stderr, "%s:%d: stream %zu has an address the driver cannot use (srplay check says why)\n",
                   o.file.c_str(), s.line, n);
      return 1;
    }
    args.bracket = s.bracket;
    args.colon = s.colon;
    next_index = static_cast<std::uint32_t>(n);
  }

  // Before the driver is loaded: it reads the trace variable as it loads.
  RunDiagnostics diagnostics(recording);
  tap::host::ProcessRegion region;
  region.set_playback_path(std::filesystem::absolute(o.file).string());
  region.set_interface(kind, "instr");
  region.set_next_stream_index(next_index);
  tap::host::DriverHost host(library);
  RunPrinter printer(o.json, o.show);

  VarnelSession session = nullptr;
  auto t0 = std::chrono::steady_clock::now();
  CallRecord opened{"open"};
  opened.status = host.open(args, &session);
  opened.elapsed_ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  diagnostics.opened(opened, o.address.empty() ? o.stream.value_or(0) : std::optional<std::size_t>());
  printer.print(opened);
  if (opened.status != 0) return 1;

  Player player(host, session, printer, diagnostics);
  int rc = 0;
  auto play_line = [&](const std::string& line, std::size_t number) {
    std::string error;
    std::optional<Command> c = parse_command(line, error);
    if (!c) {
      std::fprintf(stderr, "srplay: command %zu: %s\n", number, error.c_str());
      rc = 2;
      return;
    }
    player.play(*c);
  };
  if (!o.commands.empty()) {
    for (std::size_t i = 0; i < o.commands.size(); ++i) play_line(o.commands[i], i + 1);
  } else {
    std::size_t number = 0;
    for (std::string line; std::getline(std::cin, line);) play_line(line, ++number);
  }
  CallRecord closed{"close"};
  closed.status = host.close(session);
  diagnostics.closed(closed);
  printer.print(closed);
  print_summary(diagnostics, printer, o.json);
  if (rc == 0 && o.strict && diagnostics.default_answers() > 0) {
    std::fprintf(stderr, "srplay: --strict: %zu call(s) got the default answer (%zu unmatched write(s))\n",
                 diagnostics.default_answers(), diagnostics.unmatched_writes());
    rc = kStrictFailure;
  }
  return rc;
}

}  // namespace

void add_run_command(CLI::App& app, const std::string& library, int& rc) {
  auto o = std::make_shared<RunOptions>();
  auto* cmd = app.add_subcommand(
      "run", "open a session through the driver and play a conversation, one command a line "
             "(write TEXT, read [COUNT], query TEXT, docmd COMMAND HEX, timeout MS, flags N, "
             "count N) from the arguments or standard input");
  cmd->add_option("FILE", o->file, "the playback file")->required();
  cmd->add_option("COMMAND", o->commands, "commands to play instead of standard input");
  auto* stream = cmd->add_option("--stream", o->stream, "open with the address of stream N (default 0)");
  cmd->add_option("--address", o->address, "open KIND,PRIM[,SEC[,DEVPROT[,BRACKET[,COLON]]]]")
      ->excludes(stream);
  cmd->add_flag("--json", o->json, "print one JSON object per call, then one with the coverage");
  cmd->add_flag("--strict", o->strict,
                "exit with 3 when any call got the default answer (after playing everything)");
  cmd->add_option("--show", o->show, "bytes of each call to print")->capture_default_str();
  cmd->callback([o, &library, &rc] { rc = run(*o, library); });
}

}  // namespace srplay
