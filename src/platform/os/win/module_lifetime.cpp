#include "platform/os/module_lifetime.h"

#include <windows.h>

#include <atomic>

namespace {

std::atomic<bool> ending{false};

}  // namespace

// Called by the C runtime's entry before it destroys the DLL's static
// objects. A non-null `reserved` on detach means the process is ending
// and has already ended every other thread. In a program the function is
// never called.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_DETACH && reserved != nullptr) ending.store(true);
  return TRUE;
}

namespace tap::os {

void pin_this_module() {
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCSTR>(&ending), &self);
}

bool process_is_ending() { return ending.load(); }

}  // namespace tap::os
