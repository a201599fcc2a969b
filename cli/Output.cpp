#include "cli/Output.h"

#include "common/NativePath.h"

#include <cstdio>

namespace sonivo::cli {

void printLine(const QString& text)
{
    // toNativePath writes escaped bytes of non-UTF-8 names back as they were.
    const QByteArray bytes = toNativePath(text);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
}

void printError(const QString& message)
{
    const QByteArray bytes = toNativePath(message);
    std::fprintf(stderr, "sonivo-cli: %s\n", bytes.constData());
}

}  // namespace sonivo::cli
