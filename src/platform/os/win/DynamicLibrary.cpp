#include "platform/os/DynamicLibrary.h"

#include <windows.h>

#include <cstring>

namespace tap::os {

namespace {

std::string last_error_text(DWORD code) {
  char* text = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string out = n && text ? std::string(text, n) : "error " + std::to_string(code);
  if (text) LocalFree(text);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

}  // namespace

std::unique_ptr<DynamicLibrary> DynamicLibrary::load(const std::string& path, std::string* error) {
  // With a full path the library's own dependencies are looked for beside
  // it, as the loader does for a host's drivers.
  HMODULE h = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!h) {
    if (error) *error = "cannot load " + path + ": " + last_error_text(GetLastError());
    return nullptr;
  }
  return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(h));
}

DynamicLibrary::~DynamicLibrary() { FreeLibrary(static_cast<HMODULE>(handle_)); }

void* DynamicLibrary::symbol(const char* name) const {
  FARPROC fn = GetProcAddress(static_cast<HMODULE>(handle_), name);
  void* p = nullptr;
  static_assert(sizeof fn == sizeof p);
  std::memcpy(&p, &fn, sizeof p);
  return p;
}

namespace {

// The folder of a loaded module (the executable for null), "." if unknown.
std::string folder_of(HMODULE module) {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(module, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return ".";
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

std::string DynamicLibrary::executable_dir() { return folder_of(nullptr); }

std::string DynamicLibrary::module_dir(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCSTR>(address), &module))
    return executable_dir();
  return folder_of(module);
}

}  // namespace tap::os
