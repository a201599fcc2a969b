#include "catalogue/RecordMemory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace sonivo;

namespace {

struct Block {
    char* bytes;
    size_t size;
    char mark;
};

// Fills each block with its own mark, so that blocks sharing memory show.
Block markedBlock(size_t size, char mark)
{
    Block b{RecordMemory::allocate(size), size, mark};
    std::memset(b.bytes, mark, size);
    return b;
}

bool intact(const Block& b)
{
    for (size_t i = 0; i < b.size; ++i) {
        if (b.bytes[i] != b.mark)
            return false;
    }
    return true;
}

}  // namespace

TEST(RecordMemory, BlocksOfEverySizeNeverOverlapAndFreedOnesAreReused)
{
    std::vector<Block> blocks;
    for (size_t size = 1; size <= 5000; size += 7)
        blocks.push_back(markedBlock(size, char(size % 251)));
    // Sizes beyond the pooled ones, and a block over a chunk's end, are kept too.
    blocks.push_back(markedBlock(9 << 20, 'L'));
    for (const Block& b : blocks)
        ASSERT_TRUE(intact(b)) << b.size;

    // A freed block comes back for the next block of its size step (under the
    // address sanitizer every block is the heap's own).
    char* freed = blocks[10].bytes;
    RecordMemory::release(freed, blocks[10].size);
    const Block again = markedBlock(blocks[10].size, 'A');
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(again.bytes, freed);
#endif
    for (size_t i = 0; i < blocks.size(); ++i) {
        if (i != 10) {
            EXPECT_TRUE(intact(blocks[i])) << blocks[i].size;
        }
    }
    RecordMemory::release(again.bytes, again.size);
    for (size_t i = 0; i < blocks.size(); ++i) {
        if (i != 10)
            RecordMemory::release(blocks[i].bytes, blocks[i].size);
    }
    RecordMemory::release(nullptr, 0);
}
