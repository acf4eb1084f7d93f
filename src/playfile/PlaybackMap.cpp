#include "playfile/PlaybackMap.h"

#include <cstring>

#include "platform/os/SharedMemory.h"
#include "platform/os/process.h"
#include "playfile/InterfaceKind.h"
#include "taplayback/region.h"

namespace tap {
namespace {

// A fixed text field up to its NUL; `terminated` tells whether it had one.
std::string field_text(const char* field, std::size_t size, bool* terminated) {
  const void* nul = std::memchr(field, 0, size);
  if (terminated) *terminated = nul != nullptr;
  std::size_t n = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : size;
  return std::string(field, n);
}

}  // namespace

PlaybackMap::PlaybackMap() = default;

PlaybackMap::~PlaybackMap() {
  if (region_) region_->close_handle();
}

bool PlaybackMap::has_handle() const { return region_ && region_->has_handle(); }

bool PlaybackMap::Attach() {
  try {
    if (!attached_) {
      std::string name = TAP_REGION_NAME_PREFIX + std::to_string(os::current_process_id());
      os::SharedMemory::Status status{};
      auto region = os::SharedMemory::open_existing(name, &status);
      if (!region) throw std::runtime_error("The Shared Memory Region could not be opened.");
      if (region->size() < TAP_REGION_SIZE)
        throw std::runtime_error("The Shared Memory Region could not be mapped.");
      region_ = std::move(region);
      attached_ = true;
    }
    char field[TAP_REGION_PATH_SIZE];
    if (!region_->read_at(TAP_REGION_PATH_OFFSET, field, sizeof field)) throw region_lost();
    bool terminated = false;
    path_ = field_text(field, sizeof field, &terminated);
    // The host always terminates the path; a field without a NUL is not one.
    if (!terminated) throw std::runtime_error("The playback file path is not terminated.");
    return true;
  } catch (const std::exception&) {
    path_.clear();
    return false;
  }
}

bool PlaybackMap::GetPlaybackFile(std::string& path, std::uint32_t& next_index) {
  std::uint32_t index = 0;
  if (!Attach() || !region_->read_at(TAP_REGION_NEXT_STREAM_OFFSET, &index, sizeof index)) {
    path.clear();
    return false;
  }
  path = path_;
  next_index = index;
  return true;
}

std::int32_t PlaybackMap::GetInterfaceKind() {
  if (!attached_ && !Attach()) return kind_unknown;
  static_assert(TAP_REGION_CLASS_OFFSET == TAP_REGION_INTERFACE_OFFSET + TAP_REGION_INTERFACE_SIZE);
  char fields[TAP_REGION_INTERFACE_SIZE + TAP_REGION_CLASS_SIZE];
  if (!region_->read_at(TAP_REGION_INTERFACE_OFFSET, fields, sizeof fields)) throw region_lost();
  std::string kind = field_text(fields, TAP_REGION_INTERFACE_SIZE, nullptr);
  std::string cls = field_text(fields + TAP_REGION_INTERFACE_SIZE, TAP_REGION_CLASS_SIZE, nullptr);
  return interface_kind_code(kind, cls);
}

void PlaybackMap::SetNextStreamIndex(std::uint32_t value) {
  if (attached_ && !region_->write_at(TAP_REGION_NEXT_STREAM_OFFSET, &value, sizeof value))
    throw region_lost();
}

}  // namespace tap
