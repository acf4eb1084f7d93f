#pragma once
#include <CLI/CLI.hpp>

namespace srplay {

// `srplay import DEFINITION.yaml -o RECORDING.xml`: a scripted recording
// from a simulated-instrument definition, checked as the driver checks it
// before it is written.
void add_import_command(CLI::App& app, int& rc);

}  // namespace srplay
