#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace tap::os {

// A file that several threads and processes append whole lines to. Each
// append is one write to a descriptor opened for appending, so the lines of
// concurrent writers never interleave. Opening never blocks: a FIFO without
// a reader is refused, and a pipe that is not read fast enough loses what
// does not fit rather than holding the writer.
class AppendFile {
 public:
  // Creates the file if needed (permissions as the umask allows); null when
  // it cannot be opened for writing.
  static std::unique_ptr<AppendFile> open(const std::string& path);

  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;
  ~AppendFile();

  // Best effort: a failed write is dropped.
  void append(std::string_view text);

 private:
  explicit AppendFile(int fd) : fd_(fd) {}

  int fd_;
  std::mutex mutex_;
};

}  // namespace tap::os
