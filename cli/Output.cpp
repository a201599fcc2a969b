#include "cli/Output.h"

#include "common/NativePath.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace sonivo::cli {

void bufferOutput()
{
    std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
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
