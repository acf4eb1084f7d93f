#pragma once
#include <cstddef>
#include <new>

namespace tap::os {

// Memory for many small objects that all die together: taken from blocks
// of pages in order and given back to the system in one step when the
// arena is destroyed, so nothing of it stays behind in the allocator.
// Objects placed here are never destroyed one by one.
class MemoryArena {
 public:
  MemoryArena() = default;
  MemoryArena(const MemoryArena&) = delete;
  MemoryArena& operator=(const MemoryArena&) = delete;
  ~MemoryArena();

  // Throws std::bad_alloc when the system has no pages left.
  void* allocate(std::size_t size, std::size_t align = alignof(std::max_align_t));

  template <typename T>
  T* allocate_array(std::size_t count) {
    static_assert(alignof(T) <= alignof(std::max_align_t));
    if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    return static_cast<T*>(allocate(sizeof(T) * count, alignof(T)));
  }

 private:
  struct Block {
    Block* previous;
    std::size_t size;
  };
  void add_block(std::size_t at_least);

  Block* last_ = nullptr;
  char* cursor_ = nullptr;
  char* end_ = nullptr;
  std::size_t next_size_ = std::size_t{256} << 10;
};

}  // namespace tap::os
