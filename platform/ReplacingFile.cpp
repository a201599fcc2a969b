#include "platform/ReplacingFile.h"

#include "common/NativePath.h"
#include "platform/ExtendedAttributes.h"
#include "platform/NativeFile.h"

#include <QRandomGenerator>
#include <QScopeGuard>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sonivo {
namespace {

// Whether the kernel's protected_symlinks rule lets this user follow the link
// found in that folder: its own link, one in a folder that is not both sticky and
// writable by all, or one of the folder's owner. Applied whatever the system's
// setting, so that a link another user left in /tmp never turns a save into a
// write to a file of ours that the shell's `>` would refuse.
bool mayFollow(const struct stat& link, const QByteArray& folder)
{
    if (link.st_uid == ::geteuid())
        return true;
    struct stat st;
    if (::stat(folder.constData(), &st) != 0)
        return false;
    constexpr mode_t kShared = S_ISVTX | S_IWOTH;
    return (st.st_mode & kShared) != kShared || st.st_uid == link.st_uid;
}

// Follows the path's symbolic links one by one to the file they name, so that the
// links stay and that file is replaced: 0, or why a link may not be followed.
int followLinks(QByteArray& path)
{
    constexpr int kMostLinks = 40;  // as many as the kernel follows
    for (int followed = 0;; ++followed) {
        struct stat st;
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return 0;
        if (followed == kMostLinks)
            return ELOOP;
        const QByteArray folder = nativeFolderOf(path);
        if (!mayFollow(st, folder))
            return EACCES;
        char to[PATH_MAX];
        const ssize_t size = ::readlink(path.constData(), to, sizeof to);
        if (size < 0)
            return errno;
        if (size == ssize_t(sizeof to))
            return ENAMETOOLONG;
        path = to[0] == '/' ? QByteArray(to, size) : folder + '/' + QByteArray(to, size);
    }
}

// The temporary file's name: ".", the start of the target's name, ".new-" and a
// random part, at most 53 bytes whatever the target's name, so that it fits
// wherever the target's name does. The start is cut between two characters.
QByteArray temporaryStem(const QByteArray& target)
{
    constexpr qsizetype kKeptBytes = 40;
    QByteArray name = target.mid(target.lastIndexOf('/') + 1);
    if (name.size() > kKeptBytes) {
        qsizetype cut = kKeptBytes;
        while (cut > 0 && (uchar(name.at(cut)) & 0xC0) == 0x80)
            --cut;  // not inside a UTF-8 sequence
        name.truncate(cut);
    }
    return nativeFolderOf(target) + "/." + name + ".new-";
}

// Opens the old file for writing, as an append to it would be: its descriptor,
// or -errno when the user may not write it (-ENOENT when it is gone).
int openForWriting(const QByteArray& target)
{
    int fd;
    do
        fd = ::open(target.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    return fd < 0 ? -errno : fd;
}

}  // namespace

ReplacingFile::~ReplacingFile()
{
    discard();
}

bool ReplacingFile::fail(int error)
{
    error_ = error;
    discard();
    return false;
}

void ReplacingFile::discard()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temporary_.isEmpty())
        ::unlink(temporary_.constData());
    temporary_.clear();
}

bool ReplacingFile::open(const QString& target, Folders folders)
{
    discard();
    target_ = toNativePath(target);
    if (folders == Folders::Create && !makeNativeFolders(nativeFolderOf(target_)))
        return fail(errno);
    if (const int refused = followLinks(target_))
        return fail(refused);
    struct stat old;
    const bool found = ::stat(target_.constData(), &old) == 0;
    if (found && !S_ISREG(old.st_mode))
        return fail(kNotRegularFile);
    // Its permissions and attributes are taken from the file opened, not its name.
    const int oldFd = found ? openForWriting(target_) : -ENOENT;
    const auto closeOld = qScopeGuard([oldFd] {
        if (oldFd >= 0)
            ::close(oldFd);
    });
    if (oldFd < 0 && oldFd != -ENOENT)
        return fail(-oldFd);
    if (oldFd >= 0 && ::fstat(oldFd, &old) != 0)
        return fail(errno);
    const bool replacing = oldFd >= 0;
    // The old file's owner permissions at most until its own are given, so that
    // nobody it kept out can read the new one meanwhile.
    const mode_t mode = replacing ? (old.st_mode & S_IRWXU) : 0666;
    const QByteArray stem = temporaryStem(target_);
    do {
        temporary_ = stem + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd_ = ::open(temporary_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    } while (fd_ < 0 && (errno == EEXIST || errno == EINTR));
    if (fd_ < 0) {
        temporary_.clear();
        return fail(errno);
    }
    return !replacing || takeOver(old, oldFd);
}

bool ReplacingFile::takeOver(const struct stat& old, int oldFd)
{
    bool sameGroup = false;
    if (const int error = takeOwnerAndMode(fd_, old, &sameGroup))
        return fail(error);
    const int error = copyExtendedAttributes(oldFd, fd_, sameGroup);
    return error == 0 || fail(error);
}

bool ReplacingFile::write(QByteArrayView bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n == 0 ? ENOSPC : errno);
        done += n;
    }
    return true;
}

bool ReplacingFile::commit()
{
    if (::fsync(fd_) != 0)
        return fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        return fail(errno);
    if (::rename(temporary_.constData(), target_.constData()) != 0)
        return fail(errno);
    temporary_.clear();
    // The new name on disk too; a folder that cannot be synced changes nothing now.
    const int folder = ::open(nativeFolderOf(target_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

}  // namespace sonivo
