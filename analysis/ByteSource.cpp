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
    if (size_ > kReadWholeUpTo)
        return file_.readAt(offset, out, len);
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

}  // namespace sonivo
