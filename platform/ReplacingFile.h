#pragma once
// Replaces a file's content safely: the new bytes go to a new file beside it,
// which takes the old one's place only once all of them are on disk, so that a
// failure at any point (a full disk, the file-size limit, a crash) leaves the old
// file as it was. The new file has the old one's permissions, and its owner and
// group where the user may set them, from its first byte; then its ACL and other
// extended attributes. Being a new file, it is not seen through a hard link to
// the old one. A symbolic link stays and the file it names is replaced, where the
// system would let a write through it: another user's link in a sticky folder
// open to all, as /tmp, is refused (EACCES) unless the folder is that user's.

#include <QByteArray>
#include <QString>
#include <sys/stat.h>

namespace sonivo {

class ReplacingFile {
public:
    ReplacingFile() = default;
    // Removes the new file when it was not committed.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Whether open makes the folders the target's path names that do not exist.
    enum class Folders { Create, MustExist };
    // Creates the missing folders (unless told not to) and the new file; refuses
    // a target that exists and is not a regular file, or that the user may not write.
    bool open(const QString& target, Folders folders = Folders::Create);
    bool write(QByteArrayView bytes);
    // Flushes the new file to disk and puts it in place of the target.
    bool commit();
    // errno (or kNotRegularFile) of the failure.
    int error() const { return error_; }

private:
    bool fail(int error);
    // Gives the new file the owner, group, permissions and extended attributes
    // of the old one, open as oldFd.
    bool takeOver(const struct stat& old, int oldFd);
    void discard();

    QByteArray target_;
    QByteArray temporary_;
    int fd_ = -1;
    int error_ = 0;
};

}  // namespace sonivo
