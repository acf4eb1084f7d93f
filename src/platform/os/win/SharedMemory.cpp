#include "platform/os/SharedMemory.h"

#include <windows.h>

#include <cstring>

namespace tap::os {

namespace {

// SECTION_QUERY, beside read and write, lets the exact size be asked for.
constexpr DWORD kAccess = FILE_MAP_READ | FILE_MAP_WRITE | SECTION_QUERY;

// The size the mapping was created with. Only the native API tells it; it
// is looked up at run time so that the driver imports nothing of ntdll.
bool exact_size(HANDLE mapping, std::size_t* size) {
  struct SectionBasicInformation {
    void* base;
    ULONG attributes;
    LARGE_INTEGER size;
  };
  using QuerySection = LONG(WINAPI*)(HANDLE, int, void*, SIZE_T, SIZE_T*);
  static const QuerySection query = [] {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    FARPROC p = ntdll ? GetProcAddress(ntdll, "NtQuerySection") : nullptr;
    return reinterpret_cast<QuerySection>(reinterpret_cast<void (*)()>(p));
  }();
  SectionBasicInformation info{};
  SIZE_T written = 0;
  if (!query || query(mapping, 0 /* SectionBasicInformation */, &info, sizeof info, &written) < 0 ||
      info.size.QuadPart < 0)
    return false;
  *size = static_cast<std::size_t>(info.size.QuadPart);
  return true;
}

// A view of the whole mapping, and the mapping's size: the exact one where
// the system tells it, otherwise that of the view in whole pages. Either
// way every byte below it can be read and written without a fault.
unsigned char* map_whole(HANDLE mapping, std::size_t* size) {
  void* p = MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0);
  if (!p) return nullptr;
  MEMORY_BASIC_INFORMATION info{};
  if (VirtualQuery(p, &info, sizeof info) != sizeof info) {
    UnmapViewOfFile(p);
    return nullptr;
  }
  std::size_t exact = 0;
  *size = exact_size(mapping, &exact) && exact <= info.RegionSize ? exact : info.RegionSize;
  return static_cast<unsigned char*>(p);
}

}  // namespace

SharedMemory::SharedMemory(void* mapping, unsigned char* whole, std::size_t whole_size)
    : mapping_(mapping), whole_(whole), whole_size_(whole_size) {}

SharedMemory::~SharedMemory() {
  close_handle();
  unmap();
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
  // "Local\" objects live in the caller's logon session, so another user's
  // region is not even visible: no ownership check is needed here.
  std::string name(windows_name);
  HANDLE mapping = OpenFileMappingA(kAccess, FALSE, name.c_str());
  if (!mapping) {
    if (status) *status = GetLastError() == ERROR_ACCESS_DENIED ? Status::refused : Status::not_found;
    return nullptr;
  }
  std::size_t size = 0;
  unsigned char* whole = map_whole(mapping, &size);
  if (!whole) {
    CloseHandle(mapping);
    if (status) *status = Status::map_failed;
    return nullptr;
  }
  if (status) *status = Status::ok;
  return std::unique_ptr<SharedMemory>(new SharedMemory(mapping, whole, size));
}

std::unique_ptr<SharedMemory> SharedMemory::create(std::string_view windows_name, std::size_t size,
                                                   Status* status) {
  std::string name(windows_name);
  // The default security descriptor grants access to the creator's logon
  // session only, as the host's region has it.
  auto size64 = static_cast<unsigned long long>(size);
  HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                      static_cast<DWORD>(size64 >> 32), static_cast<DWORD>(size64),
                                      name.c_str());
  if (!mapping) {
    if (status) *status = Status::refused;
    return nullptr;
  }
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mapping);
    if (status) *status = Status::exists;
    return nullptr;
  }
  std::size_t whole_size = 0;
  unsigned char* whole = map_whole(mapping, &whole_size);
  if (!whole) {
    CloseHandle(mapping);
    if (status) *status = Status::map_failed;
    return nullptr;
  }
  if (status) *status = Status::ok;
  return std::unique_ptr<SharedMemory>(new SharedMemory(mapping, whole, whole_size));
}

void SharedMemory::remove(std::string_view) {}

bool SharedMemory::map(std::size_t size) {
  if (view_) return view_size_ >= size;
  if (!mapping_ || whole_size_ < size) return false;
  void* p = MapViewOfFile(mapping_, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, size);
  if (!p) return false;
  view_ = static_cast<unsigned char*>(p);
  view_size_ = size;
  return true;
}

bool SharedMemory::read_at(std::size_t offset, void* into, std::size_t size) const {
  if (!mapping_ || offset > whole_size_ || size > whole_size_ - offset) return false;
  std::memcpy(into, whole_ + offset, size);
  return true;
}

bool SharedMemory::write_at(std::size_t offset, const void* from, std::size_t size) {
  if (!mapping_ || offset > whole_size_ || size > whole_size_ - offset) return false;
  std::memcpy(whole_ + offset, from, size);
  return true;
}

std::size_t SharedMemory::size() const { return mapping_ ? whole_size_ : 0; }

bool SharedMemory::resize(std::size_t) { return false; }

void SharedMemory::close_handle() {
  if (whole_) UnmapViewOfFile(whole_);
  whole_ = nullptr;
  whole_size_ = 0;
  if (mapping_) CloseHandle(mapping_);
  mapping_ = nullptr;
}

void SharedMemory::unmap() {
  if (view_) UnmapViewOfFile(view_);
  view_ = nullptr;
  view_size_ = 0;
}

}  // namespace tap::os
