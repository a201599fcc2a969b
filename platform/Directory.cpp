#include "platform/Directory.h"

#include "common/NativePath.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace sonivo {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK;

// Opens at the folder; a process out of descriptors (a very deep tree holds one
// per level) gets the largest number it may have, once.
int openFolderAt(int parent, const char* name)
{
    int fd;
    do {
        fd = ::openat(parent, name, kFolderFlags);
    } while (fd < 0 && errno == EINTR);
    static bool raised = false;
    if (fd < 0 && errno == EMFILE && !std::exchange(raised, true)) {
        rlimit limit{};
        if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
            limit.rlim_cur = limit.rlim_max;
            ::setrlimit(RLIMIT_NOFILE, &limit);
        }
        fd = ::openat(parent, name, kFolderFlags);
    }
    return fd;
}

}  // namespace

std::optional<std::vector<DirEntry>> listFolder(const QString& folder)
{
    return FolderHandle::open(folder).list();
}

bool describeEntry(int folderFd, const char* name, unsigned char type, DirEntry& entry)
{
    struct statx st {};
    if (type == DT_UNKNOWN) {
        if (::statx(folderFd, name, AT_SYMLINK_NOFOLLOW, STATX_TYPE, &st) != 0)
            return false;
        type = IFTODT(st.stx_mode);
    }
    entry.isLink = type == DT_LNK;
    if (entry.isLink) {
        if (::statx(folderFd, name, 0, STATX_TYPE, &st) != 0)
            return false;
        type = IFTODT(st.stx_mode);
    }
    entry.isFolder = type == DT_DIR;
    entry.isFile = type == DT_REG;
    return true;
}

FolderHandle::~FolderHandle()
{
    if (fd_ >= 0)
        ::close(fd_);
}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept : fd_(std::exchange(other.fd_, -1)), error_(other.error_) {}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        error_ = other.error_;
    }
    return *this;
}

FolderHandle FolderHandle::open(const QString& path)
{
    const int fd = openFolderAt(AT_FDCWD, toNativePath(path).constData());
    return FolderHandle(fd, fd < 0 ? errno : 0);
}

FolderHandle FolderHandle::openChild(const QString& name) const
{
    const int fd = openFolderAt(fd_, toNativePath(name).constData());
    return FolderHandle(fd, fd < 0 ? errno : 0);
}

std::optional<FolderId> FolderHandle::id() const
{
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        return std::nullopt;
    return FolderId{quint64(st.st_dev), quint64(st.st_ino)};
}

std::optional<QString> FolderHandle::canonicalPath() const
{
    // The kernel keeps the resolved path of every open file.
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd_);
    QByteArray target(PATH_MAX, Qt::Uninitialized);
    const ssize_t n = ::readlink(link.constData(), target.data(), size_t(target.size()));
    if (n <= 0 || n >= target.size() || target.front() != '/')
        return std::nullopt;
    target.truncate(n);
    if (target.endsWith(" (deleted)"))
        return std::nullopt;
    if (!target.endsWith('/'))
        target += '/';
    return fromNativePath(target);
}

std::optional<std::vector<DirEntry>> FolderHandle::list()
{
    if (fd_ < 0)
        return std::nullopt;
    // Read straight from the folder's own descriptor, from its start (a listing
    // before this one left it at the end), a buffer's worth of entries a call.
    if (::lseek(fd_, 0, SEEK_SET) != 0) {
        error_ = errno;
        return std::nullopt;
    }
    std::vector<DirEntry> entries;
    alignas(dirent64) char buffer[32768];
    for (;;) {
        const ssize_t n = ::getdents64(fd_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error_ = errno;
            return std::nullopt;
        }
        if (n == 0)
            return entries;
        for (ssize_t at = 0; at < n;) {
            const auto* d = reinterpret_cast<const dirent64*>(buffer + at);
            at += d->d_reclen;
            const QByteArrayView name(d->d_name);
            if (name == "." || name == "..")
                continue;
            DirEntry entry;
            entry.name = fromNativePath(name);
            if (describeEntry(fd_, d->d_name, d->d_type, entry))
                entries.push_back(std::move(entry));
        }
    }
}

}  // namespace sonivo
