#include "host/DriverHost.h"

#include <cstring>
#include <stdexcept>

namespace tap::host {

std::string DriverHost::default_library_path() {
#ifdef _WIN32
  return os::DynamicLibrary::executable_dir() + "\\taplayback.dll";
#else
  return os::DynamicLibrary::executable_dir() + "/libtaplayback.so";
#endif
}

DriverHost::DriverHost(const std::string& library_path, const char* export_name) {
  std::string error;
  library_ = os::DynamicLibrary::load(library_path, &error);
  if (!library_) throw std::runtime_error("cannot load the driver: " + error);
  driver_.fill(kRecordPattern);
  info_.fill(kRecordPattern);
  // A host clears the name buffer it hands over; the driver writes no terminator.
  std::memset(info_.data() + VARNEL_INFO_NAME_OFFSET, 0, VARNEL_INFO_NAME_SIZE);
  entry_status_ = call_export(export_name, driver_, info_);
}

std::int32_t DriverHost::call_export(
    const char* name, std::array<unsigned char, VARNEL_DRIVER_RECORD_MIN_SIZE>& driver,
    std::array<unsigned char, VARNEL_INFO_RECORD_MIN_SIZE>& info) const {
  auto fn = reinterpret_cast<VarnelGetEntryFn>(library_->symbol(name));
  if (!fn) throw std::runtime_error(std::string("the driver does not export ") + name);
  return fn(driver.data(), info.data());
}

void* DriverHost::slot(int index) const {
  if (index < 0 || index >= VARNEL_DRIVER_SLOT_COUNT) throw std::out_of_range("no such slot");
  void* p = nullptr;
  std::memcpy(&p, driver_.data() + VARNEL_DRIVER_SLOTS_OFFSET + index * sizeof(void*), sizeof p);
  return p;
}

template <typename Fn>
Fn DriverHost::entry(int index) const {
  void* p = slot(index);
  if (!p) throw std::runtime_error("the driver left slot " + std::to_string(index) + " empty");
  return reinterpret_cast<Fn>(p);
}

std::string DriverHost::driver_name() const {
  const auto* name = reinterpret_cast<const char*>(info_.data() + VARNEL_INFO_NAME_OFFSET);
  return std::string(name, strnlen(name, VARNEL_INFO_NAME_SIZE));
}

std::uint32_t DriverHost::driver_kind() const {
  std::uint32_t kind = 0;
  std::memcpy(&kind, info_.data() + VARNEL_INFO_KIND_OFFSET, sizeof kind);
  return kind;
}

std::int32_t DriverHost::open(const OpenArgs& a, VarnelSession* session) const {
  return entry<VarnelOpenFn>(VARNEL_SLOT_OPEN)(a.address.c_str(), a.primary, a.secondary,
                                                a.protocol, a.bracket.c_str(), a.colon.c_str(),
                                                a.extra, session);
}

std::int32_t DriverHost::close(VarnelSession session) const {
  return entry<VarnelCloseFn>(VARNEL_SLOT_CLOSE)(session);
}

std::int32_t DriverHost::write(VarnelSession session, std::uint32_t flags, std::int32_t timeout,
                               const std::uint8_t* bytes, std::uint32_t count,
                               std::uint32_t* actual) const {
  return entry<VarnelWriteFn>(VARNEL_SLOT_WRITE)(session, flags, timeout, bytes, count, actual);
}

std::int32_t DriverHost::read(VarnelSession session, std::uint32_t flags, std::int32_t timeout,
                              std::uint8_t termination, std::uint8_t* buffer, std::uint32_t count,
                              std::uint32_t* actual, std::int32_t* stop_reason) const {
  return entry<VarnelReadFn>(VARNEL_SLOT_READ)(session, flags, timeout, termination, buffer, count,
                                               actual, stop_reason);
}

std::int32_t DriverHost::docommand(VarnelSession session, std::uint32_t flags,
                                   std::int32_t timeout, std::uint32_t command, std::int32_t size,
                                   std::int32_t extra, std::uint8_t* data) const {
  return entry<VarnelDoCommandFn>(VARNEL_SLOT_DOCOMMAND)(session, flags, timeout, command, size,
                                                         extra, data);
}

std::int32_t DriverHost::lock(VarnelSession session) const {
  return entry<VarnelLockFn>(VARNEL_SLOT_LOCK)(session);
}

std::int32_t DriverHost::unlock(VarnelSession session) const {
  return entry<VarnelUnlockFn>(VARNEL_SLOT_UNLOCK)(session);
}

}  // namespace tap::host
