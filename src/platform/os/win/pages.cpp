#include "platform/os/pages.h"

#include <windows.h>

#include <cstring>

namespace tap::os {

void* allocate_pages(std::size_t size) {
  return VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void release_pages(void* pages, std::size_t) {
  if (pages) VirtualFree(pages, 0, MEM_RELEASE);
}

void* grow_pages(void* pages, std::size_t old_size, std::size_t new_size) {
  // A reservation cannot be extended in place; committed pages that are
  // never written cost no memory, so the copy is the only cost.
  void* p = allocate_pages(new_size);
  if (!p) return nullptr;
  std::memcpy(p, pages, old_size < new_size ? old_size : new_size);
  release_pages(pages, old_size);
  return p;
}

// Large pages need the "Lock pages in memory" privilege, which a driver
// cannot count on; ordinary pages it is.
void advise_large_pages(void*, std::size_t) {}

}  // namespace tap::os
