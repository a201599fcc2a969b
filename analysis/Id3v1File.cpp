#include "analysis/Id3v1File.h"

#include "analysis/FileAttributes.h"
#include "analysis/Id3v1Tag.h"
#include "platform/NativeFile.h"

namespace sonivo {
namespace {

// How long a tag write waits for another program's lock on the file.
constexpr std::chrono::seconds kTagLockWait(5);

// Offset of the file's tag, -1 when it has none, -2 when it cannot be read.
qint64 tagOffset(NativeFile& file, unsigned char* oldTag)
{
    const qint64 size = file.size();
    if (size < 0)
        return -2;
    if (size < kId3v1Size)
        return -1;
    if (file.readAt(size - kId3v1Size, oldTag, kId3v1Size) != kId3v1Size)
        return -2;
    return isId3v1Tag(oldTag) ? size - kId3v1Size : -1;
}

}  // namespace

bool writeId3v1(const QString& path, const QByteArray& block)
{
    WritableWhileInScope writable(path);
    NativeFile file;
    if (!file.open(path, NativeFile::Mode::ReadWrite))
        return false;
    // Programs that lock the file for their changes wait for the write, and it for
    // them. Where the file system takes no locks it goes on all the same: it only
    // changes the bytes it reads as the old tag, or appends at the very end.
    const int locked = file.lock(kTagLockWait);
    if (locked != 0 && locked != kNoFileLocks)
        return false;
    unsigned char oldTag[kId3v1Size];
    const qint64 at = tagOffset(file, oldTag);
    if (at == -2)
        return false;
    bool written;
    if (at >= 0) {
        written = file.writeAt(at, block.constData(), kId3v1Size);
        if (!written)
            file.writeAt(at, oldTag, kId3v1Size);  // put back what a partial write changed
    } else {
        // At the end as it is when written, also while another program appends.
        written = file.append(block.constData(), kId3v1Size);
    }
    // Written into a file another program has meanwhile replaced, the tag is in
    // no file of that name.
    const bool stillThere = file.isAt(path);
    return file.close() && written && stillThere;
}

RemoveResult removeId3v1(const QString& path)
{
    if (!pathExists(path))
        return RemoveResult::Failed;
    WritableWhileInScope writable(path);
    unsigned char oldTag[kId3v1Size];
    NativeFile file;
    // A file that has no tag is left alone even when it could not be written.
    if (!file.open(path, NativeFile::Mode::ReadWrite)) {
        if (file.open(path, NativeFile::Mode::Read) && tagOffset(file, oldTag) == -1)
            return RemoveResult::NoTag;
        return RemoveResult::Failed;
    }
    const int locked = file.lock(kTagLockWait);
    if (locked != 0 && locked != kNoFileLocks)
        return RemoveResult::Failed;
    const qint64 at = tagOffset(file, oldTag);
    if (at == -1)
        return RemoveResult::NoTag;
    if (at == -2)
        return RemoveResult::Failed;
    return file.truncate(at) && file.close() ? RemoveResult::Removed : RemoveResult::Failed;
}

}  // namespace sonivo
