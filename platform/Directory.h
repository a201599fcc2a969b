#pragma once
// Folder listings in the order the file system returns them, with each entry's
// kind, without losing names that are not valid UTF-8.

#include <QString>
#include <optional>
#include <vector>

namespace sonivo {

struct DirEntry {
    QString name;
    bool isFolder = false;  // a folder, or a link to one
    bool isFile = false;    // a regular file, or a link to one
    bool isLink = false;    // a symbolic link
};

// The entries of the folder other than "." and "..", or nothing when it cannot be
// listed. The kind comes from the listing itself; an entry is looked at only when
// it is a link or the file system does not tell its kind, and left out when it
// vanishes meanwhile.
std::optional<std::vector<DirEntry>> listFolder(const QString& folder);
// The kind of the entry of that name and directory type (DT_*) in an open folder;
// false when it is gone.
bool describeEntry(int folderFd, const char* name, unsigned char type, DirEntry& entry);

// Identity of a folder (device and inode), to notice one reached twice through links.
struct FolderId {
    quint64 device = 0;
    quint64 inode = 0;
    auto operator<=>(const FolderId&) const = default;
};

// An open folder. A tree walked by opening each subfolder in its open parent goes
// as deep as the file system does, whatever the length of the paths.
class FolderHandle {
public:
    FolderHandle() = default;
    ~FolderHandle();
    FolderHandle(FolderHandle&& other) noexcept;
    FolderHandle& operator=(FolderHandle&& other) noexcept;

    // Opens the folder (following links); error() says why not.
    static FolderHandle open(const QString& path);
    // Opens a subfolder by its name (following a link).
    FolderHandle openChild(const QString& name) const;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // errno of the failed open or listing.
    int error() const { return error_; }
    std::optional<FolderId> id() const;
    // The path without links, "." or "..", ending with "/"; nothing when the
    // system cannot tell it.
    std::optional<QString> canonicalPath() const;
    // As listFolder; nothing also when the listing fails part-way.
    std::optional<std::vector<DirEntry>> list();

private:
    FolderHandle(int fd, int error) : fd_(fd), error_(error) {}

    int fd_ = -1;
    int error_ = 0;
};

}  // namespace sonivo
