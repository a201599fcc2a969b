#pragma once
// Thin wrappers over the POSIX file calls the analysis needs, taking QString names
// (converted losslessly with toNativePath) and reporting failures as errno values.

#include "common/ErrorText.h"

#include <QDateTime>
#include <QString>
#include <chrono>
#include <optional>
#include <sys/stat.h>
#include <sys/types.h>

namespace sonivo {

// What the catalogue shows of a file, from one look at it.
struct FileFacts {
    mode_t mode = 0;  // permission and type bits
    qint64 size = 0;
    QDateTime created;  // birth time where the file system keeps one, else modification time (UTC)
};
// The facts of the file of that name in an open folder (following a link), or nothing.
std::optional<FileFacts> fileFactsAt(int folderFd, const QString& name);

class NativeFile {
public:
    enum class Mode { Read, ReadWrite };

    NativeFile() = default;
    ~NativeFile();
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;

    // Opens a regular file only: anything else (a pipe, a device, a folder) is
    // refused with kNotRegularFile, without waiting for a writer to appear.
    bool open(const QString& path, Mode mode);
    // The same, for a name in an open folder.
    bool openIn(int folderFd, const QString& name, Mode mode);
    // Opens the very file another object has open, whatever name it has by now.
    bool openAgain(const NativeFile& file, Mode mode);
    // Closes the file; false when the close reported an error (data may not be written).
    bool close();
    bool isOpen() const { return fd_ >= 0; }
    // The file as it was when opened, also when refused as not regular; nothing
    // when it could not be opened.
    const std::optional<FileFacts>& facts() const { return facts_; }

    // Current length in bytes, or -1.
    qint64 size();
    // Reads up to len bytes at offset; fewer at the end of the file, -1 on error.
    qint64 readAt(qint64 offset, void* buffer, qint64 len);
    // Writes len bytes at offset; false unless all of them were written.
    bool writeAt(qint64 offset, const void* buffer, qint64 len);
    // Writes len bytes in one write at the end the file has at that moment, so that
    // bytes another program appends meanwhile are neither written over nor split.
    // A write that fails part-way is taken back unless something came after it.
    bool append(const void* buffer, qint64 len);
    bool truncate(qint64 length);
    // Takes the advisory locks of lockWholeFile (the file open for writing): 0,
    // kFileLocked, kNoFileLocks or errno.
    int lock(std::chrono::milliseconds wait);
    // Waits as waitUntilUnlocked does (the file may be open for reading only):
    // 0, kFileLocked or errno.
    int waitUntilUnlocked(std::chrono::milliseconds wait);
    // The file's permission and type bits now, or nothing.
    std::optional<mode_t> mode();
    bool setMode(mode_t mode);

    // True while the path names this file: false once another program has put a
    // new file in its place (or removed the name).
    bool isAt(const QString& path);

    // errno of the last failed call.
    int error() const { return error_; }

private:
    bool fail();
    bool openAt(int folderFd, const QByteArray& name, Mode mode);

    int fd_ = -1;
    int error_ = 0;
    std::optional<FileFacts> facts_;
};

// True when a directory entry of that name exists (a folder or a dangling link counts).
bool pathExists(const QString& path);
// Permission and type bits of the file (following links), or nothing.
std::optional<mode_t> fileMode(const QString& path);
bool setFileMode(const QString& path, mode_t mode);
// Length of the file in bytes, or -1.
qint64 fileSize(const QString& path);
// The folder part of a path in the file system's bytes ("." for a bare name).
QByteArray nativeFolderOf(const QByteArray& path);
// mkdir -p; false with errno set when a folder could not be made.
bool makeNativeFolders(const QByteArray& folder);
// Renames without ever replacing an existing target, also on file systems that
// can neither rename so nor make hard links; 0 on success, else errno.
int renameNoReplace(const QString& from, const QString& to);
// Gives the file open on fd the owner, group and permissions of another file:
// owner and group where the user may set them, else the group alone; when the
// group cannot be given either, none of the other file's group permissions.
// 0 or errno; sameGroup, when given, says whether the group was kept.
int takeOwnerAndMode(int fd, const struct stat& of, bool* sameGroup = nullptr);

}  // namespace sonivo
