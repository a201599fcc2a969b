#include "analysis/ByteSource.h"

#include "platform/NativeFile.h"

#include <algorithm>
#include <cstring>

namespace sonivo {

qint64 MemoryByteSource::readAt(qint64 offset, unsigned char* out, qint64 len)
{
    if (offset < 0 || len < 0)
        return -1;
    if (offset >= bytes_.size())
        return 0;
    const qint64 n = std::min(len, bytes_.size() - offset);
    std::memcpy(out, bytes_.constData() + offset, size_t(n));
    return n;
}

qint64 FileByteSource::readAt(qint64 offset, unsigned char* out, qint64 len)
{
    if (offset < 0 || len < 0)
        return -1;
    if (size_ <= kReadWholeUpTo) {
        if (!whole_) {
            QByteArray bytes(size_, Qt::Uninitialized);
            const qint64 n = file_.readAt(0, bytes.data(), size_);
            if (n < 0)
                return -1;
            bytes.truncate(n);  // shorter when the file shrank since it was opened
            whole_.emplace(std::move(bytes));
        }
        return whole_->readAt(offset, out, len);
    }
    if (offset >= size_ || len == 0)
        return 0;
    if (len > kBlock / 2)
        return file_.readAt(offset, out, len);
    Block* block = blockWith(offset, len);
    if (!block) {
        block = &blocks_[older_];
        older_ = 1 - older_;
        const qint64 n = file_.readAt(offset, block->bytes.data(), std::min(kBlock, size_ - offset));
        block->start = n < 0 ? -1 : offset;
        block->length = std::max<qint64>(n, 0);
        if (n < 0)
            return -1;
    }
    const qint64 n = std::clamp<qint64>(block->start + block->length - offset, 0, len);
    std::memcpy(out, block->bytes.data() + (offset - block->start), size_t(n));
    return n;
}

FileByteSource::Block* FileByteSource::blockWith(qint64 offset, qint64 len)
{
    for (Block& block : blocks_) {
        const qint64 end = block.start + block.length;
        const bool holdsAll = offset + len <= end;
        const bool holdsTheRest = end == size_;  // a block that reaches the end holds all there is
        if (block.start >= 0 && offset >= block.start && offset < end && (holdsAll || holdsTheRest))
            return &block;
    }
    return nullptr;
}

}  // namespace sonivo
