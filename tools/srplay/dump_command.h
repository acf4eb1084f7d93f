#pragma once
#include <CLI/CLI.hpp>

namespace srplay {

// `srplay dump FILE [-o TEXT]`: a recording as conversation text, from the
// tables the driver builds.
void add_dump_command(CLI::App& app, int& rc);

}  // namespace srplay
