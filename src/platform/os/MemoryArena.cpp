#include "platform/os/MemoryArena.h"

#include <cstdint>

#include "platform/os/pages.h"

namespace tap::os {
namespace {

constexpr std::size_t kPage = 4096;
constexpr std::size_t kLargestStep = std::size_t{16} << 20;

std::size_t round_to_pages(std::size_t n) { return (n + kPage - 1) / kPage * kPage; }

}  // namespace

MemoryArena::~MemoryArena() {
  while (last_) {
    Block* previous = last_->previous;
    release_pages(last_, last_->size);
    last_ = previous;
  }
}

// Blocks double up to a bound, so a large document costs a few system
// calls; pages of a block that are never written are never made resident.
void MemoryArena::add_block(std::size_t at_least) {
  std::size_t size = next_size_;
  if (at_least + sizeof(Block) > size) size = round_to_pages(at_least + sizeof(Block));
  void* pages = allocate_pages(size);
  if (!pages) throw std::bad_alloc();
  auto* block = static_cast<Block*>(pages);
  block->previous = last_;
  block->size = size;
  last_ = block;
  cursor_ = static_cast<char*>(pages) + sizeof(Block);
  end_ = static_cast<char*>(pages) + size;
  if (next_size_ < kLargestStep) next_size_ *= 2;
}

void* MemoryArena::allocate(std::size_t size, std::size_t align) {
  auto aligned = [&] {
    auto p = reinterpret_cast<std::uintptr_t>(cursor_);
    return reinterpret_cast<char*>((p + align - 1) & ~(static_cast<std::uintptr_t>(align) - 1));
  };
  char* p = cursor_ ? aligned() : nullptr;
  if (!p || p > end_ || static_cast<std::size_t>(end_ - p) < size) {
    add_block(size + align);
    p = aligned();
  }
  cursor_ = p + size;
  return p;
}

}  // namespace tap::os
