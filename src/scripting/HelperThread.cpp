#include "scripting/HelperThread.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <system_error>

#include "diag/resource_string.h"
#include "platform/os/ManualResetEvent.h"
#include "platform/os/RequestLock.h"
#include "platform/os/RequestQueue.h"
#include "platform/os/Thread.h"
#include "platform/os/code_page.h"
#include "platform/os/module_lifetime.h"
#include "platform/regex/match_ansi.h"
#include "scripting/PlaybackServerData.h"
#include "scripting/WorkerServices.h"

namespace tap {
namespace {

// Scripts recurse on this stack and bound their depth by it: its size is
// chosen here, not left to the host's defaults or ulimit.
constexpr std::size_t worker_stack_bytes = std::size_t{8} << 20;

// Posted request messages; all data travels in the slots.
enum class Request { run_script, load_file, match_regexp, quit };

struct Worker {
  os::RequestLock request_lock;
  std::unique_ptr<os::ManualResetEvent> completion;
  std::unique_ptr<os::Thread> thread;
  os::RequestQueue<Request> queue;
  WorkerServices::Faults faults;
  std::atomic<bool> fail_next_start{false};
  std::atomic<bool> display_errors{false};

  // Request slots, owned by whoever holds the request lock. The texts are
  // the caller's, which waits while the worker reads them.
  std::string_view code_slot;
  std::string_view procedure_slot;
  std::uint32_t timeout_slot = 0;
  PlaybackServerData* data_slot = nullptr;
  const std::function<void()>* job_slot = nullptr;
  std::string_view subject_slot;
  std::string_view pattern_slot;
  bool ignore_case_slot = false;
  bool matched_slot = false;

  // Written by the worker while it serves a request, read by callers
  // under the request lock.
  HelperThread::Failure last_failure;

  void stop() {
    if (!thread) return;
    queue.post(Request::quit);
    thread->join();
    thread.reset();
    completion.reset();
  }

  // The worker runs code of this library, so it must end before unload.
  ~Worker() { stop(); }
};

// Where the library stays to the end of the process, the process has ended
// the worker's thread wherever it stood by the time static objects go,
// perhaps inside the queue's own locking. The worker is then neither waited
// for nor destroyed: destroying its queue could spin forever on a lock that
// the ended thread held.
struct WorkerOwner {
  Worker* worker = new Worker;
  ~WorkerOwner() {
    if (!os::process_is_ending()) delete worker;
  }
};

Worker& worker() {
  static WorkerOwner owner;
  return *owner.worker;
}

void note_failure(Worker& w, std::int32_t number, std::string description, std::int32_t line) {
  w.last_failure = {number, std::move(description), line};
}

void run_script(Worker& w, ScriptRunner& host) {
  w.display_errors = false;
  try {
    vbs::ScriptResult r = host.Run(w.code_slot, w.procedure_slot,
                                   static_cast<std::int32_t>(w.timeout_slot), *w.data_slot);
    if (!r.ok()) note_failure(w, r.number, os::wide_to_ansi(r.description), r.line);
  } catch (const std::exception& e) {
    // No caller can see why a run failed; what the script stored stays.
    note_failure(w, -1, e.what(), 0);
  } catch (...) {
    note_failure(w, -1, "", 0);
  }
}

void match_regexp(Worker& w) {
  try {
    regex::AnsiMatchResult r = regex::match_ansi(w.subject_slot, w.pattern_slot, w.ignore_case_slot);
    if (r.failed()) {
      note_failure(w, static_cast<std::int32_t>(r.status), r.description, 0);
      return;
    }
    if (!r.matched()) return;
    // Only the capture groups are kept, not the text of the whole match.
    w.matched_slot = true;
    w.data_slot->captures = std::move(r.groups);
  } catch (...) {
    // The matched slot keeps its last assignment.
    note_failure(w, -1, "", 0);
  }
}

void serve(Worker& w, WorkerServices services) {
  w.completion->set();
  for (;;) {
    switch (w.queue.take()) {
      case Request::quit:
        return;
      case Request::load_file:
        if (services.host) (*w.job_slot)();
        break;
      case Request::run_script:
        if (services.host) run_script(w, *services.host);
        break;
      case Request::match_regexp:
        if (services.regex_available) match_regexp(w);
        break;
    }
    w.completion->set();
  }
}

void worker_main(Worker& w, WorkerServices::Faults faults) {
  serve(w, WorkerServices::start(faults));
}

[[noreturn]] void raise_init_failed() {
  resource_string message(msg_scripting_init_failed);
  const char* text = message.ansi();
  throw HelperThread::InitFailed(text ? text : "");
}

// Posts the request whose slots the caller filled under the request lock
// and waits for the worker to finish it.
void carry_out(Worker& w, Request r) {
  w.queue.post(r);
  w.completion->wait();
  w.completion->reset();
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
      WorkerServices::Faults faults = w.faults;
      w.thread = std::make_unique<os::Thread>(worker_stack_bytes, [&w, faults] { worker_main(w, faults); });
    } catch (const std::system_error&) {
      raise_init_failed();
    }
    w.completion->wait();
    w.completion->reset();
    os::pin_this_module();
  } catch (...) {
    w.thread.reset();
    w.completion.reset();
    throw;
  }
}

void HelperThread::LoadFile(const std::function<void()>& load) {
  Start();
  Worker& w = worker();
  std::lock_guard lock(w.request_lock);
  w.job_slot = &load;
  carry_out(w, Request::load_file);
  w.job_slot = nullptr;
}

void HelperThread::RunScript(std::string_view code, std::string_view procedure,
                             std::uint32_t timeout, PlaybackServerData* data) {
  Start();
  Worker& w = worker();
  std::lock_guard lock(w.request_lock);
  w.code_slot = code;
  w.procedure_slot = procedure;
  w.timeout_slot = timeout;
  w.data_slot = data;
  carry_out(w, Request::run_script);
  w.data_slot = nullptr;
}

bool HelperThread::MatchRegExp(std::string_view subject, std::string_view pattern,
                               PlaybackServerData* data, bool ignore_case) {
  Start();
  Worker& w = worker();
  std::lock_guard lock(w.request_lock);
  w.subject_slot = subject;
  w.pattern_slot = pattern;
  w.ignore_case_slot = ignore_case;
  w.data_slot = data;
  w.matched_slot = false;
  carry_out(w, Request::match_regexp);
  w.data_slot = nullptr;
  return w.matched_slot;
}

bool HelperThread::DisplayErrors() { return worker().display_errors; }

void HelperThread::SetDisplayErrors(bool on) { worker().display_errors = on; }

HelperThread::Failure HelperThread::LastFailure() {
  Worker& w = worker();
  std::lock_guard lock(w.request_lock);
  return w.last_failure;
}

void HelperThread::fail_next_start_for_testing() { worker().fail_next_start = true; }

void HelperThread::fail_services_for_testing(bool script_host, bool regex) {
  Worker& w = worker();
  std::lock_guard lock(w.request_lock);
  w.faults = {script_host, regex};
}

void HelperThread::stop_for_testing() {
  Worker& w = worker();
  std::lock_guard lock(w.request_lock);
  w.stop();
}

}  // namespace tap
