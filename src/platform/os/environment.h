#pragma once
#include <optional>
#include <string>

namespace tap::os {

// The value of an environment variable of this process; nullopt when unset.
std::optional<std::string> environment_variable(const char* name);

// Sets it for this process and the programs it starts; false on failure.
bool set_environment_variable(const char* name, const std::string& value);

}  // namespace tap::os
