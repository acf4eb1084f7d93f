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
#include "platform/os/code_page.h"
#include "scripting/PlaybackServerData.h"
#include "scripting/WorkerServices.h"

namespace tap {
namespace {

// Posted request messages; all data travels in the slots.
enum class Request { run_script, load_file, match_regexp, quit };

struct Worker {
  os::RequestLock request_lock;
  std::unique_ptr<os::ManualResetEvent> completion;
  std::unique_ptr<std::thread> thread;
  os::RequestQueue<Request> queue;
  std::function<WorkerServices()> services_factory;
  std::atomic<bool> fail_next_start{false};
  std::atomic<bool> display_errors{false};

  // Request slots, owned by whoever holds the request lock.
  std::string code_slot;
  std::string procedure_slot;
  std::uint32_t timeout_slot = 0;
  PlaybackServerData* data_slot = nullptr;
  Engine* session_slot = nullptr;
  std::u16string subject_slot;
  std::u16string pattern_slot;
  bool ignore_case_slot = false;
  bool matched_slot = false;

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

Worker& worker() {
  static Worker w;
  return w;
}

// A zero byte ends the text, as the conversion to a platform string does.
std::u16string wide_up_to_zero(const std::string& bytes) {
  return os::ansi_to_wide(std::string_view(bytes.c_str()));
}

void run_script(Worker& w, ScriptHost& host) {
  w.display_errors = false;
  try {
    host.Reset();
    host.SetTimeout(static_cast<std::int32_t>(w.timeout_slot));
    host.AddCode(w.code_slot);
    host.Run(w.procedure_slot, *w.data_slot);
  } catch (...) {
    // No caller can see why a run failed; what the script stored stays.
  }
}

void match_regexp(Worker& w, RegExpEngine& regex) {
  try {
    auto groups = regex.Execute(w.subject_slot, w.pattern_slot, w.ignore_case_slot);
    if (!groups) return;
    w.matched_slot = true;
    auto& captures = w.data_slot->captures;
    captures.resize(groups->size());
    for (std::size_t i = 0; i < groups->size(); ++i) captures[i] = os::wide_to_ansi((*groups)[i]);
  } catch (...) {
    // The matched slot keeps its last assignment.
  }
}

void serve(Worker& w, WorkerServices services) {
  w.completion->set();
  for (;;) {
    switch (w.queue.take()) {
      case Request::quit:
        return;
      case Request::load_file:
        if (services.host) w.session_slot->LoadPlaybackFile();
        break;
      case Request::run_script:
        if (services.host) run_script(w, *services.host);
        break;
      case Request::match_regexp:
        if (services.regex) match_regexp(w, *services.regex);
        break;
    }
    w.completion->set();
  }
}

void worker_main(Worker& w, std::function<WorkerServices()> factory) {
  WorkerServices services;
  try {
    services = factory ? factory() : create_worker_services();
  } catch (...) {
    // Objects that cannot be created are simply absent.
  }
  serve(w, std::move(services));
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
      w.thread = std::make_unique<std::thread>(worker_main, std::ref(w), w.services_factory);
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
  carry_out(w, Request::load_file);
  w.session_slot = nullptr;
}

void HelperThread::RunScript(const std::string& code, const std::string& procedure,
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

bool HelperThread::MatchRegExp(const std::string& subject, const std::string& pattern,
                               PlaybackServerData* data, bool ignore_case) {
  Start();
  Worker& w = worker();
  std::lock_guard lock(w.request_lock);
  w.subject_slot = wide_up_to_zero(subject);
  w.pattern_slot = wide_up_to_zero(pattern);
  w.ignore_case_slot = ignore_case;
  w.data_slot = data;
  w.matched_slot = false;
  carry_out(w, Request::match_regexp);
  w.data_slot = nullptr;
  return w.matched_slot;
}

bool HelperThread::DisplayErrors() { return worker().display_errors; }

void HelperThread::SetDisplayErrors(bool on) { worker().display_errors = on; }

void HelperThread::fail_next_start_for_testing() { worker().fail_next_start = true; }

void HelperThread::set_services_for_testing(std::function<WorkerServices()> factory) {
  Worker& w = worker();
  std::lock_guard lock(w.request_lock);
  w.services_factory = std::move(factory);
}

void HelperThread::stop_for_testing() {
  Worker& w = worker();
  std::lock_guard lock(w.request_lock);
  w.stop();
}

}  // namespace tap
