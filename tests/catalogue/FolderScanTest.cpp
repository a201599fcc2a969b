#include "catalogue/FolderScan.h"
#include "catalogue/LineForm.h"
#include "common/NativePath.h"
#include "tests/support/Mp3Builder.h"
#include "tests/support/TempFiles.h"

#include <QDir>
#include <algorithm>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

// One mount: the temporary folder, as a CD-ROM or a fixed disk.
class OneMount final : public MountTable {
public:
    OneMount(QString root, QString fsType) : root_(std::move(root)), fsType_(std::move(fsType)) {}
    std::vector<MountEntry> mounts() const override
    {
        return {{QStringLiteral("/"), {}, QStringLiteral("ext4")}, {root_, QStringLiteral("/dev/sdz9"), fsType_}};
    }
    bool isRemovable(const QString&) const override { return false; }
    std::optional<QString> label(const MountEntry&) const override { return QStringLiteral("DISC LABEL"); }
    std::optional<quint32> serial(const MountEntry&) const override { return 0x1A2B3C4D; }

private:
    QString root_;
    QString fsType_;
};

// Scripted answers, with a record of what was asked.
class Script final : public ScanDialogs {
public:
    bool update = true;
    std::optional<QString> cdName;  // nothing: cancel the box
    QStringList askedFolders;
    QStringList askedLabels;
    std::vector<qint64> counted;
    int progressCalls = 0;

    bool askUpdateFolder(const QString& folder) override
    {
        askedFolders << folder;
        return update;
    }
    QString askCdName(const QString& label) override
    {
        askedLabels << label;
        return cdName.value_or(QString());
    }
    void scanCounted(qint64 total) override { counted.push_back(total); }
    std::function<void()> atFirstFolder;  // run when the first folder's files are about to be read
    std::function<void(int)> atFolder;    // run with the folder's number, from 0
    std::function<void()> atFileProgress;
    int fileProgressCalls = 0;

    void folderProgress(qint64, qint64) override
    {
        if (progressCalls == 0 && atFirstFolder)
            atFirstFolder();
        if (atFolder)
            atFolder(progressCalls);
        ++progressCalls;
    }
    void fileProgress(qint64, qint64) override
    {
        ++fileProgressCalls;
        if (atFileProgress)
            atFileProgress();
    }
};

class FolderScanTest : public ::testing::Test {
protected:
    FolderScanTest() : root(QDir(files.path(QString())).canonicalPath()), fixed(root, QStringLiteral("ext4")) {}

    QString song(const QString& relative, int frameCount = 3)
    {
        QDir().mkpath(QFileInfo(root + QLatin1Char('/') + relative).absolutePath());
        return files.write(relative, frames(FrameFields{}, frameCount));
    }
    qint64 scan(bool tree, const MountTable& mounts, const QString& folder = {})
    {
        const DriveInfo on(mounts);
        FolderScan s(catalogue, dialogs, on);
        s.setIncludeSubfolders(tree);
        return s.ScanFolders(folder.isEmpty() ? root : folder);
    }
    QStringList names() const
    {
        QStringList n;
        for (const SongRecord& r : catalogue.rows())
            n << r.text(ColFolder).mid(root.size()) + r.text(ColFileName);
        return n;
    }

    TempFiles files;
    QString root;
    OneMount fixed;
    const DriveInfo drives{fixed};
    Catalogue catalogue;
    Script dialogs;
};

}  // namespace

TEST_F(FolderScanTest, SingleFolderReadsOnlyItsOwnMp3Files)
{
    song(QStringLiteral("a.mp3"));
    song(QStringLiteral("LOUD.MP3"));
    song(QStringLiteral(".hidden.mp3"));
    files.write(QStringLiteral("notes.txt"), "x");
    song(QStringLiteral("sub/deep.mp3"));
    EXPECT_EQ(scan(false, fixed), 3);
    EXPECT_EQ(dialogs.counted, std::vector<qint64>{3});
    QStringList n = names();
    n.sort();
    EXPECT_EQ(n, (QStringList{QStringLiteral("/.hidden.mp3"), QStringLiteral("/LOUD.MP3"), QStringLiteral("/a.mp3")}));
    EXPECT_TRUE(dialogs.askedLabels.isEmpty()) << "no CD name asked on a fixed disk";
    EXPECT_TRUE(catalogue.row(0).text(ColCdId).isEmpty());
    EXPECT_EQ(catalogue.row(0).text(ColFolder), root + QLatin1Char('/'));
}

