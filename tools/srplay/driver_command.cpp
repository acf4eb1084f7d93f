#include "driver_command.h"

#include <cstdio>
#include <exception>

namespace srplay {
namespace {

constexpr const char* kSlotNames[VARNEL_DRIVER_SLOT_COUNT] = {
    "open", "close", "write", "read", "DoCommand", "(unused)", "(unused)",
    "lock", "unlock", "no-op", "no-op", "no-op", "(unused)", "no-op"};

}  // namespace

int run_driver_command(const std::string& library) {
  try {
    tap::host::DriverHost host(library);
    std::printf("driver:  %s\n", library.c_str());
    std::printf("name:    \"%s\"\n", host.driver_name().c_str());
    std::printf("kind:    %u\n", host.driver_kind());
    std::printf("status:  %d\n", host.entry_status());
    for (int i = 0; i < VARNEL_DRIVER_SLOT_COUNT; ++i)
      std::printf("slot %2d  %-10s %s\n", i, kSlotNames[i], host.slot(i) ? "set" : "null");
    return host.entry_status() == 0 ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "srplay: %s\n", e.what());
    return 2;
  }
}

}  // namespace srplay
