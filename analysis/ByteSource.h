#pragma once
// Random access to the bytes of one file, so that the frame search runs the same on
// a file and on bytes in memory (tests, fuzzing).

#include <QByteArray>
#include <QtGlobal>
#include <array>
#include <optional>

namespace sonivo {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Length in bytes.
    virtual qint64 size() const = 0;
    // Copies up to len bytes at offset; fewer at the end, -1 when reading failed.
    virtual qint64 readAt(qint64 offset, unsigned char* out, qint64 len) = 0;
};

class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(QByteArray bytes) : bytes_(std::move(bytes)) {}
    qint64 size() const override { return bytes_.size(); }
    qint64 readAt(qint64 offset, unsigned char* out, qint64 len) override;

private:
    QByteArray bytes_;
};

class NativeFile;

// An open file of the length it had when it was opened. A small file is read
// whole at the first read: one system call serves both the tag and the frames.
// In a larger one a read of up to half a block fetches a whole block from
// there, and the last two blocks stay at hand: the tag reader and the frame
// search look at the same places (the tag's header, the end of the tag where
// the first frame begins) and a little way past them.
class FileByteSource final : public ByteSource {
public:
    static constexpr qint64 kReadWholeUpTo = 64 * 1024;
    static constexpr qint64 kBlock = 8192;

    FileByteSource(NativeFile& file, qint64 size) : file_(file), size_(size) {}
    qint64 size() const override { return size_; }
    qint64 readAt(qint64 offset, unsigned char* out, qint64 len) override;

private:
    struct Block {
        qint64 start = -1;
        qint64 length = 0;
        std::array<unsigned char, size_t(kBlock)> bytes;
    };
    // The block holding the len bytes at offset, or as many as the file has
    // there; nothing when none does.
    Block* blockWith(qint64 offset, qint64 len);

    NativeFile& file_;
    qint64 size_;
    std::optional<MemoryByteSource> whole_;
    std::array<Block, 2> blocks_;
    size_t older_ = 0;
};

}  // namespace sonivo