// Names as a file manager orders them: letter case aside, numbers by value,
// accents beside their letter; a stray byte of a name that is not UTF-8 after
// every letter.
TEST_F(FolderScanTest, ATreeComesFolderByFolderInNameOrderDepthFirst)
{
    song(QStringLiteral("top.mp3"));
    for (const char* folder : {"10", "2", "b", "A", "\xc3\xa9", "Z", "2/10", "2/9"})
        song(fromNativePath(folder) + QStringLiteral("/x.mp3"));
    for (const char* notUtf8 : {"\xe9t\xe9", "b\xff"}) {
        ASSERT_EQ(::mkdir((toNativePath(root) + '/' + notUtf8).constData(), 0755), 0);
        files.write(fromNativePath(QByteArray(notUtf8) + "/x.mp3"), frames(FrameFields{}, 3));
    }
    EXPECT_EQ(scan(true, fixed), 11);
    EXPECT_EQ(dialogs.counted, std::vector<qint64>{11});
    EXPECT_EQ(dialogs.progressCalls, 11);
    const QStringList expected{QStringLiteral("/top.mp3"), QStringLiteral("/2/x.mp3"), QStringLiteral("/2/9/x.mp3"),
        QStringLiteral("/2/10/x.mp3"), QStringLiteral("/10/x.mp3"), QStringLiteral("/A/x.mp3"), QStringLiteral("/b/x.mp3"),
        QLatin1Char('/') + fromNativePath("b\xff/x.mp3"), QStringLiteral("/\u00e9/x.mp3"), QStringLiteral("/Z/x.mp3"),
        QLatin1Char('/') + fromNativePath("\xe9t\xe9/x.mp3")};
    EXPECT_EQ(names(), expected);
}

TEST_F(FolderScanTest, FoldersAndFilesThatVanishDuringTheScanAreLeftOut)
{
    song(QStringLiteral("keep.mp3"));
    song(QStringLiteral("gone.mp3"));
    song(QStringLiteral("a/one.mp3"));
    song(QStringLiteral("b/two.mp3"));
    song(QStringLiteral("b/deeper/three.mp3"));
    dialogs.atFirstFolder = [&] {
        // After counting and listing: a listed file and a whole subtree go.
        ASSERT_TRUE(QFile::remove(root + QStringLiteral("/gone.mp3")));
        ASSERT_TRUE(QDir(root + QStringLiteral("/b")).removeRecursively());
    };
    // Without readers nothing is read before its folder's turn (readers may read a
    // file ahead, before it goes).
    FolderScan s(catalogue, dialogs, drives);
    s.setIncludeSubfolders(true);
    s.setReaders(0);
    EXPECT_EQ(s.ScanFolders(root), 2);
    EXPECT_EQ(dialogs.counted, std::vector<qint64>{5});
    EXPECT_EQ(names(), (QStringList{QStringLiteral("/keep.mp3"), QStringLiteral("/a/one.mp3")}));
}

TEST_F(FolderScanTest, ACdIsNamedAndItsSongsCarryTheIdentifier)
{
    song(QStringLiteral("track.mp3"));
    const OneMount cd(root, QStringLiteral("iso9660"));
    dialogs.cdName = QStringLiteral("ROCK01");
    scan(false, cd);
    EXPECT_EQ(dialogs.askedLabels, QStringList{QStringLiteral("DISC LABEL")});
    ASSERT_EQ(catalogue.size(), 1);
    EXPECT_EQ(catalogue.row(0).text(ColCdId), QStringLiteral("ROCK01/1A2B-3C4D"));

    // The same folder on the same disc is present; under another name it is a new disc.
    dialogs.update = true;
    scan(false, cd);
    EXPECT_EQ(dialogs.askedFolders.size(), 1);
    EXPECT_EQ(catalogue.size(), 1);
    dialogs.cdName.reset();  // cancelled
    scan(false, cd);
    EXPECT_EQ(dialogs.askedFolders.size(), 1);
    ASSERT_EQ(catalogue.size(), 2);
    EXPECT_EQ(catalogue.row(1).text(ColCdId), QStringLiteral("/1A2B-3C4D"));
}

