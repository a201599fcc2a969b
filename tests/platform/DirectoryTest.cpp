#include "platform/Directory.h"
#include "common/NativePath.h"
#include "platform/NativeFile.h"
#include "tests/support/TempFiles.h"

#include <QDir>
#include <QSet>
#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class DirectoryTest : public ::testing::Test {
protected:
    DirectoryTest() : root(files.path(QString()))
    {
        files.write(QStringLiteral("song.mp3"), "x");
        QDir().mkpath(root + QStringLiteral("/folder"));
        ::mkfifo(at("pipe.mp3").constData(), 0644);
        ::symlink("folder", at("to-folder").constData());
        ::symlink("song.mp3", at("to-song").constData());
        ::symlink("nowhere", at("dangling").constData());
        fd = ::open(toNativePath(root).constData(), O_RDONLY | O_DIRECTORY);
    }
    ~DirectoryTest() override { ::close(fd); }
    QByteArray at(const char* name) const { return toNativePath(root + QLatin1Char('/') + QLatin1String(name)); }

    struct Kind {
        bool present, folder, file, link;
        bool operator==(const Kind&) const = default;
    };
    Kind describe(const char* name, unsigned char type) const
    {
        DirEntry e;
        const bool present = describeEntry(fd, name, type, e);
        return {present, e.isFolder, e.isFile, e.isLink};
    }

    TempFiles files;
    QString root;
    int fd = -1;
};

}  // namespace

TEST_F(DirectoryTest, AnEntryOfUnknownKindIsLookedAtAndLinksAreFollowed)
{
    // Some file systems leave d_type unknown: the kind must come out the same.
    EXPECT_EQ(describe("song.mp3", DT_UNKNOWN), (Kind{true, false, true, false}));
    EXPECT_EQ(describe("folder", DT_UNKNOWN), (Kind{true, true, false, false}));
    EXPECT_EQ(describe("pipe.mp3", DT_UNKNOWN), (Kind{true, false, false, false}));
    EXPECT_EQ(describe("to-folder", DT_UNKNOWN), (Kind{true, true, false, true}));
    EXPECT_EQ(describe("to-song", DT_UNKNOWN), (Kind{true, false, true, true}));
    EXPECT_EQ(describe("to-song", DT_LNK), (Kind{true, false, true, true}));
    EXPECT_FALSE(describe("dangling", DT_UNKNOWN).present);
    EXPECT_FALSE(describe("dangling", DT_LNK).present);
    EXPECT_FALSE(describe("vanished", DT_UNKNOWN).present);
}

TEST_F(DirectoryTest, AListingTellsEveryKind)
{
    const std::optional<std::vector<DirEntry>> entries = listFolder(root);
    ASSERT_TRUE(entries);
    std::map<QString, Kind> kinds;
    for (const DirEntry& e : *entries)
        kinds[e.name] = {true, e.isFolder, e.isFile, e.isLink};
    EXPECT_EQ(kinds.size(), 5u) << "the dangling link is left out";
    EXPECT_EQ(kinds[QStringLiteral("song.mp3")], (Kind{true, false, true, false}));
    EXPECT_EQ(kinds[QStringLiteral("folder")], (Kind{true, true, false, false}));
    EXPECT_EQ(kinds[QStringLiteral("pipe.mp3")], (Kind{true, false, false, false}));
    EXPECT_EQ(kinds[QStringLiteral("to-folder")], (Kind{true, true, false, true}));
    EXPECT_EQ(kinds[QStringLiteral("to-song")], (Kind{true, false, true, true}));
}

TEST_F(DirectoryTest, OpeningLooksAtTheFileOnceForItsKindSizeAndDate)
{
    const QByteArray path = at("dated.mp3");
    files.write(QStringLiteral("dated.mp3"), QByteArray(1234, 'a'));
    // An old modification time: the date shown is the birth time where the file
    // system keeps one, else this.
    const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.constData(), old, 0), 0);
    struct statx st {};
    ASSERT_EQ(::statx(AT_FDCWD, path.constData(), 0, STATX_BTIME | STATX_MTIME, &st), 0);
    const qint64 expected = (st.stx_mask & STATX_BTIME) ? qint64(st.stx_btime.tv_sec) : 1000000000;

    NativeFile file;
    ASSERT_TRUE(file.openIn(fd, QStringLiteral("dated.mp3"), NativeFile::Mode::Read));
    ASSERT_TRUE(file.facts());
    EXPECT_EQ(file.facts()->size, 1234);
    EXPECT_TRUE(S_ISREG(file.facts()->mode));
    EXPECT_EQ(file.facts()->created.toSecsSinceEpoch(), expected);
    EXPECT_EQ(file.facts()->created.timeSpec(), Qt::UTC);
    const std::optional<FileFacts> byName = fileFactsAt(fd, QStringLiteral("dated.mp3"));
    ASSERT_TRUE(byName);
    EXPECT_EQ(byName->created, file.facts()->created);
    EXPECT_EQ(byName->size, 1234);

    // A pipe is refused at once, without waiting for a writer, and said to be one.
    EXPECT_FALSE(file.openIn(fd, QStringLiteral("pipe.mp3"), NativeFile::Mode::Read));
    EXPECT_EQ(file.error(), kNotRegularFile);
    ASSERT_TRUE(file.facts());
    EXPECT_TRUE(S_ISFIFO(file.facts()->mode));
    EXPECT_FALSE(file.openIn(fd, QStringLiteral("vanished"), NativeFile::Mode::Read));
    EXPECT_FALSE(file.facts()) << "nothing left of the file opened before";
    EXPECT_FALSE(fileFactsAt(fd, QStringLiteral("vanished")));
}

TEST_F(DirectoryTest, AFolderOfManyLongNamesIsListedWholeEachTimeItIsListed)
{
    // More names than one read of the folder returns, listed twice on one handle.
    const QString many = root + QStringLiteral("/many");
    QDir().mkpath(many);
    QSet<QString> made;
    for (int i = 0; i < 600; ++i) {
        const QString name = QStringLiteral("%1 - ").arg(i) + QString(180, QLatin1Char('x')) + QStringLiteral(".mp3");
        files.write(QStringLiteral("many/") + name, "x");
        made.insert(name);
    }
    FolderHandle folder = FolderHandle::open(many);
    for (int round = 0; round < 2; ++round) {
        const std::optional<std::vector<DirEntry>> entries = folder.list();
        ASSERT_TRUE(entries) << round;
        QSet<QString> listed;
        for (const DirEntry& e : *entries)
            listed.insert(e.name);
        EXPECT_EQ(entries->size(), 600u) << round;
        EXPECT_EQ(listed, made) << round;
    }
}
