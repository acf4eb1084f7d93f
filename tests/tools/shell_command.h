#pragma once
// Runs a command line as a user types it and collects what it prints on
// standard output and its exit code. The lines are written for a POSIX
// shell; on Windows they are split and their redirections made as that
// shell would (shell_command_windows.h).
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdio>
#include <string>

namespace tap::test {

struct ShellResult {
  int exit_code = -1;
  std::string out;
};

#ifndef _WIN32
inline ShellResult run_shell(const std::string& line) {
  ShellResult result;
  FILE* p = popen(line.c_str(), "r");
  if (!p) return result;
  char buf[65536];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) result.out.append(buf, n);
  const int status = pclose(p);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}
#endif

}  // namespace tap::test

#ifdef _WIN32
#include "tools/shell_command_windows.h"
#endif
