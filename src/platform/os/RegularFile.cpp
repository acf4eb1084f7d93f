#include "platform/os/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tap::os {

std::unique_ptr<RegularFile> RegularFile::open(const std::string& path, Status* status) {
  auto refuse = [&](Status s) {
    if (status) *status = s;
    return nullptr;
  };
  // Looked at before it is opened: opening a device can have effects of
  // its own (a tape rewinds, a serial line raises its modem lines).
  struct stat before{};
  if (::stat(path.c_str(), &before) != 0) return refuse(errno == ENOENT || errno == ENOTDIR ? Status::not_found : Status::unreadable);
  if (!S_ISREG(before.st_mode)) return refuse(Status::not_regular);
  // O_NONBLOCK: should the path have been swapped for a FIFO since, the
  // open still returns at once and the check below refuses it.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return refuse(errno == ENOENT ? Status::not_found : Status::unreadable);
  struct stat opened{};
  if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_dev != before.st_dev ||
      opened.st_ino != before.st_ino) {
    ::close(fd);
    return refuse(Status::not_regular);
  }
  int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  if (status) *status = Status::ok;
  return std::unique_ptr<RegularFile>(new RegularFile(fd, static_cast<std::uint64_t>(opened.st_size)));
}

RegularFile::~RegularFile() { ::close(fd_); }

std::ptrdiff_t RegularFile::read(char* buffer, std::size_t size) {
  for (;;) {
    ssize_t n = ::read(fd_, buffer, size);
    if (n >= 0) return n;
    if (errno != EINTR) return -1;
  }
}

}  // namespace tap::os
