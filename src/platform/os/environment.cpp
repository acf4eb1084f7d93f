#include "platform/os/environment.h"

#include <cstdlib>

namespace tap::os {

std::optional<std::string> environment_variable(const char* name) {
  const char* value = std::getenv(name);
  if (!value) return std::nullopt;
  return std::string(value);
}

bool set_environment_variable(const char* name, const std::string& value) {
  return ::setenv(name, value.c_str(), 1) == 0;
}

}  // namespace tap::os
