#include "cli/Output.h"

#include "common/NativePath.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace sonivo::cli {

void bufferOutput()
{
    // A buffer of our own: given none, the C library takes the size it likes
    // (a page, for a pipe) and ignores the one asked for.
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
}

void printLine(const QString& text)
{
    // toNativePath writes escaped bytes of non-UTF-8 names back as they were.
    printLine(QByteArrayView(toNativePath(text)));
}

void printLine(QByteArrayView bytes)
{
    std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
}

void printError(const QString& message)
{
    std::fflush(stdout);  // what was printed before comes first
    const QByteArray bytes = toNativePath(message);
    std::fprintf(stderr, "sonivo-cli: %s\n", bytes.constData());
}

bool flushOutput()
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return true;
    std::fprintf(stderr, "sonivo-cli: impossibile scrivere l'uscita (%s)\n", std::strerror(errno));
    return false;
}

}  // namespace sonivo::cli
