#pragma once
#include <string>

#include "host/DriverHost.h"

namespace srplay {

// Prints the driver's name, kind and entry table; 0 when the entry export
// answered 0.
int run_driver_command(const std::string& library);

}  // namespace srplay
