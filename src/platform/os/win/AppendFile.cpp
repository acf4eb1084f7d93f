#include "platform/os/AppendFile.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

namespace tap::os {

// FILE_APPEND_DATA without FILE_WRITE_DATA makes every WriteFile land at the
// end of the file as one step, as O_APPEND does, also across processes. The
// handle is kept as a C runtime descriptor so that the class stays the same
// on both systems.
std::unique_ptr<AppendFile> AppendFile::open(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  // A pipe or a console could hold the writer; only files and the null
  // device are written to.
  if (GetFileType(h) != FILE_TYPE_DISK && GetFileType(h) != FILE_TYPE_CHAR) {
    CloseHandle(h);
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_APPEND | _O_BINARY);
  if (fd < 0) {
    CloseHandle(h);
    return nullptr;
  }
  return std::unique_ptr<AppendFile>(new AppendFile(fd));
}

AppendFile::~AppendFile() { _close(fd_); }

void AppendFile::append(std::string_view text) {
  std::lock_guard<std::mutex> lock(mutex_);
  HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(fd_));
  while (!text.empty()) {
    DWORD written = 0;
    const DWORD chunk = text.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(text.size());
    if (!WriteFile(h, text.data(), chunk, &written, nullptr) || written == 0) return;
    text.remove_prefix(written);
  }
}

}  // namespace tap::os
