#include "platform/os/RegularFile.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cctype>
#include <string_view>

namespace tap::os {

namespace {

// A DOS device name ("COM1", "nul.txt", "LPT2") names the device in any
// folder; opening one already has effects, so the name is refused first.
bool names_dos_device(const std::string& path) {
  std::size_t start = path.find_last_of("\\/:");
  std::string_view last = std::string_view(path).substr(start == std::string::npos ? 0 : start + 1);
  last = last.substr(0, last.find('.'));
  while (!last.empty() && (last.back() == ' ')) last.remove_suffix(1);
  std::string word(last);
  std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return std::tolower(c); });
  if (word == "con" || word == "prn" || word == "aux" || word == "nul" || word == "conin$" ||
      word == "conout$")
    return true;
  return word.size() == 4 && (word.rfind("com", 0) == 0 || word.rfind("lpt", 0) == 0) &&
         word[3] >= '0' && word[3] <= '9';
}

bool is_device_namespace(const std::string& path) {
  return path.rfind("\\\\.\\", 0) == 0 || path.rfind("//./", 0) == 0 || path.rfind("\\\\?\\GLOBALROOT", 0) == 0;
}

}  // namespace

std::unique_ptr<RegularFile> RegularFile::open(const std::string& path, Status* status) {
  auto refuse = [&](Status s) {
    if (status) *status = s;
    return nullptr;
  };
  // Looked at before it is opened: opening a device can have effects of
  // its own (a serial line raises its modem lines, a pipe takes a client).
  if (is_device_namespace(path) || names_dos_device(path)) return refuse(Status::not_regular);
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    DWORD e = GetLastError();
    return refuse(e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? Status::not_found
                                                                          : Status::unreadable);
  }
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return refuse(Status::not_regular);
  // Not inherited; others may still read and even replace the file while
  // it is read, as they may on the POSIX side.
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD e = GetLastError();
    return refuse(e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? Status::not_found
                                                                          : Status::unreadable);
  }
  // Whatever the name looked like, only a file on a disk is read.
  LARGE_INTEGER size{};
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileSizeEx(h, &size)) {
    CloseHandle(h);
    return refuse(Status::not_regular);
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(h, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    CloseHandle(h);
    return refuse(Status::not_regular);
  }
  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(h);
    return refuse(Status::unreadable);
  }
  if (status) *status = Status::ok;
  return std::unique_ptr<RegularFile>(new RegularFile(fd, static_cast<std::uint64_t>(size.QuadPart)));
}

RegularFile::~RegularFile() { _close(fd_); }

std::ptrdiff_t RegularFile::read(char* buffer, std::size_t size) {
  // _read takes an unsigned int count.
  constexpr std::size_t largest = std::size_t{1} << 30;
  int n = _read(fd_, buffer, static_cast<unsigned>(size < largest ? size : largest));
  return n < 0 ? -1 : n;
}

}  // namespace tap::os
