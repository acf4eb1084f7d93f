#pragma once
#include <memory>
#include <string>

namespace tap::os {

// A loaded shared library; unloaded when destroyed.
class DynamicLibrary {
 public:
  // Null on failure, with the loader's reason in `error`.
  static std::unique_ptr<DynamicLibrary> load(const std::string& path, std::string* error);
  ~DynamicLibrary();
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  void* symbol(const char* name) const;

  // The folder of the running executable, for finding libraries beside it.
  static std::string executable_dir();
  // The folder of the loaded library (or executable) that holds `address`:
  // a library finds its companions there whoever calls the loader (a
  // sanitizer's interposed loader, say, would search its own paths).
  static std::string module_dir(const void* address);

 private:
  explicit DynamicLibrary(void* handle) : handle_(handle) {}
  void* handle_;
};

}  // namespace tap::os
