#include "platform/FileLock.h"
#include "tests/support/TempFiles.h"

#include "common/ErrorText.h"
#include "common/NativePath.h"

#include <gtest/gtest.h>

#include <QFile>
#include <future>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

using std::chrono::milliseconds;

// A descriptor of its own on the file, as another program would have.
class OtherOpen {
public:
    explicit OtherOpen(const QString& path) : fd_(::open(toNativePath(path).constData(), O_RDWR | O_CLOEXEC)) {}
    ~OtherOpen() { ::close(fd_); }
    OtherOpen(const OtherOpen&) = delete;
    OtherOpen& operator=(const OtherOpen&) = delete;
    int fd() const { return fd_; }
    // A classic record lock: it conflicts with ours even in this process.
    bool recordLock()
    {
        struct flock whole {};
        whole.l_type = F_WRLCK;
        whole.l_whence = SEEK_SET;
        return ::fcntl(fd_, F_SETLK, &whole) == 0;
    }
    bool wholeFileLock() { return ::flock(fd_, LOCK_EX | LOCK_NB) == 0; }

private:
    int fd_;
};

ino_t inodeOf(const QString& path)
{
    struct stat st {};
    return ::stat(toNativePath(path).constData(), &st) == 0 ? st.st_ino : 0;
}

}  // namespace

TEST(FileLock, EitherKindOfLockHeldByAnotherProgramMakesUsWait)
{
    TempFiles files;
    const QString path = files.write(QStringLiteral("song.mp3"), QByteArray("audio"));
    for (bool record : {true, false}) {
        OtherOpen other(path);
        ASSERT_TRUE(record ? other.recordLock() : other.wholeFileLock());
        OtherOpen ours(path);
        EXPECT_EQ(lockWholeFile(ours.fd(), milliseconds(30)), kFileLocked) << (record ? "fcntl" : "flock");
    }
    // Once both are free again, ours holds both kinds: the others must wait.
    OtherOpen ours(path);
    ASSERT_EQ(lockWholeFile(ours.fd(), milliseconds(30)), 0);
    OtherOpen other(path);
    EXPECT_FALSE(other.wholeFileLock());
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(other.fd(), F_GETLK, &probe), 0);
    EXPECT_NE(probe.l_type, F_UNLCK) << "a record lock is held over the whole file";
}

TEST(PathLock, AMissingFileIsMadeToBeLockedAndRemovedWhenNothingWasSavedInIt)
{
    TempFiles files;
    const QString path = files.path(QStringLiteral("new/folder/list.svl"));
    {
        PathLock lock;
        ASSERT_EQ(lock.lock(path, milliseconds(100)), 0);
        EXPECT_TRUE(QFile::exists(path));
        PathLock second;
        EXPECT_EQ(second.lock(path, milliseconds(30)), kFileLocked);
    }
    EXPECT_FALSE(QFile::exists(path)) << "the empty file made for the lock is gone";

    const QString kept = files.write(QStringLiteral("kept.svl"), QByteArray());
    {
        PathLock lock;
        ASSERT_EQ(lock.lock(kept, milliseconds(100)), 0);
    }
    EXPECT_TRUE(QFile::exists(kept)) << "an empty file that was there before stays";

    PathLock folder;
    EXPECT_EQ(folder.lock(files.path(QStringLiteral("new")), milliseconds(30)), kNotRegularFile);
}

TEST(PathLock, AWaiterLocksTheFileTheHolderPutInThePlaceOfTheOldOne)
{
    TempFiles files;
    const QString path = files.write(QStringLiteral("list.svl"), QByteArray("old\r\n"));
    auto holder = std::make_unique<PathLock>();
    ASSERT_EQ(holder->lock(path, milliseconds(100)), 0);
    PathLock waiter;
    std::future<int> locked = std::async(std::launch::async, [&] { return waiter.lock(path, milliseconds(20000)); });
    ASSERT_EQ(locked.wait_for(milliseconds(50)), std::future_status::timeout);
    // The holder saves as a save does: a new file renamed over the old one.
    const QString fresh = files.write(QStringLiteral(".list.svl.new"), QByteArray("new\r\n"));
    const ino_t newInode = inodeOf(fresh);
    ASSERT_EQ(::rename(toNativePath(fresh).constData(), toNativePath(path).constData()), 0);
    holder.reset();
    ASSERT_EQ(locked.get(), 0);
    // Locked is the file now at the path: a third comer cannot take it.
    PathLock third;
    EXPECT_EQ(third.lock(path, milliseconds(30)), kFileLocked);
    EXPECT_EQ(inodeOf(path), newInode);
    EXPECT_EQ(TempFiles::read(path), QByteArray("new\r\n"));
}
