#pragma once
// srplay vbs FILE...: runs VBScript files as modules of one engine.
#include <cstddef>
#include <string>
#include <vector>

namespace srplay {

// Prints echoed lines to stdout and an uncaught error to stderr as
// "FILE(LINE, COLUMN) SOURCE: DESCRIPTION (NUMBER)". Returns the exit code:
// 0, the code passed to WScript.Quit, 1 after an error, 2 for an
// unreadable file.
int run_vbs_command(const std::vector<std::string>& files, int timeout_ms, std::size_t memory_limit_bytes);

}  // namespace srplay
