#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/os/SharedMemory.h"

namespace tap::host {

// The host's side of the per-process region: it creates the region for
// this process and fills the fields the driver reads.
class ProcessRegion {
 public:
  // Throws std::runtime_error when the region cannot be created (one may
  // already exist for this process).
  ProcessRegion();

  static std::string name_for(std::uint32_t pid);

  // Paths longer than the field are refused rather than cut short.
  void set_playback_path(std::string_view path);
  void set_next_stream_index(std::uint32_t index);
  std::uint32_t next_stream_index() const;
  void set_interface(std::string_view kind, std::string_view resource_class);

  unsigned char* bytes() { return region_->view(); }

 private:
  void put_text(std::size_t offset, std::size_t size, std::string_view text);

  std::unique_ptr<os::SharedMemory> region_;
};

}  // namespace tap::host
