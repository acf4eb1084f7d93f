#include "platform/os/module_lifetime.h"

namespace tap::os {

// dlclose runs the library's destructors while its threads still run, and
// exit() does so before any thread is gone.
void pin_this_module() {}
bool process_is_ending() { return false; }

}  // namespace tap::os
