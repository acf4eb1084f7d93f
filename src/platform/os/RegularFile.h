#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace tap::os {

// A file opened for reading only if it is a regular file. A FIFO would
// block the open until a writer came, and a device may never end, so
// anything else is refused before it is read, without blocking.
class RegularFile {
 public:
  enum class Status { ok, not_found, not_regular, unreadable };

  static std::unique_ptr<RegularFile> open(const std::string& path, Status* status);

  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;
  ~RegularFile();

  // Up to `size` bytes; 0 at the end of the file, -1 on a read error.
  std::ptrdiff_t read(char* buffer, std::size_t size);
  // The size when it was opened; the file may grow or shrink since.
  std::uint64_t size() const { return size_; }

 private:
  RegularFile(int fd, std::uint64_t size) : fd_(fd), size_(size) {}

  int fd_;
  std::uint64_t size_;
};

}  // namespace tap::os
