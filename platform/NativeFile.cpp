#include "platform/NativeFile.h"

#include "common/NativePath.h"
#include "platform/FileLock.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sonivo {
namespace {

constexpr unsigned kFileFactsMask = STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_BTIME | STATX_MTIME;

FileFacts fileFacts(const struct statx& st)
{
    const statx_timestamp& t = (st.stx_mask & STATX_BTIME) ? st.stx_btime : st.stx_mtime;
    // Kept in UTC: a conversion to local time here would cost system calls per file.
    return {st.stx_mode, qint64(st.stx_size), QDateTime::fromMSecsSinceEpoch(qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000, Qt::UTC)};
}

}  // namespace

std::optional<FileFacts> fileFactsAt(int folderFd, const QString& name)
{
    struct statx st {};
    if (::statx(folderFd, toNativePath(name).constData(), 0, kFileFactsMask, &st) != 0)
        return std::nullopt;
    return fileFacts(st);
}

NativeFile::~NativeFile()
{
    close();
}

bool NativeFile::fail()
{
    error_ = errno;
    return false;
}

bool NativeFile::open(const QString& path, Mode mode)
{
    return openAt(AT_FDCWD, toNativePath(path), mode);
}

bool NativeFile::openAgain(const NativeFile& file, Mode mode)
{
    return openAt(AT_FDCWD, "/proc/self/fd/" + QByteArray::number(file.fd_), mode);
}

bool NativeFile::openIn(int folderFd, const QString& name, Mode mode)
{
    return openAt(folderFd, toNativePath(name), mode);
}

bool NativeFile::openAt(int folderFd, const QByteArray& name, Mode mode)
{
    close();
    facts_.reset();
    // O_NONBLOCK: opening a pipe must not wait for its other end. It changes
    // nothing for a regular file, the only kind kept open.
    const int flags = (mode == Mode::Read ? O_RDONLY : O_RDWR) | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    do {
        fd_ = ::openat(folderFd, name.constData(), flags);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0)
        return fail();
    // One look at the open file tells its kind and all the catalogue shows of it.
    struct statx st {};
    if (::statx(fd_, "", AT_EMPTY_PATH, kFileFactsMask, &st) == 0)
        facts_ = fileFacts(st);
    const int kind = !facts_ ? errno : S_ISREG(facts_->mode) ? 0 : kNotRegularFile;
    if (kind == 0)
        return true;
    close();
    error_ = kind;
    return false;
}

bool NativeFile::close()
{
    if (fd_ < 0)
        return true;
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0 || fail();
}

qint64 NativeFile::size()
{
    struct stat st;
    if (::fstat(fd_, &st) != 0) {
        fail();
        return -1;
    }
    return st.st_size;
}

