#pragma once
// Memory for the blocks of song records, which a catalogue holds by the million:
// blocks of up to 2 KB come from large pooled pages (see LargePages.h), each
// size in steps of 16 bytes with its own list of freed blocks to reuse; larger
// ones from the heap. Safe to use from several threads.

#include <cstddef>

namespace sonivo::RecordMemory {

char* allocate(size_t size);
// size is the one the block was allocated with.
void release(char* block, size_t size);

}  // namespace sonivo::RecordMemory
