#pragma once
// What a run may use: time up to its deadline, and memory through the
// engine's meter. Work is counted in units (a statement, a loop pass or a
// call is one; built-ins count the characters and elements they go
// through) and the clock is read once a quantum of units is spent. The
// quantum adapts to how long it took, so the clock is read at about the
// same interval however costly a unit turns out to be.
#include <cstddef>
#include <cstdint>

#include "platform/com/MemoryMeter.h"

namespace tap::vbs {

class RunLimits {
 public:
  static constexpr std::size_t default_memory_limit = std::size_t{256} << 20;

  RunLimits();
  ~RunLimits();
  RunLimits(const RunLimits&) = delete;
  RunLimits& operator=(const RunLimits&) = delete;

  // -1: no limit. Takes effect at the next start().
  void set_timeout(std::int32_t ms) { timeout_ms_ = ms; }
  void set_memory_limit(std::size_t bytes) { meter_->set_budget(bytes); }
  std::size_t memory_limit() const { return meter_->budget(); }
  std::size_t memory_used() const { return meter_->used(); }
  com::MemoryMeter* meter() const { return meter_; }

  // Starts the clock for one host call.
  void start();

  void tick() {
    if (--units_ < 0) check();
  }
  void spend(std::size_t units) {
    units_ -= static_cast<std::int64_t>(units);
    if (units_ < 0) check();
  }
  // Reads the clock; throws the time-out abort past the deadline.
  void check();
  // Once the time-out has been thrown the run is aborting until the next
  // start(): every later check throws again, and script code run by
  // destructors on the way out (Class_Terminate) is not started.
  bool aborting() const { return aborting_; }
  // Milliseconds to the deadline (0 once passed); -1 without one.
  std::int64_t remaining_ms() const;
  // Ends the run with the time-out, for a built-in that was given the
  // time left and ran into it by its own clock.
  [[noreturn]] void time_out() { abort(); }

  // The limits of the run on this thread, for built-ins and objects that
  // have no engine at hand; null outside runs.
  static RunLimits* active() { return active_; }
  static void poll(std::size_t units) {
    if (RunLimits* l = active_) l->spend(units);
  }

  // Makes these limits and their meter the thread's active ones for a
  // scope (one host call).
  class Activation {
   public:
    explicit Activation(RunLimits& limits) : saved_(active_), meter_(limits.meter_) { active_ = &limits; }
    ~Activation() { active_ = saved_; }
    Activation(const Activation&) = delete;
    Activation& operator=(const Activation&) = delete;

   private:
    RunLimits* saved_;
    com::MemoryMeter::Activation meter_;
  };

 private:
  [[noreturn]] void abort();

  com::MemoryMeter* meter_;
  std::int32_t timeout_ms_ = -1;
  std::int64_t deadline_ = 0;  // performance counter; 0: none
  std::int64_t last_check_ = 0;
  std::int64_t units_ = 0;
  std::int64_t quantum_ = 0;
  bool aborting_ = false;
  static constinit thread_local RunLimits* active_;
};

}  // namespace tap::vbs
