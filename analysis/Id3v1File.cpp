#include "analysis/Id3v1File.h"

#include "analysis/FileAttributes.h"
#include "analysis/Id3v1Tag.h"
#include "platform/NativeFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>

namespace sonivo {
namespace {

using Clock = std::chrono::steady_clock;

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

// The file of a tag write, open for writing and locked. A read-only file is made
// writable only once no other program holds a lock on it, so that a write ended
// while it waits (a signal, a crash) leaves it read-only; it is read-only again
// as soon as it is closed. The permissions are changed on the file opened, never
// through its name, which another program may give to another file meanwhile.
class TagFile {
public:
    // 0, or why the file cannot be written: see writeId3v1.
    int open(const QString& path);
    // Open for reading once open has found the file, also when it failed after.
    NativeFile& reader() { return reader_; }
    NativeFile& writer() { return writer_; }
    // The file was found but could not be opened for writing.
    bool unwritable() const { return unwritable_; }
    // Closes the file, then gives it its permissions back; 0 or the close's errno.
    int close();

private:
    NativeFile reader_;
    std::optional<WritableWhileInScope> writable_;
    NativeFile writer_;  // after writable_, so that it is closed before the permissions go back
    bool unwritable_ = false;
};

int TagFile::open(const QString& path)
{
    if (!reader_.open(path, NativeFile::Mode::Read))
        return reader_.error();
    const Clock::time_point deadline = Clock::now() + kTagLockWait;
    for (;;) {
        // Programs that lock the file for their changes wait for the write, and
        // it for them. Where the file system takes no locks it goes on all the
        // same: it only changes the bytes it reads as the old tag, or appends at
        // the very end.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (const int waited = reader_.waitUntilUnlocked(std::max(left, std::chrono::milliseconds(0))))
            return waited;
        writable_.emplace(reader_);
        if (!writer_.openAgain(reader_, NativeFile::Mode::ReadWrite)) {
            writable_.reset();
            unwritable_ = true;
            return writer_.error();
        }
        const int locked = writer_.lock(std::chrono::milliseconds(0));
        if (locked == 0 || locked == kNoFileLocks)
            break;
        close();
        if (locked != kFileLocked || Clock::now() >= deadline)
            return locked;
        // Another program took its lock first: wait for it again.
    }
    // The lock's holder may have put a new file in its place: that is not the
    // song that was asked for.
    return writer_.isAt(path) ? 0 : ENOENT;
}

int TagFile::close()
{
    const int error = writer_.close() ? 0 : writer_.error();
    writable_.reset();
    return error;
}

}  // namespace

int writeId3v1(const QString& path, const QByteArray& block)
{
    TagFile tagFile;
    if (const int error = tagFile.open(path))
        return error;
    NativeFile& file = tagFile.writer();
    unsigned char oldTag[kId3v1Size];
    const qint64 at = tagOffset(file, oldTag);
    if (at == -2)
        return file.error();
    if (at >= 0 && !file.writeAt(at, block.constData(), kId3v1Size)) {
        const int error = file.error();
        file.writeAt(at, oldTag, kId3v1Size);  // put back what a partial write changed
        return error;
    }
    // A new tag goes at the end as it is when written, also while another program appends.
    if (at < 0 && !file.append(block.constData(), kId3v1Size))
        return file.error();
    return tagFile.close();
}

RemoveResult removeId3v1(const QString& path, int& error)
{
    TagFile tagFile;
    unsigned char oldTag[kId3v1Size];
    error = tagFile.open(path);
    // A file that has no tag is left alone even when it could not be written.
    if (tagFile.unwritable() && tagOffset(tagFile.reader(), oldTag) == -1)
        return RemoveResult::NoTag;
    if (error != 0)
        return RemoveResult::Failed;
    NativeFile& file = tagFile.writer();
    const qint64 at = tagOffset(file, oldTag);
    if (at == -1)
        return RemoveResult::NoTag;
    if (at == -2 || !file.truncate(at)) {
        error = file.error();
        return RemoveResult::Failed;
    }
    error = tagFile.close();
    return error == 0 ? RemoveResult::Removed : RemoveResult::Failed;
}

}  // namespace sonivo
