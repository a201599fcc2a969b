// Scan of a generated tree of 10,000 small MP3 files (100 folders of 100) against
// a plain walk that reads the same bytes; warm (argument 0), and cold (argument 1:
// the tree's files dropped from the page cache before each run).
//   bench-scan [--benchmark_...]

#include "catalogue/FolderScan.h"
#include "common/NativePath.h"
#include "tests/support/Mp3Builder.h"
#include "tests/support/TempFiles.h"

#include <QDir>
#include <QDirIterator>
#include <benchmark/benchmark.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace sonivo;
using namespace sonivo::test;

namespace {

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 100;

struct Tree {
    TempFiles files;
    QString root;

    Tree()
    {
        root = files.path(QStringLiteral("music"));
        TagFields tag;
        tag.title = "Title";
        for (int d = 0; d < kFolders; ++d) {
            const QString folder = QStringLiteral("music/album%1").arg(d);
            QDir().mkpath(files.path(folder));
            for (int f = 0; f < kFilesPerFolder; ++f) {
                FrameFields shape;
                shape.bitRateIndex = 1 + f % 14;
                files.write(folder + QStringLiteral("/track%1.mp3").arg(f), frames(shape, 30) + id3v1Tag(tag));
            }
        }
    }
};

Tree& tree()
{
    static Tree t;
    return t;
}

class Silent final : public ScanDialogs {
public:
    bool askUpdateFolder(const QString&) override { return true; }
    QString askCdName(const QString& label) override { return label; }
    void scanCounted(qint64) override {}
    void folderProgress(qint64, qint64) override {}
};

// Drops every file of the tree from the page cache.
void evictTree()
{
    QDirIterator it(tree().root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const int fd = ::open(toNativePath(it.next()).constData(), O_RDONLY);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

void evictWhenCold(benchmark::State& state)
{
    if (state.range(0) == 0)
        return;
    state.PauseTiming();
    evictTree();
    state.ResumeTiming();
}

void BM_ScanTree(benchmark::State& state)
{
    const QString root = tree().root;
    const DriveInfo drives;
    Silent dialogs;
    for (auto _ : state) {
        evictWhenCold(state);
        Catalogue catalogue;
        FolderScan scan(catalogue, dialogs, drives);
        scan.setIncludeSubfolders(true);
        benchmark::DoNotOptimize(scan.ScanFolders(root));
    }
    state.SetItemsProcessed(state.iterations() * kFolders * kFilesPerFolder);
}

// Lists every folder, stats every entry, and reads of each file what the analysis
// reads: the start of the file up to 50,000 bytes and its last 128 bytes.
void readTree(const QByteArray& folder, std::vector<char>& buffer, long& files)
{
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent* d = ::readdir(dir)) {
        if (d->d_name[0] == '.')
            continue;
        const QByteArray path = folder + '/' + d->d_name;
        struct stat st {};
        ::stat(path.constData(), &st);
        if (S_ISDIR(st.st_mode)) {
            readTree(path, buffer, files);
            continue;
        }
        const int fd = ::open(path.constData(), O_RDONLY);
        benchmark::DoNotOptimize(::pread(fd, buffer.data(), std::min<off_t>(50000, st.st_size), 0));
        benchmark::DoNotOptimize(::pread(fd, buffer.data(), 128, st.st_size - 128));
        ::close(fd);
        ++files;
    }
    ::closedir(dir);
}

void BM_PlainReadTree(benchmark::State& state)
{
    std::vector<char> buffer(50000);
    const QByteArray root = toNativePath(tree().root);
    for (auto _ : state) {
        evictWhenCold(state);
        long files = 0;
        readTree(root, buffer, files);
        benchmark::DoNotOptimize(files);
    }
    state.SetItemsProcessed(state.iterations() * kFolders * kFilesPerFolder);
}

}  // namespace

BENCHMARK(BM_ScanTree)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainReadTree)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
