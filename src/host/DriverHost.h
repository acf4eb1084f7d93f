#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/os/DynamicLibrary.h"
#include "taplayback/varnel.h"

namespace tap::host {

// The address arguments of an open, as a host passes them.
struct OpenArgs {
  std::string address = "GPIB0::22::INSTR";
  std::uint32_t primary = 22;
  std::uint32_t secondary = 0xFFFFFFFF;
  std::uint32_t protocol = 0;
  std::string bracket;
  std::string colon;
  std::uint64_t extra = 0;
};

// Loads the driver as an instrument I/O host does: dlopen, one call of an
// entry export with host-owned records, then calls through the slots.
class DriverHost {
 public:
  // Throws std::runtime_error when the library or the export is missing.
  explicit DriverHost(const std::string& library_path = default_library_path(),
                      const char* export_name = VARNEL_ENTRY_EXPORT);

  // libtaplayback.so beside the running executable.
  static std::string default_library_path();

  // The host's records, pre-filled with a pattern so untouched bytes show.
  static constexpr unsigned char kRecordPattern = 0xA5;
  const std::array<unsigned char, VARNEL_DRIVER_RECORD_MIN_SIZE>& driver_record() const { return driver_; }
  const std::array<unsigned char, VARNEL_INFO_RECORD_MIN_SIZE>& info_record() const { return info_; }
  std::int32_t entry_status() const { return entry_status_; }
  void* slot(int index) const;
  std::string driver_name() const;
  std::uint32_t driver_kind() const;

  std::int32_t open(const OpenArgs& args, VarnelSession* session) const;
  std::int32_t close(VarnelSession session) const;
  std::int32_t write(VarnelSession session, std::uint32_t flags, std::int32_t timeout,
                     const std::uint8_t* bytes, std::uint32_t count, std::uint32_t* actual) const;
  std::int32_t read(VarnelSession session, std::uint32_t flags, std::int32_t timeout,
                    std::uint8_t termination, std::uint8_t* buffer, std::uint32_t count,
                    std::uint32_t* actual, std::int32_t* stop_reason) const;
  std::int32_t docommand(VarnelSession session, std::uint32_t flags, std::int32_t timeout,
                         std::uint32_t command, std::int32_t size, std::int32_t extra,
                         std::uint8_t* data) const;
  std::int32_t lock(VarnelSession session) const;
  std::int32_t unlock(VarnelSession session) const;

  // Calls an entry export again into fresh records (for comparing the two).
  std::int32_t call_export(const char* name,
                           std::array<unsigned char, VARNEL_DRIVER_RECORD_MIN_SIZE>& driver,
                           std::array<unsigned char, VARNEL_INFO_RECORD_MIN_SIZE>& info) const;

 private:
  template <typename Fn>
  Fn entry(int index) const;

  std::unique_ptr<os::DynamicLibrary> library_;
  std::array<unsigned char, VARNEL_DRIVER_RECORD_MIN_SIZE> driver_{};
  std::array<unsigned char, VARNEL_INFO_RECORD_MIN_SIZE> info_{};
  std::int32_t entry_status_ = -1;
};

}  // namespace tap::host
