#pragma once
// A few threads that read the songs of one folder ahead of the scan, which takes
// the results one by one in the folder's order: the rows, and their order, are
// those of reading the files one after the other. The taking thread reads a song
// itself when no reader has started it yet, so with no readers it reads them all.

#include "analysis/clsMP3.h"
#include "catalogue/SongRecord.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace sonivo {

// One song as read: the analysis's outcome, and its record unless it is Missing.
struct SongRead {
    clsMP3::ReadResult read = clsMP3::ReadResult::Missing;
    int error = 0;  // errno when Unreadable
    SongRecord record;
};

class ReaderPool {
public:
    // Reads song i of the folder; called on any thread.
    using Read = std::function<SongRead(size_t)>;

    explicit ReaderPool(int readers);
    ~ReaderPool();
    ReaderPool(const ReaderPool&) = delete;
    ReaderPool& operator=(const ReaderPool&) = delete;

    // Begins a folder of count songs.
    void start(size_t count, Read read);
    // Song i, once read; taken in order, each once. While it waits for a reader it
    // calls whileWaiting about every 50 ms.
    SongRead take(size_t i, const std::function<void()>& whileWaiting);
    // Ends the folder: songs not yet started are not read, and those under way
    // are waited for. Required before what read uses goes away.
    void finish();

private:
    void readOne(std::unique_lock<std::mutex>& lock);
    void run();

    std::mutex mutex_;
    std::condition_variable work_;  // a song to read, or the end
    std::condition_variable read_;  // a song was read
    Read readSong_;
    size_t count_ = 0;
    size_t next_ = 0;  // the first song not started
    size_t busy_ = 0;  // songs under way
    std::vector<std::optional<SongRead>> results_;
    bool quit_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace sonivo
