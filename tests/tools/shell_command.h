#pragma once
// Runs a command line as a user types it and collects what it prints on
// standard output and its exit code. The lines are written for a POSIX
// shell; cmd.exe gets them with single quotes as double quotes, /dev/null
// as NUL and the program's path in the system's own form.
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdio>
#include <filesystem>
#include <string>

namespace tap::test {

struct ShellResult {
  int exit_code = -1;
  std::string out;
};

#ifdef _WIN32
inline std::string cmd_line(const std::string& line) {
  std::size_t end = line.find(' ');
  std::string out = std::filesystem::absolute(line.substr(0, end)).make_preferred().string();
  for (char c : end == std::string::npos ? std::string() : line.substr(end)) out.push_back(c == '\'' ? '"' : c);
  for (std::size_t at; (at = out.find("/dev/null")) != std::string::npos;) out.replace(at, 9, "NUL");
  // cmd /c drops the first and the last quote of a line that has more.
  return "\"" + out + "\"";
}
#endif

inline ShellResult run_shell(const std::string& line) {
  ShellResult result;
#ifdef _WIN32
  FILE* p = _popen(cmd_line(line).c_str(), "r");
#else
  FILE* p = popen(line.c_str(), "r");
#endif
  if (!p) return result;
  char buf[65536];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) result.out.append(buf, n);
#ifdef _WIN32
  result.exit_code = _pclose(p);
#else
  const int status = pclose(p);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  return result;
}

}  // namespace tap::test
