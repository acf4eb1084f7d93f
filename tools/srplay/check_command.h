#pragma once
#include <CLI/CLI.hpp>

namespace srplay {

// `srplay check FILE`: validates like the driver and explains, in the
// user's terms, every refusal and every entry that will never match.
void add_check_command(CLI::App& app, int& rc);

}  // namespace srplay
