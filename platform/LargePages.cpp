#include "platform/LargePages.h"

#include <cstdint>
#include <sys/mman.h>

namespace sonivo {

void* mapLargePages(size_t bytes)
{
    // Map a page more than asked and cut the ends off, so the start is aligned.
    const size_t mapped = bytes + kLargePage;
    void* raw = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kLargePage - 1) & ~(kLargePage - 1);
    if (aligned > start)
        munmap(raw, aligned - start);
    if (const size_t tail = start + mapped - (aligned + bytes); tail > 0)
        munmap(reinterpret_cast<void*>(aligned + bytes), tail);
    // Advice only: where huge pages are off the memory works as any other.
    madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}

void unmapLargePages(void* start, size_t bytes)
{
    munmap(start, bytes);
}

}  // namespace sonivo
