#include "file_problem.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace srplay {

std::string file_problem(const std::string& path) {
  std::error_code ec;
  // Opening a directory for reading succeeds on some systems; reading it
  // then fails with this same reason.
  if (std::filesystem::is_directory(path, ec)) return std::strerror(EISDIR);
  errno = 0;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::strerror(errno != 0 ? errno : ENOENT);
  std::fclose(f);
  return {};
}

bool report_unreadable(const std::string& path) {
  std::string reason = file_problem(path);
  if (reason.empty()) return false;
  std::fprintf(stderr, "srplay: cannot read %s: %s\n", path.c_str(), reason.c_str());
  return true;
}

}  // namespace srplay
