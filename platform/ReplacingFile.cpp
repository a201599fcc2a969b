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

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// mkdir -p; false with errno set when a folder could not be made.
bool makeFolders(const QByteArray& folder)
{
    for (qsizetype slash = folder.indexOf('/', 1);; slash = folder.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? folder : folder.left(slash);
        if (::mkdir(part.constData(), 0777) != 0 && errno != EEXIST)
            return false;
        if (slash < 0)
            return true;
    }
}

// The file a symbolic link names, so that the link stays and its file is replaced.
QByteArray followLinks(const QByteArray& path)
{
    struct stat st;
    if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    return ::realpath(path.constData(), resolved) ? QByteArray(resolved) : path;
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
    struct stat st;
    if (::stat(target_.constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return fail(kNotRegularFile);
    const QByteArray folder = folderOf(target_);
    if (folders == Folders::Create && !makeFolders(folder))
        return fail(errno);
    const qsizetype slash = target_.lastIndexOf('/');
    const QByteArray stem = folder + '/' + '.' + target_.mid(slash + 1) + ".new-";
    do {
        temporary_ = stem + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd_ = ::open(temporary_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd_ < 0 && (errno == EEXIST || errno == EINTR));
    if (fd_ < 0) {
        temporary_.clear();
        return fail(errno);
    }
    return true;
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
    struct stat old;
    if (::stat(target_.constData(), &old) == 0) {
        if (::fchmod(fd_, old.st_mode & 07777) != 0)
            return fail(errno);
        // Owner and group as they were where the user may; else the group alone.
        if (::fchown(fd_, old.st_uid, old.st_gid) != 0)
            (void)::fchown(fd_, uid_t(-1), old.st_gid);
    }
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
    const int folder = ::open(folderOf(target_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

}  // namespace sonivo
