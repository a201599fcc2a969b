#include "analysis/Writability.h"

#include "common/NativePath.h"

#include <fcntl.h>
#include <unistd.h>

namespace sonivo {
namespace {

// Asked with the effective user and capabilities, as an open is decided.
bool mayAccess(const QString& path, int mode)
{
    return ::faccessat(AT_FDCWD, toNativePath(path).constData(), mode, AT_EACCESS) == 0;
}

}  // namespace

bool isFileWritable(const QString& path)
{
    return !path.isEmpty() && mayAccess(path, W_OK);
}

}  // namespace sonivo
