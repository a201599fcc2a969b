#include "platform/Directory.h"

#include "common/NativePath.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace sonivo {
namespace {

QDateTime fromTimestamp(const struct statx_timestamp& t)
{
    // Kept in UTC: a conversion to local time here would cost system calls per entry.
    return QDateTime::fromMSecsSinceEpoch(qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000, Qt::UTC);
}

// Looks at one entry, following links; false when it is gone.
bool describe(int dirFd, const dirent& d, EntryDetail detail, DirEntry& entry)
{
    if (detail == EntryDetail::TypeOnly && (d.d_type == DT_REG || d.d_type == DT_DIR)) {
        entry.isFolder = d.d_type == DT_DIR;
        return true;
    }
    const char* name = d.d_name;
    struct statx st {};
    if (::statx(dirFd, name, 0, STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_BTIME | STATX_MTIME, &st) != 0)
        return false;
    entry.isFolder = S_ISDIR(st.stx_mode);
    entry.size = qint64(st.stx_size);
    entry.mode = st.stx_mode;
    entry.created = fromTimestamp((st.stx_mask & STATX_BTIME) ? st.stx_btime : st.stx_mtime);
    return true;
}

}  // namespace

std::optional<std::vector<DirEntry>> listFolder(const QString& folder, EntryDetail detail)
{
    DIR* dir = ::opendir(toNativePath(folder).constData());
    if (!dir)
        return std::nullopt;
    std::vector<DirEntry> entries;
    while (const dirent* d = ::readdir(dir)) {
        const QByteArray name(d->d_name);
        if (name == "." || name == "..")
            continue;
        DirEntry entry;
        entry.name = fromNativePath(name);
        if (describe(::dirfd(dir), *d, detail, entry))
            entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    return entries;
}

std::optional<FolderId> folderId(const QString& folder)
{
    struct stat st {};
    if (::stat(toNativePath(folder).constData(), &st) != 0)
        return std::nullopt;
    return FolderId{quint64(st.st_dev), quint64(st.st_ino)};
}

}  // namespace sonivo
