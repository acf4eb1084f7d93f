#pragma once
// How deep the interpreter's calls may take the native stack of the thread
// it runs on, whatever that thread's stack is (a worker's, a host's 1 MB
// thread, a main thread under a lowered ulimit).

namespace tap::vbs {

// The lowest address a procedure call may start at on this thread; `here`
// is the frame of the caller, for when the thread's stack is unknown.
const char* call_stack_limit(const char* here);

}  // namespace tap::vbs
