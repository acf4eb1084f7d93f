#include "driver/entries.h"

#include <cstring>
#include <new>
#include <string>

#include "driver/DriverTrace.h"
#include "driver/Engine.h"
#include "driver/SessionRegistry.h"
#include "driver/status.h"

namespace tap {
namespace {

// Read once, as the library is loaded and before any entry can be called;
// while it is null every entry pays one branch on it.
DriverTrace* const trace_file = DriverTrace::from_environment();

Engine* engine_of(VarnelSession session) { return static_cast<Engine*>(session); }

// A handle the driver never gave out, or one already closed, is refused
// like a null one instead of being followed.
bool known(VarnelSession session) { return Sessions().contains(session); }

// Each entry checks its arguments, then asks the session. With the trace
// on, the same happens and one line records it; the session is named to
// the trace only when the call reached it.
std::int32_t open_session(const char* address, std::uint32_t primary, std::uint32_t secondary,
                          std::uint32_t protocol, const char* bracket, const char* colon,
                          std::uint64_t extra, VarnelSession* session, Engine** opened) {
  if (!session) return status::internal_error;
  Engine* engine = new (std::nothrow) Engine();
  *session = engine;
  if (!engine) return status::internal_error;
  std::int32_t result = engine->Open(address, primary, secondary, protocol, bracket, colon, extra);
  if (result != status::ok) {
    delete engine;
    return result;
  }
  try {
    Sessions().add(engine);
  } catch (...) {
    delete engine;
    return status::internal_error;
  }
  *opened = engine;
  return result;
}

std::int32_t PlaybackOpen(const char* address, std::uint32_t primary, std::uint32_t secondary,
                          std::uint32_t protocol, const char* bracket, const char* colon,
                          std::uint64_t extra, VarnelSession* session) {
  Engine* opened = nullptr;
  const std::int32_t result =
      open_session(address, primary, secondary, protocol, bracket, colon, extra, session, &opened);
  if (DriverTrace* trace = trace_file) [[unlikely]]
    trace->open(address, primary, secondary, protocol, bracket, colon, extra, opened, result);
  return result;
}

std::int32_t close_session(VarnelSession session) {
  if (!session) return status::ok;
  if (!Sessions().remove(session)) return status::internal_error;
  delete engine_of(session);
  return status::ok;
}

std::int32_t PlaybackClose(VarnelSession session) {
  const std::int32_t result = close_session(session);
  if (DriverTrace* trace = trace_file) [[unlikely]] trace->close(session, result);
  return result;
}

bool write_valid(VarnelSession session, const std::uint8_t* buffer, std::uint32_t count,
                 const std::uint32_t* actual) {
  return known(session) && actual && (buffer || count == 0);
}

std::int32_t PlaybackWrite(VarnelSession session, std::uint32_t flags, std::int32_t timeout,
                           const std::uint8_t* buffer, std::uint32_t count, std::uint32_t* actual) {
  if (DriverTrace* trace = trace_file) [[unlikely]] {
    Engine* engine = write_valid(session, buffer, count, actual) ? engine_of(session) : nullptr;
    const std::int32_t result =
        engine ? engine->Write(flags, timeout, buffer, count, actual) : status::internal_error;
    trace->write(session, engine, flags, timeout, buffer, count, actual, result,
                 engine ? CallAnswer::of_write(*engine, result) : CallAnswer{});
    return result;
  }
  if (!write_valid(session, buffer, count, actual)) return status::internal_error;
  return engine_of(session)->Write(flags, timeout, buffer, count, actual);
}

bool read_valid(VarnelSession session, const std::uint8_t* buffer, std::uint32_t count,
                const std::uint32_t* actual, const std::int32_t* stop_reason) {
  return known(session) && actual && stop_reason && (buffer || count == 0);
}

std::int32_t PlaybackRead(VarnelSession session, std::uint32_t flags, std::int32_t timeout,
                          std::uint8_t termination, std::uint8_t* buffer, std::uint32_t count,
                          std::uint32_t* actual, std::int32_t* stop_reason) {
  if (DriverTrace* trace = trace_file) [[unlikely]] {
    Engine* engine =
        read_valid(session, buffer, count, actual, stop_reason) ? engine_of(session) : nullptr;
    const CallAnswer::BeforeRead before = engine ? CallAnswer::before_read(*engine) : CallAnswer::BeforeRead{};
    const std::int32_t result =
        engine ? engine->Read(flags, timeout, termination, buffer, count, actual, stop_reason)
               : status::internal_error;
    trace->read(session, engine, flags, timeout, termination, buffer, count, actual, stop_reason,
                result, engine ? CallAnswer::of_read(before, result, *actual) : CallAnswer{});
    return result;
  }
  if (!read_valid(session, buffer, count, actual, stop_reason)) return status::internal_error;
  return engine_of(session)->Read(flags, timeout, termination, buffer, count, actual, stop_reason);
}

bool docommand_valid(VarnelSession session, std::int32_t size, const std::uint8_t* data) {
  return known(session) && (data || size <= 0);
}

std::int32_t PlaybackDoCommand(VarnelSession session, std::uint32_t flags, std::int32_t timeout,
                               std::uint32_t command, std::int32_t size, std::int32_t extra,
                               std::uint8_t* data) {
  if (DriverTrace* trace = trace_file) [[unlikely]] {
    Engine* engine = docommand_valid(session, size, data) ? engine_of(session) : nullptr;
    // The call overwrites the block: the trace shows it as it came in.
    const std::string in(DriverTrace::shown_block(data, size));
    const std::int32_t entry =
        engine ? CallAnswer::docommand_entry(*engine, command, flags, size, data) : -1;
    const std::int32_t result = engine ? engine->DoCommand(flags, timeout, command, size, extra, data)
                                       : status::internal_error;
    trace->docommand(session, engine, flags, timeout, command, size, extra, in, data, result,
                     engine ? CallAnswer::of_docommand(*engine, entry, result) : CallAnswer{});
    return result;
  }
  if (!docommand_valid(session, size, data)) return status::internal_error;
  return engine_of(session)->DoCommand(flags, timeout, command, size, extra, data);
}

std::int32_t PlaybackLock(VarnelSession session) {
  const std::int32_t result = known(session) ? engine_of(session)->Lock() : status::internal_error;
  if (DriverTrace* trace = trace_file) [[unlikely]]
    trace->lock("lock", session, known(session) ? engine_of(session) : nullptr, result);
  return result;
}

std::int32_t PlaybackUnlock(VarnelSession session) {
  const std::int32_t result = known(session) ? engine_of(session)->Unlock() : status::internal_error;
  if (DriverTrace* trace = trace_file) [[unlikely]]
    trace->lock("unlock", session, known(session) ? engine_of(session) : nullptr, result);
  return result;
}

std::int32_t PlaybackNoOp() { return status::ok; }

template <typename Fn>
void* slot(Fn fn) {
  return reinterpret_cast<void*>(fn);
}

}  // namespace

std::int32_t fill_entry_records(void* driver_record, void* info_record) {
  static_assert(sizeof(void*) == 8, "the driver record holds 8-byte slots");
  void* const slots[VARNEL_DRIVER_SLOT_COUNT] = {
      slot(&PlaybackOpen), slot(&PlaybackClose), slot(&PlaybackWrite), slot(&PlaybackRead),
      slot(&PlaybackDoCommand), nullptr, nullptr, slot(&PlaybackLock), slot(&PlaybackUnlock),
      slot(&PlaybackNoOp), slot(&PlaybackNoOp), slot(&PlaybackNoOp), nullptr, slot(&PlaybackNoOp)};
  auto* driver = static_cast<unsigned char*>(driver_record);
  auto* info = static_cast<unsigned char*>(info_record);
  if (driver) std::memcpy(driver + VARNEL_DRIVER_SLOTS_OFFSET, slots, sizeof slots);
  if (info) {
    static constexpr char name[] = VARNEL_DRIVER_NAME;
    std::memcpy(info + VARNEL_INFO_NAME_OFFSET, name, sizeof name - 1);
    const std::uint32_t kind = VARNEL_DRIVER_KIND;
    std::memcpy(info + VARNEL_INFO_KIND_OFFSET, &kind, sizeof kind);
  }
  return status::ok;
}

}  // namespace tap
