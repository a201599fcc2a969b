#include "platform/ReplacingFile.h"

#include "common/NativePath.h"
#include "platform/NativeFile.h"

#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sonivo {
namespace {

// The file a symbolic link names, so that the link stays and its file is replaced.
QByteArray followLinks(const QByteArray& path)
{
    struct stat st;
    if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    return ::realpath(path.constData(), resolved) ? QByteArray(resolved) : path;
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

// Opens the target for writing and closes it again: 0 when the user may write it
// (a missing one may be made), else why not, as an append to it would be refused.
int writableTarget(const QByteArray& target)
{
    int fd;
    do
        fd = ::open(target.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return errno == ENOENT ? 0 : errno;
    ::close(fd);
    return 0;
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
    target_ = followLinks(toNativePath(target));
    struct stat old;
    const bool replacing = ::stat(target_.constData(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode))
        return fail(kNotRegularFile);
    if (const int refused = replacing ? writableTarget(target_) : 0)
        return fail(refused);
    if (folders == Folders::Create && !makeNativeFolders(nativeFolderOf(target_)))
        return fail(errno);
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
    return !replacing || takeOver(old);
}

bool ReplacingFile::takeOver(const struct stat& old)
{
    // Owner and group as they were where the user may; else the group alone. A
    // group that cannot be given gets none of the old group's permissions.
    mode_t mode = old.st_mode & 07777;
    if (::fchown(fd_, old.st_uid, old.st_gid) != 0 && ::fchown(fd_, uid_t(-1), old.st_gid) != 0)
        mode &= ~mode_t(S_IRWXG);
    return ::fchmod(fd_, mode) == 0 || fail(errno);
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
