#include "platform/FileLock.h"

#include "common/ErrorText.h"
#include "common/NativePath.h"
#include "platform/NativeFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace sonivo {
namespace {

using Clock = std::chrono::steady_clock;

// The errors of a file system that keeps no locks of that kind.
bool noLocksHere(int error)
{
    return error == ENOLCK || error == ENOSYS || error == EOPNOTSUPP || error == EINVAL;
}

bool heldByOther(int error)
{
    return error == EAGAIN || error == EACCES || error == EWOULDBLOCK;
}

int setRecordLock(int fd, short type)
{
    struct flock whole {};
    whole.l_type = type;
    whole.l_whence = SEEK_SET;  // from the start to the end, however long the file grows
    return ::fcntl(fd, F_OFD_SETLK, &whole) == 0 ? 0 : errno;
}

int tryRecordLock(int fd)
{
    return setRecordLock(fd, F_WRLCK);
}

int tryFlock(int fd)
{
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
}

// One try at one kind of lock: 0, ENOLCK when the file system has none of that
// kind, else errno.
int attempt(int (*kind)(int fd), int fd)
{
    int error;
    do
        error = kind(fd);
    while (error == EINTR);
    return noLocksHere(error) ? ENOLCK : error;
}

// Opens the file for writing, making it and its missing folders when there is
// none; -1 with errno set when it cannot be.
int openOrMake(const QByteArray& path)
{
    for (bool madeFolders = false;;) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno == EINTR)
            continue;
        if (errno != ENOENT || std::exchange(madeFolders, true) || !makeNativeFolders(nativeFolderOf(path)))
            return -1;
    }
}

// Both kinds of lock at once or none: 0, kNoFileLocks, kFileLocked when another
// program holds either, else errno. One is never held while waiting for the
// other, so that a program taking them the other way round cannot hold us up.
int tryLockWholeFile(int fd)
{
    int error = attempt(tryRecordLock, fd);
    if (error == 0 || error == ENOLCK) {
        const int record = error;
        error = attempt(tryFlock, fd);
        if (error == 0 || error == ENOLCK)
            return record == ENOLCK && error == ENOLCK ? kNoFileLocks : 0;
        if (record == 0)
            setRecordLock(fd, F_UNLCK);
    }
    return heldByOther(error) ? kFileLocked : error;
}

// The two kinds of try that take no lock: EAGAIN while another program holds one.
int probeRecordLock(int fd)
{
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_GETLK, &whole) != 0)
        return errno;
    return whole.l_type == F_UNLCK ? 0 : EAGAIN;
}

int probeFlock(int fd)
{
    const int error = tryFlock(fd);
    if (error == 0)
        ::flock(fd, LOCK_UN);  // held for no longer than the look
    // NFS takes a flock() as a record lock, which wants a descriptor open for
    // writing: there the record lock's look has seen it already.
    return error == EBADF ? 0 : error;
}

// 0 when no other program holds either kind of lock, kFileLocked, else errno.
int lockHeldByOther(int fd)
{
    for (int (*probe)(int fd) : {probeRecordLock, probeFlock}) {
        const int error = attempt(probe, fd);
        if (error != 0 && error != ENOLCK)
            return heldByOther(error) ? kFileLocked : error;
    }
    return 0;
}

// Tries until `once` gives other than kFileLocked or `wait` has passed, pausing
// a little longer each time.
int retryWhileLocked(std::chrono::milliseconds wait, int (*once)(int fd), int fd)
{
    const Clock::time_point deadline = Clock::now() + wait;
    for (std::chrono::milliseconds pause(1);; pause = std::min(pause * 2, std::chrono::milliseconds(50))) {
        const int result = once(fd);
        if (result != kFileLocked || Clock::now() >= deadline)
            return result;
        std::this_thread::sleep_for(pause);
    }
}

}  // namespace

int lockWholeFile(int fd, std::chrono::milliseconds wait)
{
    return retryWhileLocked(wait, tryLockWholeFile, fd);
}

int waitUntilUnlocked(int fd, std::chrono::milliseconds wait)
{
    return retryWhileLocked(wait, lockHeldByOther, fd);
}

PathLock::~PathLock()
{
    release();
}

void PathLock::release()
{
    if (fd_ < 0)
        return;
    struct stat st;
    // Still the empty file made for the lock: nothing was saved in its place.
    if (made_ && ::stat(path_.constData(), &st) == 0 && st.st_dev == device_ && st.st_ino == inode_ && st.st_size == 0)
        ::unlink(path_.constData());
    ::close(fd_);
    fd_ = -1;
}

int PathLock::lock(const QString& path, std::chrono::milliseconds wait)
{
    release();
    path_ = toNativePath(path);
    const Clock::time_point deadline = Clock::now() + wait;
    for (;;) {
        struct stat before;
        const bool existed = ::stat(path_.constData(), &before) == 0;
        if (existed && !S_ISREG(before.st_mode))
            return kNotRegularFile;
        const int fd = openOrMake(path_);
        if (fd < 0)
            return errno;
        struct stat opened;
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(fd);
            return kNotRegularFile;  // replaced by something else between the two looks
        }
        const auto left = std::max(Clock::duration::zero(), deadline - Clock::now());
        const int locked = lockWholeFile(fd, std::chrono::duration_cast<std::chrono::milliseconds>(left));
        if (locked != 0 && locked != kNoFileLocks) {
            ::close(fd);
            return locked;
        }
        struct stat now;
        if (::stat(path_.constData(), &now) == 0 && now.st_dev == opened.st_dev && now.st_ino == opened.st_ino) {
            fd_ = fd;
            made_ = !existed;
            device_ = opened.st_dev;
            inode_ = opened.st_ino;
            return locked;
        }
        ::close(fd);  // replaced meanwhile: lock the file that is there now
        if (Clock::now() >= deadline)
            return kFileLocked;
    }
}

}  // namespace sonivo
