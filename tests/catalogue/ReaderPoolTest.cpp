#include "catalogue/ReaderPool.h"

#include <gtest/gtest.h>

#include <mutex>
#include <set>

using namespace sonivo;

namespace {

// Reads that note which songs were read and give each its number as its error.
class CountingReads {
public:
    std::vector<ReaderPool::Read> batch(int first, int count)
    {
        std::vector<ReaderPool::Read> reads;
        for (int i = first; i < first + count; ++i) {
            reads.push_back([this, i] {
                const std::lock_guard lock(mutex_);
                read_.insert(i);
                SongRead song;
                song.read = clsMP3::ReadResult::Done;
                song.readError = i;
                return song;
            });
        }
        return reads;
    }
    std::set<int> read()
    {
        const std::lock_guard lock(mutex_);
        return read_;
    }

private:
    std::mutex mutex_;
    std::set<int> read_;
};

const std::function<void()> kNothing = [] {};

}  // namespace

TEST(ReaderPool, SongsComeUnderTheirTicketsAndDroppedOnesAreNotRead)
{
    // Without readers the taking thread reads, so what is read is certain.
    CountingReads reads;
    ReaderPool pool(0);
    EXPECT_EQ(pool.add(reads.batch(0, 4)), 0u);
    EXPECT_EQ(pool.add(reads.batch(4, 0)), 4u) << "an empty batch takes no ticket";
    EXPECT_EQ(pool.add(reads.batch(4, 4)), 4u);
    EXPECT_EQ(pool.waiting(), 8u);
    EXPECT_EQ(pool.take(0, kNothing).readError, 0);
    pool.dropBefore(4);  // a folder left after its first song
    EXPECT_EQ(pool.waiting(), 4u);
    EXPECT_EQ(pool.take(4, kNothing).readError, 4);
    EXPECT_EQ(pool.take(5, kNothing).readError, 5);
    EXPECT_EQ(reads.read(), (std::set<int>{0, 4, 5}));
    pool.dropBefore(2);  // below what is taken: changes nothing
    EXPECT_EQ(pool.take(6, kNothing).readError, 6);
}
