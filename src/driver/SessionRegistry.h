#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace tap {

// The handles of the sessions that are open now, so that an entry can
// refuse a handle it never gave out or that was closed already instead of
// following it. Lookups take no lock and cost a few nanoseconds; opens and
// closes take a mutex. The host still owns handle validity: a session
// closed while another thread is inside one of its calls is not guarded.
class SessionRegistry {
 public:
  SessionRegistry();
  ~SessionRegistry();
  SessionRegistry(const SessionRegistry&) = delete;
  SessionRegistry& operator=(const SessionRegistry&) = delete;

  void add(const void* session);
  // False when the session was not registered.
  bool remove(const void* session);
  bool contains(const void* session) const;

 private:
  // Open addressing over atomic slots; a table is replaced, never resized
  // in place, so a lookup running during a replacement still probes a
  // complete table. Replaced tables stay allocated until the registry
  // ends: they grow geometrically, so they add up to less than the last.
  struct Table {
    explicit Table(std::size_t capacity);
    std::size_t mask;
    std::unique_ptr<std::atomic<std::uintptr_t>[]> slots;
  };
  static constexpr std::uintptr_t kEmpty = 0, kRemoved = 1;

  static std::size_t home(const Table& t, std::uintptr_t key);
  void rebuild(std::size_t capacity);

  std::mutex writers_;
  std::atomic<Table*> table_;
  std::vector<std::unique_ptr<Table>> tables_;
  std::size_t live_ = 0, removed_ = 0;
};

// The process-wide registry of the driver's sessions.
SessionRegistry& Sessions();

}  // namespace tap
