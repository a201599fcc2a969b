#pragma once
// A few threads that read songs ahead of the scan, which takes the results one by
// one in the order the songs were queued: the rows, and their order, are those of
// reading the files one after the other. Songs of several folders may be queued,
// so the readers go on into the next folder while the scan ends the one before.
// While the song it wants is not read yet, the taking thread reads the next song
// nobody has started, so with no readers it reads them all; it sleeps only when
// every queued song is under way.

#include "analysis/clsMP3.h"
#include "catalogue/SongRecord.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace sonivo {

// One song as read: the analysis's outcome and the row made of it, on the
// reader's thread, so that the taking thread only puts rows in their place.
struct SongRead {
    clsMP3::ReadResult read = clsMP3::ReadResult::Missing;
    int readError = 0;         // errno when Unreadable
    bool unreadId3v2 = false;  // the file's only tag is an ID3v2 tag the reading left alone
    SongRecord row;
};

class ReaderPool {
public:
    // Reads one song; called on any thread, so it owns (or shares) what it uses.
    using Read = std::function<SongRead()>;

    explicit ReaderPool(int readers);
    // Songs not started are not read; those under way are waited for.
    ~ReaderPool();
    ReaderPool(const ReaderPool&) = delete;
    ReaderPool& operator=(const ReaderPool&) = delete;

    // Queues songs after those queued before; returns the ticket of the first,
    // the others have the tickets that follow.
    size_t add(std::vector<Read> reads);
    // Songs queued and neither taken nor dropped.
    size_t waiting();
    // The song of that ticket, once read; tickets are taken in order, each once.
    // While it waits for a reader it calls whileWaiting about every 50 ms.
    SongRead take(size_t ticket, const std::function<void()>& whileWaiting);
    // Forgets the songs below the ticket: those not started are not read, the
    // results of those under way are thrown away.
    void dropBefore(size_t ticket);

private:
    struct Slot {
        Read read;
        std::optional<SongRead> result;
        bool reading = false;
    };
    Slot& slot(size_t ticket) { return slots_[ticket - base_]; }
    size_t end() const { return base_ + slots_.size(); }
    // Reads the first song not started, with the lock held on entry and on return.
    void readNext(std::unique_lock<std::mutex>& lock);
    // Removes the slots below released_ that no reader uses.
    void trim();
    void run();

    std::mutex mutex_;
    std::condition_variable work_;  // a song to read, or the end
    std::condition_variable read_;  // the song awaited was read
    std::deque<Slot> slots_;
    size_t base_ = 0;      // the ticket of slots_.front()
    size_t next_ = 0;      // the first song not started
    size_t released_ = 0;  // the songs below are taken or dropped
    std::optional<size_t> awaited_;
    bool quit_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace sonivo
