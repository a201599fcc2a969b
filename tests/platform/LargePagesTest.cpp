#include "platform/LargePages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>

using namespace sonivo;

TEST(LargePages, ArraysOfEverySizeKeepTheirContentsAsTheyGrowAndShrink)
{
    // Small arrays come from the heap, large ones from mapped pages: growing
    // across the boundary moves the contents from one to the other.
    LargeVector<std::uint64_t> values;
    for (std::uint64_t i = 0; i < 3 * kLargePage / sizeof(std::uint64_t); ++i)
        values.push_back(i * 7);
    for (size_t i = 0; i < values.size(); i += 4099)
        ASSERT_EQ(values[i], i * 7);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(values.data()) % kLargePage, 0u) << "large arrays start on a large page";
    values.resize(10);
    values.shrink_to_fit();
    EXPECT_EQ(std::accumulate(values.begin(), values.end(), std::uint64_t(0)), 7u * 45);

    void* mapped = mapLargePages(kLargePage);
    ASSERT_NE(mapped, nullptr);
    static_cast<char*>(mapped)[kLargePage - 1] = 1;  // all of it is there to use
    unmapLargePages(mapped, kLargePage);
}
