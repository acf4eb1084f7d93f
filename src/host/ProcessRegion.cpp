#include "host/ProcessRegion.h"

#include <cstring>
#include <stdexcept>

#include "platform/os/process.h"
#include "taplayback/region.h"

namespace tap::host {

std::string ProcessRegion::name_for(std::uint32_t pid) {
  return TAP_REGION_NAME_PREFIX + std::to_string(pid);
}

ProcessRegion::ProcessRegion() {
  os::SharedMemory::Status status{};
  std::string name = name_for(os::current_process_id());
  region_ = os::SharedMemory::create(name, TAP_REGION_SIZE, &status);
  if (!region_ && status == os::SharedMemory::Status::exists) {
    // The name carries this process's id, so a region already there was
    // left by an earlier process of the same id that did not end cleanly.
    os::SharedMemory::remove(name);
    region_ = os::SharedMemory::create(name, TAP_REGION_SIZE, &status);
  }
  if (!region_) throw std::runtime_error("cannot create the shared-memory region " + name);
  if (!region_->map(TAP_REGION_SIZE))
    throw std::runtime_error("cannot map the shared-memory region " + name);
  set_interface("gpib", "instr");
}

void ProcessRegion::put_text(std::size_t offset, std::size_t size, std::string_view text) {
  if (text.size() >= size) throw std::length_error("text too long for its region field");
  std::memset(bytes() + offset, 0, size);
  std::memcpy(bytes() + offset, text.data(), text.size());
}

void ProcessRegion::set_playback_path(std::string_view path) {
  put_text(TAP_REGION_PATH_OFFSET, TAP_REGION_PATH_SIZE, path);
}

void ProcessRegion::set_next_stream_index(std::uint32_t index) {
  std::memcpy(bytes() + TAP_REGION_NEXT_STREAM_OFFSET, &index, sizeof index);
}

std::uint32_t ProcessRegion::next_stream_index() const {
  std::uint32_t index = 0;
  std::memcpy(&index, region_->view() + TAP_REGION_NEXT_STREAM_OFFSET, sizeof index);
  return index;
}

void ProcessRegion::set_interface(std::string_view kind, std::string_view resource_class) {
  put_text(TAP_REGION_INTERFACE_OFFSET, TAP_REGION_INTERFACE_SIZE, kind);
  put_text(TAP_REGION_CLASS_OFFSET, TAP_REGION_CLASS_SIZE, resource_class);
}

}  // namespace tap::host
