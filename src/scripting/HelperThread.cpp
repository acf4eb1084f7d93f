#include "scripting/HelperThread.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "diag/resource_string.h"
#include "driver/Engine.h"
#include "platform/os/ManualResetEvent.h"
#include "platform/os/RequestLock.h"
#include "platform/os/RequestQueue.h"

namespace tap {
namespace {

enum class Request { run_script, load_file, match_regexp, quit };

// What the worker owns: created on the worker at start-up, used only there.
struct WorkerObjects {
  // No script host exists yet, so loads are skipped as they are for a
  // machine without one.
  bool host_unavailable = true;
};

struct Worker {
  os::RequestLock request_lock;
  std::unique_ptr<os::ManualResetEvent> completion;
  std::unique_ptr<std::thread> thread;
  os::RequestQueue<Request> queue;
  // Request slots, filled under the request lock.
  Engine* session_slot = nullptr;
  std::atomic<bool> fail_next_start{false};

  ~Worker() {
    // The worker runs code of this library, so it must end before unload.
    if (thread) {
      queue.post(Request::quit);
      thread->join();
    }
  }
};

Worker& worker() {
  static Worker w;
  return w;
}

void serve(Worker& w) {
  WorkerObjects objects;
  w.completion->set();
  for (;;) {
    Request r = w.queue.take();
    switch (r) {
      case Request::quit:
        return;
      case Request::load_file:
        if (!objects.host_unavailable) w.session_slot->LoadPlaybackFile();
        break;
      case Request::run_script:
      case Request::match_regexp:
        break;
    }
    w.completion->set();
  }
}

[[noreturn]] void raise_init_failed() {
  resource_string message(msg_scripting_init_failed);
  const char* text = message.ansi();
  throw HelperThread::InitFailed(text ? text : "");
}

}  // namespace

void HelperThread::Start() {
  Worker& w = worker();
  std::lock_guard lock(w.request_lock);
  if (w.thread) return;
  try {
    if (w.fail_next_start.exchange(false)) raise_init_failed();
    w.completion = std::make_unique<os::ManualResetEvent>();
    try {
      w.thread = std::make_unique<std::thread>(serve, std::ref(w));
    } catch (const std::system_error&) {
      raise_init_failed();
    }
    w.completion->wait();
    w.completion->reset();
  } catch (...) {
    w.thread.reset();
    w.completion.reset();
    throw;
  }
}

void HelperThread::LoadFile(Engine* session) {
  Start();
  Worker& w = worker();
  std::lock_guard lock(w.request_lock);
  w.session_slot = session;
  w.queue.post(Request::load_file);
  w.completion->wait();
  w.completion->reset();
  w.session_slot = nullptr;
}

void HelperThread::fail_next_start_for_testing() { worker().fail_next_start = true; }

}  // namespace tap
