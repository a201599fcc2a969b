#include "catalogue/RecordMemory.h"

#include "platform/LargePages.h"

#include <array>
#include <mutex>
#include <new>
#include <utility>

namespace sonivo::RecordMemory {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPooled = false;  // the address sanitizer sees each block on its own
#else
constexpr bool kPooled = true;
#endif

constexpr size_t kStep = 16;
constexpr size_t kLargestPooled = 2048;
constexpr size_t kClasses = kLargestPooled / kStep;
constexpr size_t kChunk = 4 * kLargePage;

struct FreeBlock {
    FreeBlock* next;
};

class Pool {
public:
    char* allocate(size_t size)
    {
        const size_t k = classOf(size);
        const std::lock_guard lock(mutex_);
        if (FreeBlock* block = free_[k]) {
            free_[k] = block->next;
            return reinterpret_cast<char*>(block);
        }
        const size_t rounded = (k + 1) * kStep;
        if (size_t(end_ - next_) < rounded) {
            next_ = static_cast<char*>(mapLargePages(kChunk));
            if (!next_)
                throw std::bad_alloc();
            end_ = next_ + kChunk;
        }
        return std::exchange(next_, next_ + rounded);
    }

    void release(char* block, size_t size)
    {
        const size_t k = classOf(size);
        const std::lock_guard lock(mutex_);
        free_[k] = new (block) FreeBlock{free_[k]};
    }

private:
    static size_t classOf(size_t size) { return (size + kStep - 1) / kStep - 1; }

    std::mutex mutex_;
    std::array<FreeBlock*, kClasses> free_{};
    char* next_ = nullptr;
    char* end_ = nullptr;
};

Pool& pool()
{
    static Pool* const pool = new Pool;  // never destroyed: records may outlive statics
    return *pool;
}

bool pooled(size_t size)
{
    return kPooled && size > 0 && size <= kLargestPooled;
}

}  // namespace

char* allocate(size_t size)
{
    return pooled(size) ? pool().allocate(size) : new char[size];
}

void release(char* block, size_t size)
{
    if (!block)
        return;
    if (pooled(size))
        pool().release(block, size);
    else
        delete[] block;
}

}  // namespace sonivo::RecordMemory
