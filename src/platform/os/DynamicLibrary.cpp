#include "platform/os/DynamicLibrary.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

namespace tap::os {

std::unique_ptr<DynamicLibrary> DynamicLibrary::load(const std::string& path, std::string* error) {
  void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!h) {
    if (error) {
      const char* e = dlerror();
      *error = e ? e : "cannot load " + path;
    }
    return nullptr;
  }
  return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(h));
}

DynamicLibrary::~DynamicLibrary() { dlclose(handle_); }

void* DynamicLibrary::symbol(const char* name) const { return dlsym(handle_, name); }

std::string DynamicLibrary::executable_dir() {
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return ".";
  std::string path(buf, static_cast<std::size_t>(n));
  auto slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string DynamicLibrary::module_dir(const void* address) {
  Dl_info info{};
  if (!dladdr(address, &info) || !info.dli_fname) return executable_dir();
  const std::string path = info.dli_fname;
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? executable_dir() : path.substr(0, slash);
}

}  // namespace tap::os