TEST_F(FolderScanTest, NothingIsWrittenToTheSongs)
{
    TagFields tag;
    tag.title = "T";
    const QByteArray bytes = frames(FrameFields{}, 3) + id3v1Tag(tag);
    const QString path = files.write(QStringLiteral("s.mp3"), bytes);
    ::chmod(toNativePath(path).constData(), 0444);
    struct stat before {};
    ::stat(toNativePath(path).constData(), &before);
    scan(false, fixed);
    struct stat after {};
    ::stat(toNativePath(path).constData(), &after);
    EXPECT_EQ(TempFiles::read(path), bytes);
    EXPECT_EQ(before.st_mode, after.st_mode);
    EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
    EXPECT_EQ(catalogue.row(0).text(ColAttributes), QStringLiteral("R"));
}

TEST_F(FolderScanTest, AnUpdateKeepsTheRowsOfFilesItCannotReadAndSaysSo)
{
    TagFields tag;
    tag.artist = "Artist";
    tag.title = "Title";
    const QString bad = files.write(QStringLiteral("a.mp3"), frames(FrameFields{}, 3) + id3v1Tag(tag));
    song(QStringLiteral("b.mp3"));
    ASSERT_EQ(scan(false, fixed), 2);
    const SongRecord before = catalogue.row(0);
    ASSERT_EQ(before.text(ColArtist), QStringLiteral("Artist"));

    ::chmod(toNativePath(bad).constData(), 0);
    FolderScan again(catalogue, dialogs, drives);
    {
        PermissionsEnforced enforced;
        again.ScanFolders(root);
    }
    ASSERT_EQ(catalogue.size(), 2);
    EXPECT_EQ(std::ranges::count(catalogue.rows(), before), 1) << "the row read before stays as it was";
    ASSERT_EQ(again.skipped().size(), 1u);
    EXPECT_EQ(again.skipped().front().path, bad);
    EXPECT_FALSE(again.skipped().front().reason.isEmpty());
}

TEST_F(FolderScanTest, UnreadableFilesLockedFoldersAndEntriesThatAreNoFileAreListedAndTheScanGoesOn)
{
    song(QStringLiteral("a/1.mp3"));
    const QString bad = song(QStringLiteral("a/2.mp3"));
    song(QStringLiteral("locked/3.mp3"));
    song(QStringLiteral("z/4.mp3"));
    ASSERT_EQ(::mkfifo(toNativePath(root + QStringLiteral("/a/pipe.mp3")).constData(), 0644), 0);
    ASSERT_EQ(::mkdir(toNativePath(root + QStringLiteral("/a/dir.mp3")).constData(), 0755), 0);
    ::chmod(toNativePath(bad).constData(), 0);
    ::chmod(toNativePath(root + QStringLiteral("/locked")).constData(), 0);
    FolderScan s(catalogue, dialogs, drives);
    s.setIncludeSubfolders(true);
    qint64 added;
    {
        PermissionsEnforced enforced;
        EXPECT_EQ(s.CountFiles(root), 3);
        added = s.ScanFolders(root);
    }
    EXPECT_EQ(added, 3) << "a folder named *.mp3 is no song; an unreadable file still gets its row";
    EXPECT_EQ(catalogue.row(1).text(ColDuration), QStringLiteral("-01.-01"));
    QStringList skipped;
    for (const ScanSkip& skip : s.skipped())
        skipped << skip.path.mid(root.size());
    skipped.sort();
    EXPECT_EQ(skipped, (QStringList{QStringLiteral("/a/2.mp3"), QStringLiteral("/a/pipe.mp3"), QStringLiteral("/locked/")}));
}

TEST_F(FolderScanTest, AFolderReachedThroughALinkIsTheSameFolder)
{
    song(QStringLiteral("music/a.mp3"));
    song(QStringLiteral("music/sub/b.mp3"));
    const QString link = root + QStringLiteral("/link");
    ASSERT_EQ(::symlink("music", toNativePath(link).constData()), 0);
    ASSERT_EQ(::symlink("../music/sub", toNativePath(root + QStringLiteral("/music/sub2")).constData()), 0);
    ASSERT_EQ(::symlink("..", toNativePath(root + QStringLiteral("/music/up")).constData()), 0);  // a loop
    scan(true, fixed, link);
    EXPECT_EQ(names(), (QStringList{QStringLiteral("/music/a.mp3"), QStringLiteral("/music/sub/b.mp3")}))
        << "the root and the linked subfolder are named without the links, and read once";
    scan(true, fixed, root + QStringLiteral("/music/"));
    EXPECT_EQ(catalogue.size(), 2) << "the second scan updates the same folders";
    EXPECT_EQ(dialogs.askedFolders.size(), 2);
}

