#pragma once
// How long the module that holds this code stays loaded, for code that
// keeps a thread of its own running in it.

namespace tap::os {

// Keeps this module loaded until the process ends. A Windows DLL cannot
// wait for its own threads while it is being unloaded (the loader lock is
// held, and a thread needs it to end), so a DLL that starts one stays.
// Nothing to do where unloading can wait.
void pin_this_module();

// True once the process is ending and threads other than the caller may
// already be gone, as when a Windows DLL's static objects are destroyed at
// process exit: nothing may then wait for another thread.
bool process_is_ending();

}  // namespace tap::os
