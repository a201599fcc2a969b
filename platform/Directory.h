#pragma once
// Folder listings in the order the file system returns them, with each entry's
// size and creation time, without losing names that are not valid UTF-8.

#include <QDateTime>
#include <QString>
#include <optional>
#include <sys/types.h>
#include <vector>

namespace sonivo {

struct DirEntry {
    QString name;
    bool isFolder = false;  // a folder, or a link to one
    qint64 size = 0;
    mode_t mode = 0;        // permission and type bits
    QDateTime created;      // birth time where the file system keeps one, else modification time (UTC)
};

enum class EntryDetail {
    Full,      // every field
    TypeOnly,  // name and isFolder only, from the listing itself where it can
};

// The entries of the folder other than "." and "..", or nothing when it cannot be
// listed. An entry that vanishes while being looked at is left out.
std::optional<std::vector<DirEntry>> listFolder(const QString& folder, EntryDetail detail = EntryDetail::Full);

// Identity of a folder (device and inode), to notice one reached twice through links.
struct FolderId {
    quint64 device = 0;
    quint64 inode = 0;
    auto operator<=>(const FolderId&) const = default;
};
std::optional<FolderId> folderId(const QString& folder);

}  // namespace sonivo
