#include "catalogue/ReaderPool.h"

#include <algorithm>
#include <chrono>

namespace sonivo {

ReaderPool::ReaderPool(int readers)
{
    for (int i = 0; i < readers; ++i)
        threads_.emplace_back([this] { run(); });
}

ReaderPool::~ReaderPool()
{
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
    }
    work_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

size_t ReaderPool::add(std::vector<Read> reads)
{
    size_t first;
    {
        const std::lock_guard lock(mutex_);
        first = end();
        for (Read& read : reads)
            slots_.push_back({std::move(read), std::nullopt, false});
    }
    // Wakes only readers that sleep: with songs queued ahead there are none.
    work_.notify_all();
    return first;
}

size_t ReaderPool::waiting()
{
    const std::lock_guard lock(mutex_);
    return end() - released_;
}

void ReaderPool::readNext(std::unique_lock<std::mutex>& lock)
{
    const size_t ticket = next_++;
    Slot& s = slot(ticket);
    s.reading = true;
    const Read read = std::move(s.read);
    lock.unlock();
    SongRead song = read();
    lock.lock();
    Slot& done = slot(ticket);  // slots under way stay where they are
    done.reading = false;
    if (ticket >= released_)
        done.result = std::move(song);
    trim();
    if (awaited_ == ticket)
        read_.notify_one();
}

void ReaderPool::trim()
{
    while (!slots_.empty() && base_ < released_ && !slots_.front().reading) {
        slots_.pop_front();
        ++base_;
    }
}

void ReaderPool::run()
{
    std::unique_lock lock(mutex_);
    while (true) {
        work_.wait(lock, [this] { return quit_ || next_ < end(); });
        if (quit_)
            return;
        readNext(lock);
    }
}

SongRead ReaderPool::take(size_t ticket, const std::function<void()>& whileWaiting)
{
    std::unique_lock lock(mutex_);
    while (!slot(ticket).result) {
        if (next_ < end()) {
            readNext(lock);  // this song or one after it: work that waits anyway
            continue;
        }
        awaited_ = ticket;
        const bool timedOut = read_.wait_for(lock, std::chrono::milliseconds(50)) == std::cv_status::timeout;
        awaited_.reset();
        if (timedOut) {
            lock.unlock();
            whileWaiting();
            lock.lock();
        }
    }
    SongRead song = std::move(*slot(ticket).result);
    released_ = ticket + 1;
    trim();
    return song;
}

void ReaderPool::dropBefore(size_t ticket)
{
    const std::lock_guard lock(mutex_);
    released_ = std::max(released_, ticket);
    next_ = std::max(next_, released_);
    trim();
}

}  // namespace sonivo
