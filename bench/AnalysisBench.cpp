// Analysis of one file (header and tag) against plainly reading the same bytes,
// on a folder of 1,000 small MP3 files, warm cache.
//   bench-analysis [--benchmark_...]

#include "analysis/clsMP3.h"
#include "common/NativePath.h"
#include "tests/support/Mp3Builder.h"
#include "tests/support/TempFiles.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>
#include <vector>

using namespace sonivo;
using namespace sonivo::test;

namespace {

constexpr int kFiles = 1000;

struct Folder {
    TempFiles files;
    std::vector<QString> paths;

    Folder()
    {
        TagFields tag;
        tag.title = "Title";
        tag.artist = "Artist";
        for (int i = 0; i < kFiles; ++i) {
            FrameFields shape;
            shape.bitRateIndex = 1 + i % 14;
            const QByteArray bytes = id3v2Tag(512) + frames(shape, 40) + id3v1Tag(tag);
            paths.push_back(files.write(QStringLiteral("song%1.mp3").arg(i), bytes));
        }
    }
};

Folder& folder()
{
    static Folder f;
    return f;
}

void BM_AnalyseFile(benchmark::State& state)
{
    Folder& f = folder();
    clsMP3 mp3;
    size_t i = 0;
    for (auto _ : state) {
        mp3.setFullName(f.paths[i++ % f.paths.size()]);
        benchmark::DoNotOptimize(mp3.ReadMP3Info());
        benchmark::DoNotOptimize(mp3.TotalFrames());
    }
    state.SetItemsProcessed(state.iterations());
}

// What the analysis reads, without examining it: the window after the leading
// tag, the 4 confirmation bytes and the last 128 bytes.
void BM_ReadSameBytes(benchmark::State& state)
{
    Folder& f = folder();
    std::vector<char> buffer(50000);
    size_t i = 0;
    for (auto _ : state) {
        const int fd = ::open(toNativePath(f.paths[i++ % f.paths.size()]).constData(), O_RDONLY);
        const off_t size = ::lseek(fd, 0, SEEK_END);
        benchmark::DoNotOptimize(::pread(fd, buffer.data(), 10, 0));
        benchmark::DoNotOptimize(::pread(fd, buffer.data(), std::min<off_t>(50000, size - 522), 522));
        benchmark::DoNotOptimize(::pread(fd, buffer.data(), 4, 522 + 417));
        benchmark::DoNotOptimize(::pread(fd, buffer.data(), 128, size - 128));
        ::close(fd);
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_AnalyseFile);
BENCHMARK(BM_ReadSameBytes);
BENCHMARK_MAIN();
