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
    return file_.readAt(offset, out, len);
}

}  // namespace sonivo
