#include "catalogue/ReaderPool.h"

#include <chrono>

namespace sonivo {

ReaderPool::ReaderPool(int readers)
{
    for (int i = 0; i < readers; ++i)
        threads_.emplace_back([this] { run(); });
}

ReaderPool::~ReaderPool()
{
    finish();
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
    }
    work_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

void ReaderPool::start(size_t count, Read read)
{
    {
        const std::lock_guard lock(mutex_);
        readSong_ = std::move(read);
        count_ = count;
        next_ = 0;
        results_.assign(count, std::nullopt);
    }
    work_.notify_all();
}

void ReaderPool::readOne(std::unique_lock<std::mutex>& lock)
{
    const size_t i = next_++;
    ++busy_;
    lock.unlock();
    SongRead song = readSong_(i);
    lock.lock();
    results_[i] = std::move(song);
    --busy_;
    read_.notify_all();
}

void ReaderPool::run()
{
    std::unique_lock lock(mutex_);
    while (true) {
        work_.wait(lock, [this] { return quit_ || next_ < count_; });
        if (quit_)
            return;
        readOne(lock);
    }
}

SongRead ReaderPool::take(size_t i, const std::function<void()>& whileWaiting)
{
    std::unique_lock lock(mutex_);
    while (!results_[i]) {
        if (next_ <= i) {
            readOne(lock);  // songs start in order: this is song next_, at most i
            continue;
        }
        if (read_.wait_for(lock, std::chrono::milliseconds(50)) == std::cv_status::timeout) {
            lock.unlock();
            whileWaiting();
            lock.lock();
        }
    }
    SongRead song = std::move(*results_[i]);
    results_[i].reset();
    return song;
}

void ReaderPool::finish()
{
    std::unique_lock lock(mutex_);
    count_ = next_;
    read_.wait(lock, [this] { return busy_ == 0; });
    results_.clear();
    readSong_ = nullptr;
    count_ = next_ = 0;
}

}  // namespace sonivo
