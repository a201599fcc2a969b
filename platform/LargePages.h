#pragma once
// Memory straight from the system for large arrays and pools: aligned so that
// the kernel may back it with huge pages, and asked to, which spares a page
// fault per 4 KB and keeps lookups of scattered rows off the page tables.

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

namespace sonivo {

constexpr size_t kLargePage = size_t(2) << 20;

// bytes (a multiple of kLargePage) aligned to kLargePage, or null when the
// system has no memory to give.
void* mapLargePages(size_t bytes);
void unmapLargePages(void* start, size_t bytes);

// An allocator that takes arrays of a large page or more from mapLargePages and
// the others from the heap.
template <typename T> class LargePageAllocator {
public:
    using value_type = T;
    LargePageAllocator() = default;
    template <typename U> LargePageAllocator(const LargePageAllocator<U>&) noexcept {}

    T* allocate(size_t n)
    {
        const size_t bytes = n * sizeof(T);
        if (bytes < kLargePage)
            return std::allocator<T>().allocate(n);
        void* start = mapLargePages(roundedUp(bytes));
        if (!start)
            throw std::bad_alloc();
        return static_cast<T*>(start);
    }
    void deallocate(T* p, size_t n) noexcept
    {
        const size_t bytes = n * sizeof(T);
        if (bytes < kLargePage)
            std::allocator<T>().deallocate(p, n);
        else
            unmapLargePages(p, roundedUp(bytes));
    }
    template <typename U> bool operator==(const LargePageAllocator<U>&) const noexcept { return true; }

private:
    static size_t roundedUp(size_t bytes) { return (bytes + kLargePage - 1) / kLargePage * kLargePage; }
};

template <typename T> using LargeVector = std::vector<T, LargePageAllocator<T>>;

}  // namespace sonivo
