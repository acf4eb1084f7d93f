#pragma once
#include <CLI/CLI.hpp>

#include <string>

namespace srplay {

// `srplay run FILE (--stream N | --address ...) [COMMAND...]`: opens a
// session through the real driver and plays a conversation.
void add_run_command(CLI::App& app, const std::string& library, int& rc);

}  // namespace srplay
