#include "platform/os/AppendFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tap::os {

std::unique_ptr<AppendFile> AppendFile::open(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK,
                        0666);
  if (fd < 0) return nullptr;
  return std::unique_ptr<AppendFile>(new AppendFile(fd));
}

AppendFile::~AppendFile() { ::close(fd_); }

void AppendFile::append(std::string_view text) {
  // The mutex keeps a short write's remainder from landing after another
  // thread's line.
  std::lock_guard<std::mutex> lock(mutex_);
  while (!text.empty()) {
    const ssize_t n = ::write(fd_, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
}

}  // namespace tap::os
