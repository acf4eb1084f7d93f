#include "import_command.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "CheckedRecordingOutput.h"
#include "RecordingXmlWriter.h"
#include "playfile/PlaybackLoader.h"
#include "simdef/RecordingFromDefinition.h"

namespace srplay {
namespace {

struct ImportOptions {
  std::string definition;
  std::string output;
};

// Problems the driver's loader finds in what was written, told at the
// definition's lines; false when a stream would not open. The importer
// writes nothing the loader should refuse, so any of these is its own fault.
bool report_load(const ImportOptions& o, const RecordingXml& xml, const tap::RecordingLoad& load) {
  if (!load.result) {
    std::fprintf(stderr, "%sthe driver would refuse the recording: %s\n",
                 simdef::where(o.definition, xml.source_line(load.result.line)).c_str(),
                 load.result.message.c_str());
    return false;
  }
  bool ok = true;
  auto report = [&](const tap::Refusal& r) {
    std::fprintf(stderr, "%swarning: the driver would not play this entry: %s\n",
                 simdef::where(o.definition, xml.source_line(r.entry_line)).c_str(), r.rule.c_str());
    ok = ok && r.effect != tap::Refusal::Effect::open_fails;
  };
  for (const auto& s : load.streams)
    for (const tap::Refusal& r : s.load.refusals) report(r);
  for (const tap::Refusal& r : load.refusals) report(r);
  return ok;
}

// In the order of the files' lines, whatever order they were found in.
void print_warnings(const simdef::Diagnostics& diagnostics) {
  std::vector<simdef::Warning> sorted = diagnostics.warnings();
  std::stable_sort(sorted.begin(), sorted.end(), [](const simdef::Warning& a, const simdef::Warning& b) {
    return a.file != b.file ? a.file < b.file : a.line < b.line;
  });
  for (const auto& w : sorted)
    std::fprintf(stderr, "%swarning: %s\n", simdef::where(w.file, w.line).c_str(), w.message.c_str());
}

int run_import(const ImportOptions& o) {
  simdef::Diagnostics diagnostics;
  RecordingXml xml;
  try {
    xml = write_recording_xml(simdef::recording_from_definition(o.definition, diagnostics));
  } catch (const simdef::import_error& e) {
    print_warnings(diagnostics);
    std::fprintf(stderr, "%s%s\n", simdef::where(e.file(), e.line()).c_str(), e.what());
    return 1;
  }
  print_warnings(diagnostics);

  return write_checked_recording(xml, o.output,
                                 [&](const tap::RecordingLoad& load) { return report_load(o, xml, load); });
}

}  // namespace

void add_import_command(CLI::App& app, int& rc) {
  auto o = std::make_shared<ImportOptions>();
  auto* cmd = app.add_subcommand(
      "import", "write a scripted recording from a simulated-instrument definition (YAML)");
  cmd->add_option("DEFINITION", o->definition, "the definition file")->required();
  cmd->add_option("-o,--output", o->output, "the recording to write")->required();
  cmd->callback([o, &rc] { rc = run_import(*o); });
}

}  // namespace srplay