TEST_F(FolderScanTest, TreesDeeperThanThePathLimitAreScannedWhole)
{
    // About 6,000 bytes of path: more than any single system call takes.
    const QByteArray level(200, 'd');
    int fd = ::open(toNativePath(root).constData(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < 30; ++i) {
        ASSERT_EQ(::mkdirat(fd, level.constData(), 0755), 0);
        const int next = ::openat(fd, level.constData(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    const QByteArray bytes = frames(FrameFields{}, 3);
    const int file = ::openat(fd, "deep.mp3", O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::write(file, bytes.constData(), size_t(bytes.size())), bytes.size());
    ::close(file);
    ::close(fd);

    FolderScan s(catalogue, dialogs, drives);
    s.setIncludeSubfolders(true);
    EXPECT_EQ(s.CountFiles(root), 1);
    ASSERT_EQ(s.ScanFolders(root), 1);
    EXPECT_TRUE(s.skipped().empty());
    EXPECT_EQ(catalogue.row(0).text(ColFolder).size(), root.size() + 30 * 201 + 1);
    EXPECT_EQ(catalogue.row(0).text(ColBitRate), QStringLiteral("128"));

    // Taken down level by level: no path reaches the bottom.
    std::vector<int> fds{::open(toNativePath(root).constData(), O_RDONLY | O_DIRECTORY)};
    for (int i = 0; i < 30; ++i)
        fds.push_back(::openat(fds.back(), level.constData(), O_RDONLY | O_DIRECTORY));
    ::unlinkat(fds.back(), "deep.mp3", 0);
    for (int i = 30; i > 0; --i) {
        ::close(fds[size_t(i)]);
        ::unlinkat(fds[size_t(i - 1)], level.constData(), AT_REMOVEDIR);
    }
    ::close(fds.front());
}

TEST_F(FolderScanTest, ReadersAheadGiveTheSameRowsQuestionsAndSkipsAsOneAfterTheOther)
{
    // Many folders of varied songs, some unreadable, a pipe named *.mp3, a folder
    // already present whose update is declined while its songs may be read ahead,
    // a stop; then the scan of a folder that is updated.
    for (int d = 0; d < 12; ++d) {
        for (int f = 0; f < 1 + d * 3; ++f) {
            FrameFields shape;
            shape.bitRateIndex = 1 + (d + f) % 14;
            TagFields tag;
            tag.title = QByteArray::number(f) + ";x";
            QDir().mkpath(root + QStringLiteral("/d%1/e%2").arg(d).arg(d % 3));
            files.write(
                QStringLiteral("d%1/e%2/s%3.mp3").arg(d).arg(d % 3).arg(f), id3v2Tag(d * 700) + frames(shape, 2 + f) + id3v1Tag(tag));
        }
    }
    ASSERT_EQ(::mkfifo(toNativePath(root + QStringLiteral("/d3/pipe.mp3")).constData(), 0644), 0);
    ::chmod(toNativePath(root + QStringLiteral("/d5/e2/s4.mp3")).constData(), 0);
    const QByteArray updatedUnreadable = toNativePath(root + QStringLiteral("/d7/e1/s0.mp3"));

    struct Outcome {
        QStringList rows, skips, asked;
    };
    const auto scanWith = [&](int readers, int stopAt) {
        Catalogue fresh;
        Script answers;
        FolderScan s(fresh, answers, drives);
        s.setIncludeSubfolders(true);
        s.setReaders(readers);
        Outcome out;
        PermissionsEnforced enforced;  // the readers start inside it, and obey it too
        const auto scanAndNoteSkips = [&](const QString& folder) {
            s.ScanFolders(folder);
            for (const ScanSkip& skip : s.skipped())
                out.skips << skip.path + skip.reason;
        };
        scanAndNoteSkips(root + QStringLiteral("/d4"));
        answers.update = false;
        answers.atFolder = [&](int n) {
            if (n == stopAt)
                s.requestStop();
        };
        scanAndNoteSkips(root);
        answers.update = true;
        answers.atFolder = nullptr;
        ::chmod(updatedUnreadable.constData(), 0);  // its row stays as first read
        scanAndNoteSkips(root + QStringLiteral("/d7"));
        ::chmod(updatedUnreadable.constData(), 0644);
        for (const SongRecord& r : fresh.rows())
            out.rows << toLine(r);
        out.asked = answers.askedFolders;
        return out;
    };
    const Outcome alone = scanWith(0, -1);
    EXPECT_EQ(alone.rows.size(), 210) << "every song once";
    EXPECT_EQ(alone.asked, (QStringList{root + QStringLiteral("/d4/e1/"), root + QStringLiteral("/d7/e1/")}));
    EXPECT_EQ(alone.skips.size(), 3u) << "the pipe and a file, then the file of the update";
    const Outcome stoppedAlone = scanWith(0, 14);
    EXPECT_LT(stoppedAlone.rows.size(), alone.rows.size());
    for (const int readers : {1, 3, 8}) {
        for (const int stopAt : {-1, 14}) {
            const Outcome pooled = scanWith(readers, stopAt);
            const Outcome& expected = stopAt < 0 ? alone : stoppedAlone;
            EXPECT_EQ(pooled.rows, expected.rows) << readers << " readers, stop at " << stopAt;
            EXPECT_EQ(pooled.skips, expected.skips) << readers << " readers, stop at " << stopAt;
            EXPECT_EQ(pooled.asked, expected.asked) << readers << " readers, stop at " << stopAt;
        }
    }
}

TEST_F(FolderScanTest, AStopEndsTheScanWithTheFoldersReadWholeAndTheRestLeftOut)
{
    for (const char* folder : {"a", "b", "c"}) {
        for (int f = 0; f < 4; ++f)
            song(QStringLiteral("%1/%2.mp3").arg(QLatin1String(folder)).arg(f));
    }
    FolderScan s(catalogue, dialogs, drives);
    s.setIncludeSubfolders(true);
    dialogs.atFolder = [&](int n) {
        if (n == 2)
            s.requestStop();  // as the second folder with songs is about to be read
    };
    const qint64 added = s.ScanFolders(root);
    EXPECT_TRUE(s.stopped());
    EXPECT_EQ(added, 4);
    ASSERT_EQ(catalogue.size(), 4);
    const QString first = catalogue.row(0).text(ColFolder);
    for (const SongRecord& r : catalogue.rows())
        EXPECT_EQ(r.text(ColFolder), first) << "one whole folder, nothing of another";
    EXPECT_EQ(dialogs.progressCalls, 3) << "the root, a first folder, the one stopped";

    dialogs.atFolder = nullptr;
    EXPECT_EQ(s.ScanFolders(root + QStringLiteral("/c")), 4);
    EXPECT_FALSE(s.stopped()) << "the next scan starts unstopped";
}

TEST_F(FolderScanTest, AStopInsideAnUpdatedFolderPutsItsOldRowsBack)
{
    TagFields tag;
    tag.title = "Before";
    for (int f = 0; f < 5; ++f)
        files.write(QStringLiteral("%1.mp3").arg(f), frames(FrameFields{}, 3) + id3v1Tag(tag));
    scan(false, fixed);
    ASSERT_EQ(catalogue.size(), 5);
    std::vector<SongRecord> before = catalogue.rows();
    tag.title = "After";
    for (int f = 0; f < 5; ++f)
        files.write(QStringLiteral("%1.mp3").arg(f), frames(FrameFields{}, 4) + id3v1Tag(tag));

    FolderScan s(catalogue, dialogs, drives);
    dialogs.atFolder = [](int) {
        // Time passes before the first file: a file progress call follows it.
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
    };
    dialogs.atFileProgress = [&] { s.requestStop(); };
    EXPECT_EQ(s.ScanFolders(root), 5) << "the old rows come back as the addition";
    EXPECT_TRUE(s.stopped());
    EXPECT_EQ(dialogs.fileProgressCalls, 1);
    EXPECT_EQ(dialogs.askedFolders.size(), 1);
    EXPECT_EQ(catalogue.rows(), before) << "not half updated";
}
