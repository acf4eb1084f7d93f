#pragma once
#include <cstddef>

namespace tap::os {

// Memory taken from the system in whole pages and given back to it in one
// step, bypassing the allocator so that nothing of it stays behind there.
// Blocks of several megabytes are backed by large pages where the system
// offers them: touching a 4 KiB page for the first time costs about as
// much as copying it a hundred times, and a recorded waveform is tens of
// megabytes.

// Null when the system has no pages left.
void* allocate_pages(std::size_t size);
void release_pages(void* pages, std::size_t size);
// Grows a block to `new_size`, keeping its content; it may move. Null,
// with the block unchanged, when it cannot.
void* grow_pages(void* pages, std::size_t old_size, std::size_t new_size);

// Asks for large pages under [p, p + size) before it is first written, if
// the range is large enough to hold one; memory from anywhere.
void advise_large_pages(void* p, std::size_t size);

}  // namespace tap::os
