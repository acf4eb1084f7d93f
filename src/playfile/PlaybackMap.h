#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace tap {
namespace os {
class SharedMemory;
}

// The driver's view of the host's per-process region: the playback file's
// path, the next-stream index and the interface kind. One per load; it
// attaches at most once and releases handle and view when destroyed.
class PlaybackMap {
 public:
  PlaybackMap();
  PlaybackMap(const PlaybackMap&) = delete;
  PlaybackMap& operator=(const PlaybackMap&) = delete;
  virtual ~PlaybackMap();

  // Opens and maps the region and reads the path; false when it cannot. A
  // path field with no NUL in its bytes names no file and fails too.
  bool Attach();
  bool GetPlaybackFile(std::string& path, std::uint32_t& next_index);
  // One of the InterfaceKindCode values; kind_unknown without a region.
  std::int32_t GetInterfaceKind();
  void SetNextStreamIndex(std::uint32_t value);

  bool has_handle() const;
  bool has_view() const;

 private:
  std::string path_;
  std::unique_ptr<os::SharedMemory> region_;
};

}  // namespace tap
