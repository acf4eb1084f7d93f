#include "platform/os/pages.h"

#include <sys/mman.h>

#include <cstdint>

namespace tap::os {
namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;

}  // namespace

void* allocate_pages(std::size_t size) {
  void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) return nullptr;
  advise_large_pages(p, size);
  return p;
}

void release_pages(void* pages, std::size_t size) {
  if (pages) ::munmap(pages, size);
}

void* grow_pages(void* pages, std::size_t old_size, std::size_t new_size) {
  void* p = ::mremap(pages, old_size, new_size, MREMAP_MAYMOVE);
  if (p == MAP_FAILED) return nullptr;
  advise_large_pages(p, new_size);
  return p;
}

void advise_large_pages(void* p, std::size_t size) {
  // Only whole large pages inside the range can be backed by one.
  auto begin = (reinterpret_cast<std::uintptr_t>(p) + kLargePage - 1) & ~(kLargePage - 1);
  auto end = (reinterpret_cast<std::uintptr_t>(p) + size) & ~(kLargePage - 1);
  if (end <= begin) return;
#ifdef MADV_HUGEPAGE
  ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
}

}  // namespace tap::os