qint64 NativeFile::readAt(qint64 offset, void* buffer, qint64 len)
{
    auto* out = static_cast<char*>(buffer);
    qint64 done = 0;
    while (done < len) {
        const ssize_t n = ::pread(fd_, out + done, size_t(len - done), off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail();
            return -1;
        }
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

bool NativeFile::writeAt(qint64 offset, const void* buffer, qint64 len)
{
    // After a short write the rest is written again: that call fails with the
    // real reason (a full disk, the file-size limit).
    const auto* in = static_cast<const char*>(buffer);
    qint64 done = 0;
    while (done < len) {
        const ssize_t n = ::pwrite(fd_, in + done, size_t(len - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return fail();
        }
        done += n;
    }
    return true;
}

bool NativeFile::append(const void* buffer, qint64 len)
{
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags < 0 || ::fcntl(fd_, F_SETFL, flags | O_APPEND) != 0)
        return fail();
    ssize_t n;
    do
        n = ::write(fd_, buffer, size_t(len));
    while (n < 0 && errno == EINTR);
    // A short write is not written on: the rest would land after another
    // program's bytes. The next write would fail with the reason; ENOSPC stands in.
    const int error = n < 0 ? errno : ENOSPC;
    if (n > 0 && n < len) {
        const off_t end = ::lseek(fd_, 0, SEEK_CUR);  // just after the bytes written
        struct stat st;
        if (end >= n && ::fstat(fd_, &st) == 0 && st.st_size == end)
            truncate(end - n);
    }
    ::fcntl(fd_, F_SETFL, flags);  // writeAt writes where it is told again
    if (n == len)
        return true;
    error_ = error;
    return false;
}

bool NativeFile::isAt(const QString& path)
{
    struct stat opened;
    struct stat named;
    return ::fstat(fd_, &opened) == 0 && ::stat(toNativePath(path).constData(), &named) == 0 && opened.st_dev == named.st_dev
        && opened.st_ino == named.st_ino;
}

int NativeFile::lock(std::chrono::milliseconds wait)
{
    const int result = lockWholeFile(fd_, wait);
    if (result != 0)
        error_ = result;
    return result;
}

int NativeFile::waitUntilUnlocked(std::chrono::milliseconds wait)
{
    const int result = sonivo::waitUntilUnlocked(fd_, wait);
    if (result != 0)
        error_ = result;
    return result;
}

std::optional<mode_t> NativeFile::mode()
{
    struct stat st;
    if (::fstat(fd_, &st) != 0) {
        fail();
        return std::nullopt;
    }
    return st.st_mode;
}

bool NativeFile::setMode(mode_t mode)
{
    return ::fchmod(fd_, mode & 07777) == 0 || fail();
}

bool NativeFile::truncate(qint64 length)
{
    int rc;
    do {
        rc = ::ftruncate(fd_, off_t(length));
    } while (rc != 0 && errno == EINTR);
    return rc == 0 || fail();
}

bool pathExists(const QString& path)
{
    struct stat st;
    return !path.isEmpty() && ::lstat(toNativePath(path).constData(), &st) == 0;
}

std::optional<mode_t> fileMode(const QString& path)
{
    struct stat st;
    if (::stat(toNativePath(path).constData(), &st) != 0)
        return std::nullopt;
    return st.st_mode;
}

bool setFileMode(const QString& path, mode_t mode)
{
    return ::chmod(toNativePath(path).constData(), mode & 07777) == 0;
}

qint64 fileSize(const QString& path)
{
    struct stat st;
    if (::stat(toNativePath(path).constData(), &st) != 0)
        return -1;
    return st.st_size;
}

QByteArray nativeFolderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

bool makeNativeFolders(const QByteArray& folder)
{
    for (qsizetype slash = folder.indexOf('/', 1);; slash = folder.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? folder : folder.left(slash);
        if (::mkdir(part.constData(), 0777) != 0 && errno != EEXIST)
            return false;
        if (slash < 0)
            return true;
    }
}

int renameNoReplace(const QString& from, const QString& to)
{
    const QByteArray src = toNativePath(from);
    const QByteArray dst = toNativePath(to);
    if (::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // The file system cannot rename without replacing: link, then unlink the old
    // name; link fails instead of replacing when the target exists.
    if (::link(src.constData(), dst.constData()) == 0) {
        if (::unlink(src.constData()) == 0)
            return 0;
        const int err = errno;
        ::unlink(dst.constData());
        return err;
    }
    if (errno != EPERM && errno != EOPNOTSUPP)
        return errno;
    // No hard links either (FAT): check, then rename.
    struct stat st;
    if (::lstat(dst.constData(), &st) == 0)
        return EEXIST;
    return ::rename(src.constData(), dst.constData()) == 0 ? 0 : errno;
}

int takeOwnerAndMode(int fd, const struct stat& of, bool* sameGroup)
{
    mode_t mode = of.st_mode & 07777;
    const bool kept = ::fchown(fd, of.st_uid, of.st_gid) == 0 || ::fchown(fd, uid_t(-1), of.st_gid) == 0;
    if (!kept)
        mode &= ~mode_t(S_IRWXG);
    if (sameGroup)
        *sameGroup = kept;
    return ::fchmod(fd, mode) == 0 ? 0 : errno;
}

}  // namespace sonivo
