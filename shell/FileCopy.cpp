#include "shell/FileCopy.h"

#include "common/ErrorText.h"

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace sonivo {
namespace {

constexpr qint64 kPiece = qint64(16) << 20;
constexpr size_t kBuffer = size_t(1) << 20;

// False when the kernel cannot copy between these files, so reads and writes must.
bool kernelCannot(int error)
{
    return error == EXDEV || error == ENOSYS || error == EINVAL || error == EOPNOTSUPP || error == EBADF;
}

int writeAll(int to, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(to, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n == 0 ? ENOSPC : errno;
        data += n;
        size -= size_t(n);
    }
    return 0;
}

int readAndWrite(int from, int to, qint64 done, qint64 size, const CopiedBytes& copied)
{
    std::vector<char> buffer(kBuffer);
    while (done < size) {
        const ssize_t n = ::read(from, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return kFileShrank;
        if (const int error = writeAll(to, buffer.data(), size_t(n)))
            return error;
        done += n;
        copied(done);
    }
    return 0;
}

}  // namespace

int copyBytes(int from, int to, qint64 size, const CopiedBytes& copied)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, size_t(std::min(kPiece, size - done)), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && done == 0 && kernelCannot(errno))
            return readAndWrite(from, to, done, size, copied);
        if (n < 0)
            return errno;
        if (n == 0)
            return kFileShrank;
        done += n;
        copied(done);
    }
    return 0;
}

}  // namespace sonivo
