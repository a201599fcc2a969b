#pragma once
// Everything under a folder: each entry's relative path, kind, permissions and
// content, so that a test can say a folder is exactly as it was.

#include <QString>
#include <map>

namespace sonivo::test {

struct FolderEntry {
    QString kind;  // "folder", "file", "link"
    unsigned mode = 0;
    QByteArray content;  // a file's bytes, a link's target
    bool operator==(const FolderEntry&) const = default;
};

using FolderSnapshot = std::map<QString, FolderEntry>;

FolderSnapshot snapshot(const QString& folder);
// The entries that differ, one per line, for a test's failure message.
QString differences(const FolderSnapshot& before, const FolderSnapshot& after);

}  // namespace sonivo::test
