#include "driver/entries.h"

#include <cstring>
#include <new>

#include "driver/Engine.h"
#include "driver/SessionRegistry.h"
#include "driver/status.h"

namespace tap {
namespace {

Engine* engine_of(VarnelSession session) { return static_cast<Engine*>(session); }

// A handle the driver never gave out, or one already closed, is refused
// like a null one instead of being followed.
bool known(VarnelSession session) { return Sessions().contains(session); }

std::int32_t PlaybackOpen(const char* address, std::uint32_t primary, std::uint32_t secondary,
                          std::uint32_t protocol, const char* bracket, const char* colon,
                          std::uint64_t extra, VarnelSession* session) {
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
  return result;
}

std::int32_t PlaybackClose(VarnelSession session) {
  if (!session) return status::ok;
  if (!Sessions().remove(session)) return status::internal_error;
  delete engine_of(session);
  return status::ok;
}

std::int32_t PlaybackWrite(VarnelSession session, std::uint32_t flags, std::int32_t timeout,
                           const std::uint8_t* buffer, std::uint32_t count, std::uint32_t* actual) {
  if (!known(session) || !actual || (!buffer && count != 0)) return status::internal_error;
  return engine_of(session)->Write(flags, timeout, buffer, count, actual);
}

std::int32_t PlaybackRead(VarnelSession session, std::uint32_t flags, std::int32_t timeout,
                          std::uint8_t termination, std::uint8_t* buffer, std::uint32_t count,
                          std::uint32_t* actual, std::int32_t* stop_reason) {
  if (!known(session) || !actual || !stop_reason || (!buffer && count != 0))
    return status::internal_error;
  return engine_of(session)->Read(flags, timeout, termination, buffer, count, actual, stop_reason);
}

std::int32_t PlaybackDoCommand(VarnelSession session, std::uint32_t flags, std::int32_t timeout,
                               std::uint32_t command, std::int32_t size, std::int32_t extra,
                               std::uint8_t* data) {
  if (!known(session) || (!data && size > 0)) return status::internal_error;
  return engine_of(session)->DoCommand(flags, timeout, command, size, extra, data);
}

std::int32_t PlaybackLock(VarnelSession session) {
  if (!known(session)) return status::internal_error;
  return engine_of(session)->Lock();
}

std::int32_t PlaybackUnlock(VarnelSession session) {
  if (!known(session)) return status::internal_error;
  return engine_of(session)->Unlock();
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
