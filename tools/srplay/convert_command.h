#pragma once
#include <CLI/CLI.hpp>

namespace srplay {

// `srplay convert TEXT [-o FILE]`: a recording from a conversation text,
// checked as the driver checks it before it is written.
void add_convert_command(CLI::App& app, int& rc);

}  // namespace srplay
