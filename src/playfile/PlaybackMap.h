#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace tap {
namespace os {
class SharedMemory;
}

// The driver's view of the host's per-process region: the playback file's
// path, the next-stream index and the interface kind. One per load; it
// attaches at most once and releases its handle when destroyed.
//
// The region's bytes are read and written through the handle rather than
// a mapping: the host may shrink the region while a load runs, and a
// mapping would then fault in the middle of the load. Its "view" is the
// region's first TAP_REGION_SIZE bytes, reached that way.
class PlaybackMap {
 public:
  // The region shrank below its fields after it was attached.
  class region_lost : public std::runtime_error {
   public:
    region_lost() : std::runtime_error("The Shared Memory Region could not be mapped.") {}
  };

  PlaybackMap();
  PlaybackMap(const PlaybackMap&) = delete;
  PlaybackMap& operator=(const PlaybackMap&) = delete;
  virtual ~PlaybackMap();

  // Opens the region, checks that it holds its fields and reads the path;
  // false when it cannot. A path field with no NUL in its bytes names no
  // file and fails too.
  bool Attach();
  bool GetPlaybackFile(std::string& path, std::uint32_t& next_index);
  // One of the InterfaceKindCode values; kind_unknown without a region.
  // Throws region_lost when an attached region has shrunk.
  std::int32_t GetInterfaceKind();
  // Does nothing without a view; throws region_lost when an attached
  // region has shrunk.
  void SetNextStreamIndex(std::uint32_t value);

  bool has_handle() const;
  bool has_view() const { return attached_; }

 private:
  std::string path_;
  std::unique_ptr<os::SharedMemory> region_;
  bool attached_ = false;
};

}  // namespace tap
