#pragma once
// Advisory locks, as other programs that change a file take them: a whole-file
// fcntl() record lock (the POSIX one, which NFS and Samba pass on to other
// machines) and a flock() lock (flock(1) and the programs built on it). Both are
// taken, or neither, so that a program honouring either kind waits for us and we
// for it, and none that takes them the other way round holds us up. The
// record lock is an open-file-description one: closing another descriptor of the
// same file in this process does not drop it.

#include <QByteArray>
#include <QString>
#include <chrono>
#include <sys/types.h>

namespace sonivo {

// Locks the file open for writing on fd, waiting at most `wait` while another
// program holds it: 0, kFileLocked when the wait ran out, kNoFileLocks when the
// file system takes no lock of either kind, else errno. The locks last until the
// file's last descriptor is closed.
int lockWholeFile(int fd, std::chrono::milliseconds wait);
// Waits at most `wait` until no other program holds either lock on the file open
// on fd, which may be open for reading only; takes none itself, so another may
// come first before the caller locks. 0, kFileLocked when the wait ran out, else
// errno; 0 also where the file system takes no locks.
int waitUntilUnlocked(int fd, std::chrono::milliseconds wait);

// An exclusive lock on the file a path names, for an update that replaces the
// file by renaming a new one over it: the lock is taken on the file found there,
// and when the path names another file by then (the holder before put a new one
// in its place), that one is locked instead. A missing file is made, empty, so
// that there is one to lock; it is removed again when it is still that empty file
// when the lock is released.
class PathLock {
public:
    PathLock() = default;
    ~PathLock();
    PathLock(const PathLock&) = delete;
    PathLock& operator=(const PathLock&) = delete;

    // 0, kNotRegularFile, kFileLocked (after `wait` in all), errno, or
    // kNoFileLocks: then the file is open but not locked.
    int lock(const QString& path, std::chrono::milliseconds wait);
    void release();

private:
    QByteArray path_;
    int fd_ = -1;
    bool made_ = false;  // the file did not exist before
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

}  // namespace sonivo
