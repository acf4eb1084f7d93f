#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace tap::os {

// A named shared-memory region, opened as a handle and then mapped as a
// view, the two steps a Windows file mapping has. Names are given in their
// Windows form ("Local\name"); the POSIX object is "/name".
class SharedMemory {
 public:
  enum class Status { ok, not_found, refused, map_failed, exists };

  SharedMemory(const SharedMemory&) = delete;
  SharedMemory& operator=(const SharedMemory&) = delete;
  ~SharedMemory();

  // Opens an existing region read-write. Because every user sees POSIX
  // shared memory, a region owned by another user or open to group or
  // others is refused, as a foreign "Local\" object would be on Windows.
  static std::unique_ptr<SharedMemory> open_existing(std::string_view windows_name, Status* status);

  // Creates a new region of `size` zeroed bytes with owner-only access; it
  // is removed from the namespace when this object is destroyed.
  static std::unique_ptr<SharedMemory> create(std::string_view windows_name, std::size_t size,
                                              Status* status);

  static std::string posix_name(std::string_view windows_name);

  // Removes a region from the namespace (mappings of it stay valid). A
  // Windows file mapping leaves it by itself with its last handle.
  static void remove(std::string_view windows_name);

  // Maps the first `size` bytes; false when the region is shorter or the
  // mapping fails. A mapped region that another process shrinks faults on
  // the next access, so a reader that must survive that uses the
  // descriptor calls below instead.
  bool map(std::size_t size);

  // Copies bytes through the handle; false when the region does not hold
  // all of [offset, offset + size) now, or there is no handle.
  bool read_at(std::size_t offset, void* into, std::size_t size) const;
  // Never grows the region: false when it is shorter than offset + size.
  bool write_at(std::size_t offset, const void* from, std::size_t size);
  // The current size, or 0 without a handle.
  std::size_t size() const;
  // Sets the size, as a host may; false without a handle or on failure,
  // and always on Windows, where a mapping's size is fixed.
  bool resize(std::size_t size);
  unsigned char* view() const { return view_; }
  std::size_t view_size() const { return view_size_; }

  void close_handle();
  void unmap();

#ifdef _WIN32
  // A file mapping keeps the size it was created with, so the calls above
  // go through a view of all of it, which stays valid while it is held.
  bool has_handle() const { return mapping_ != nullptr; }

 private:
  SharedMemory(void* mapping, unsigned char* whole, std::size_t whole_size);

  void* mapping_;
  unsigned char* whole_;
  std::size_t whole_size_;
#else
  bool has_handle() const { return fd_ >= 0; }

 private:
  SharedMemory(int fd, std::string name, bool owner);

  int fd_;
  std::string name_;
  bool owner_;
#endif
  unsigned char* view_ = nullptr;
  std::size_t view_size_ = 0;
};

}  // namespace tap::os
