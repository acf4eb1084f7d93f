#pragma once
#include <CLI/CLI.hpp>

namespace srplay {

// `srplay check FILE...`: validates like the driver and explains, in the
// user's terms, every refusal, every entry that will never match and
// what loads but cannot mean what its author meant; as text or JSON Lines.
void add_check_command(CLI::App& app, int& rc);

}  // namespace srplay
