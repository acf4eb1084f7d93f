#include "platform/os/SharedMemory.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tap::os {

SharedMemory::SharedMemory(int fd, std::string name, bool owner)
    : fd_(fd), name_(std::move(name)), owner_(owner) {}

SharedMemory::~SharedMemory() {
  close_handle();
  unmap();
  if (owner_) shm_unlink(name_.c_str());
}

std::string SharedMemory::posix_name(std::string_view windows_name) {
  constexpr std::string_view local = "Local\\";
  if (windows_name.substr(0, local.size()) == local) windows_name.remove_prefix(local.size());
  std::string name = "/";
  for (char c : windows_name) name.push_back(c == '/' || c == '\\' ? '_' : c);
  return name;
}

std::unique_ptr<SharedMemory> SharedMemory::open_existing(std::string_view windows_name,
                                                          Status* status) {
  std::string name = posix_name(windows_name);
  int fd = shm_open(name.c_str(), O_RDWR | O_CLOEXEC, 0);
  if (fd < 0) {
    if (status) *status = Status::not_found;
    return nullptr;
  }
  struct stat st{};
  if (fstat(fd, &st) != 0 || st.st_uid != geteuid() || (st.st_mode & 077) != 0) {
    close(fd);
    if (status) *status = Status::refused;
    return nullptr;
  }
  if (status) *status = Status::ok;
  return std::unique_ptr<SharedMemory>(new SharedMemory(fd, std::move(name), false));
}

void SharedMemory::remove(std::string_view windows_name) {
  shm_unlink(posix_name(windows_name).c_str());
}

std::unique_ptr<SharedMemory> SharedMemory::create(std::string_view windows_name, std::size_t size,
                                                   Status* status) {
  std::string name = posix_name(windows_name);
  int fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    if (status) *status = errno == EEXIST ? Status::exists : Status::refused;
    return nullptr;
  }
  // The umask may have narrowed the mode; make it exactly owner-only.
  if (fchmod(fd, 0600) != 0 || ftruncate(fd, static_cast<off_t>(size)) != 0) {
    close(fd);
    shm_unlink(name.c_str());
    if (status) *status = Status::refused;
    return nullptr;
  }
  if (status) *status = Status::ok;
  return std::unique_ptr<SharedMemory>(new SharedMemory(fd, std::move(name), true));
}

bool SharedMemory::map(std::size_t size) {
  if (view_) return view_size_ >= size;
  if (fd_ < 0) return false;
  struct stat st{};
  if (fstat(fd_, &st) != 0 || static_cast<std::size_t>(st.st_size) < size) return false;
  void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
  if (p == MAP_FAILED) return false;
  view_ = static_cast<unsigned char*>(p);
  view_size_ = size;
  return true;
}

bool SharedMemory::read_at(std::size_t offset, void* into, std::size_t size) const {
  if (fd_ < 0) return false;
  auto* out = static_cast<char*>(into);
  while (size > 0) {
    ssize_t n = pread(fd_, out, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    out += n;
    offset += static_cast<std::size_t>(n);
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool SharedMemory::write_at(std::size_t offset, const void* from, std::size_t size) {
  // A write past the end would extend the host's object, so the size is
  // checked first; a shrink racing with the write at worst regrows it.
  if (this->size() < offset + size) return false;
  auto* in = static_cast<const char*>(from);
  while (size > 0) {
    ssize_t n = pwrite(fd_, in, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    in += n;
    offset += static_cast<std::size_t>(n);
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

std::size_t SharedMemory::size() const {
  struct stat st{};
  if (fd_ < 0 || fstat(fd_, &st) != 0) return 0;
  return static_cast<std::size_t>(st.st_size);
}

bool SharedMemory::resize(std::size_t size) {
  return fd_ >= 0 && ftruncate(fd_, static_cast<off_t>(size)) == 0;
}

void SharedMemory::close_handle() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

void SharedMemory::unmap() {
  if (view_) munmap(view_, view_size_);
  view_ = nullptr;
  view_size_ = 0;
}

}  // namespace tap::os
