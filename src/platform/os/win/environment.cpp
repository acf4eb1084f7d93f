#include "platform/os/environment.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

namespace tap::os {

// The process's own block, not the C runtime's copy of it: a host built
// against another runtime sets variables that only the block shows.
std::optional<std::string> environment_variable(const char* name) {
  std::vector<char> buffer(256);
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD n = GetEnvironmentVariableA(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(n);
  }
}

// Both the block and the runtime's copy, so that getenv in this process and
// the programs it starts see the same value.
bool set_environment_variable(const char* name, const std::string& value) {
  if (!SetEnvironmentVariableA(name, value.c_str())) return false;
  return _putenv_s(name, value.c_str()) == 0;
}

}  // namespace tap::os
