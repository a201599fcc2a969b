#include "analysis/clsMP3.h"
#include "tests/support/Analysed.h"
#include "tests/support/Mp3Builder.h"
#include "tests/support/TempFiles.h"

#include "common/NativePath.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class TagWrite : public ::testing::Test {
protected:
    QString audioFile(const QString& name = QStringLiteral("song.mp3"), const QByteArray& tag = {})
    {
        return files.write(name, frames(FrameFields{}, 5) + tag);
    }

    // A descriptor of another program that holds the file's flock.
    static int lockedByAnotherProgram(const QString& path)
    {
        const int fd = ::open(toNativePath(path).constData(), O_RDONLY | O_CLOEXEC);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(::flock(fd, LOCK_EX), 0);
        return fd;
    }

    TempFiles files;
    const qint64 audioSize = 5 * 417;
};

bool setImmutable(const QString& path, bool on)
{
    const int fd = ::open(toNativePath(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

TEST_F(TagWrite, FirstWriteAppends128BytesAndTheNextOverwritesThem)
{
    const QString path = audioFile();
    clsMP3 mp3 = analysed(path);
    EXPECT_FALSE(mp3.TagPresent());
    mp3.setTitle(QStringLiteral("Song"));
    EXPECT_TRUE(mp3.TagPresent());
    EXPECT_EQ(TempFiles::read(path).size(), audioSize + 128);
    mp3.setArtist(QStringLiteral("Artist"));
    const QByteArray bytes = TempFiles::read(path);
    ASSERT_EQ(bytes.size(), audioSize + 128);
    EXPECT_EQ(bytes.left(audioSize), frames(FrameFields{}, 5)) << "the audio is untouched";
    EXPECT_EQ(bytes.mid(audioSize + 3, 30), QByteArray("Song") + QByteArray(26, ' '));
    EXPECT_EQ(bytes.mid(audioSize + 33, 30), QByteArray("Artist") + QByteArray(24, ' '));
    EXPECT_FALSE(mp3.WriteErrore());
}

TEST_F(TagWrite, AnAssignmentKeepsTheOtherFieldsOfTheTagRead)
{
    TagFields shape;
    shape.title = "Old title";
    shape.album = "Album";
    shape.comment = "Comment";
    shape.genre = 136;
    const QString path = audioFile(QStringLiteral("song.mp3"), id3v1Tag(shape));
    clsMP3 mp3 = analysed(path);
    EXPECT_EQ(mp3.Genre(), QStringLiteral("Christian Gangsta Rap"));
    mp3.setYear(QStringLiteral("2024"));
    const clsMP3 reread = analysed(path);
    EXPECT_EQ(reread.Title(), QStringLiteral("Old title"));
    EXPECT_EQ(reread.Album(), QStringLiteral("Album"));
    EXPECT_EQ(reread.Comment(), QStringLiteral("Comment"));
    EXPECT_EQ(reread.Year(), QStringLiteral("2024"));
    EXPECT_EQ(quint8(TempFiles::read(path).at(audioSize + 127)), 136);
}

TEST_F(TagWrite, AnObjectNotAnalysedWritesEmptyFieldsOverTheTag)
{
    TagFields shape;
    shape.title = "Kept?";
    shape.genre = 3;
    const QString path = audioFile(QStringLiteral("song.mp3"), id3v1Tag(shape));
    clsMP3 mp3;
    mp3.setFullName(path);
    mp3.setArtist(QStringLiteral("A"));
    const QByteArray bytes = TempFiles::read(path);
    EXPECT_EQ(bytes.size(), audioSize + 128);
    EXPECT_EQ(bytes.mid(audioSize + 3, 30), QByteArray(30, ' '));
    EXPECT_EQ(quint8(bytes.back()), 255);
}

TEST_F(TagWrite, BytesAnotherProgramAppendsMeanwhileAreNeverWrittenOver)
{
    const QString path = audioFile();
    const int fd = ::open(toNativePath(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    constexpr int kBlocks = 4000;
    constexpr qsizetype kBlock = 4096;
    std::atomic<bool> appending{true};
    std::thread other([&] {
        for (int i = 0; i < kBlocks; ++i) {
            const QByteArray block(kBlock, char('a' + i % 26));
            if (::write(fd, block.constData(), size_t(kBlock)) != kBlock)
                break;
        }
        appending = false;
    });
    auto writeTag = [&] {
        clsMP3 mp3 = analysed(path);
        mp3.setTitle(QStringLiteral("Tk"));
        EXPECT_FALSE(mp3.WriteErrore());
    };
    while (appending)
        writeTag();
    other.join();
    ::close(fd);
    writeTag();
    // What follows the audio: whole blocks and whole tags, in any order.
    const QByteArray bytes = TempFiles::read(path);
    qsizetype at = audioSize;
    int blocks = 0;
    while (at < bytes.size()) {
        if (bytes.mid(at, 3) == "TAG" && bytes.size() - at >= 128) {
            at += 128;
            continue;
        }
        const char fill = char('a' + blocks % 26);
        ASSERT_EQ(bytes.mid(at, kBlock), QByteArray(kBlock, fill)) << "block " << blocks << " at " << at;
        at += kBlock;
        ++blocks;
    }
    EXPECT_EQ(blocks, kBlocks);
    EXPECT_EQ(bytes.right(128).left(5), QByteArray("TAGTk")) << "a write after the others appended ends the file";
}

TEST_F(TagWrite, AWriteWaitsForTheLockAnotherProgramHoldsOnTheFileWithoutMakingItWritable)
{
    const QString path = audioFile();
    ASSERT_EQ(::chmod(toNativePath(path).constData(), 0444), 0);
    const int other = lockedByAnotherProgram(path);
    clsMP3 mp3 = analysed(path);
    std::future<void> write = std::async(std::launch::async, [&] { mp3.setTitle(QStringLiteral("Song")); });
    EXPECT_EQ(write.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    EXPECT_EQ(TempFiles::read(path).size(), audioSize) << "nothing is written while the other program holds its lock";
    EXPECT_EQ(permissionsOf(path), 0444u) << "nothing is made writable before the lock is free";
    ::close(other);
    write.get();
    EXPECT_FALSE(mp3.WriteErrore());
    EXPECT_EQ(analysed(path).Title(), QStringLiteral("Song"));
    EXPECT_EQ(permissionsOf(path), 0444u);
    EXPECT_EQ(mp3.RemoveTag(), 1);
    EXPECT_EQ(permissionsOf(path), 0444u);
}

TEST_F(TagWrite, AFileReplacedByAnotherProgramDuringTheWaitIsNeitherWrittenNorCutNorGivenTheOldPermissions)
{
    TagFields shape;
    shape.title = "Theirs";
    const QByteArray replacement = frames(FrameFields{}, 7) + id3v1Tag(shape);
    for (const bool removing : {false, true}) {
        const QString path = audioFile(QStringLiteral("song.mp3"), id3v1Tag(TagFields{}));
        ASSERT_EQ(::chmod(toNativePath(path).constData(), 0444), 0);
        const int other = lockedByAnotherProgram(path);
        clsMP3 mp3 = analysed(path);
        std::future<bool> done = std::async(std::launch::async, [&] {
            return removing ? mp3.RemoveTag() == 1 : mp3.setTag({QStringLiteral("Ours"), {}, {}, {}, {}, {}});
        });
        ASSERT_EQ(done.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
        // The other program saves as editors do: a new, private file renamed over the old one.
        const QString fresh = files.write(QStringLiteral("fresh.mp3"), replacement);
        ASSERT_EQ(::chmod(toNativePath(fresh).constData(), 0600), 0);
        ASSERT_EQ(::rename(toNativePath(fresh).constData(), toNativePath(path).constData()), 0);
        ::close(other);
        EXPECT_FALSE(done.get()) << (removing ? "removal" : "write");
        EXPECT_EQ(TempFiles::read(path), replacement);
        EXPECT_EQ(permissionsOf(path), 0600u);
    }
}

TEST_F(TagWrite, AFileThatCannotBeOpenedForWritingKeepsItsContent)
{
    TagFields shape;
    shape.title = "Original";
    const QByteArray content = frames(FrameFields{}, 5) + id3v1Tag(shape);
    const QString path = files.write(QStringLiteral("locked.mp3"), content);
    clsMP3 mp3 = analysed(path);
    // An immutable file cannot be opened for writing, not even by root.
    if (!setImmutable(path, true))
        GTEST_SKIP() << "cannot make a file immutable here (needs root and a file system that can)";
    mp3.setTitle(QStringLiteral("New"));
    EXPECT_EQ(mp3.RemoveTag(), -1);
    setImmutable(path, false);
    EXPECT_TRUE(mp3.WriteErrore());
    EXPECT_TRUE(mp3.TagPresent());
    EXPECT_EQ(TempFiles::read(path), content);
}

TEST_F(TagWrite, RemoveTag)
{
    const QString untagged = audioFile(QStringLiteral("plain.mp3"));
    clsMP3 mp3;
    mp3.setFullName(untagged);
    EXPECT_EQ(mp3.RemoveTag(), 0);
    EXPECT_EQ(TempFiles::read(untagged).size(), audioSize);

    TagFields shape;
    shape.title = "Song";
    const QString tagged = audioFile(QStringLiteral("tagged.mp3"), id3v1Tag(shape));
    clsMP3 t = analysed(tagged);
    EXPECT_EQ(t.RemoveTag(), 1);
    EXPECT_EQ(TempFiles::read(tagged), frames(FrameFields{}, 5));
    EXPECT_TRUE(t.TagPresent()) << "removing does not change the fields";
    EXPECT_EQ(t.Title(), QStringLiteral("Song"));

    clsMP3 missing;
    missing.setFullName(files.path(QStringLiteral("none.mp3")));
    EXPECT_EQ(missing.RemoveTag(), -1);
    missing.setTitle(QStringLiteral("x"));
    EXPECT_TRUE(missing.WriteErrore());
    EXPECT_FALSE(clsMP3::FileExists(missing.FullName())) << "nothing is created";

    const QString tiny = files.write(QStringLiteral("tiny.mp3"), QByteArray("TAG"));
    mp3.setFullName(tiny);
    EXPECT_EQ(mp3.RemoveTag(), 0);
}
