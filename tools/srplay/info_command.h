#pragma once
#include <CLI/CLI.hpp>

namespace srplay {

// `srplay info FILE`: the streams with their addresses and what they hold.
void add_info_command(CLI::App& app, int& rc);

}  // namespace srplay
