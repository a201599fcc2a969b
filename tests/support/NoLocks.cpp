// Loaded into sonivo-cli by the tests (LD_PRELOAD) to stand for a file system that
// takes no locks, as NFS without its lock service: every lock call fails with
// ENOLCK; every other fcntl() goes through.

#include <cerrno>
#include <cstdarg>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>

namespace {

bool isLockCommand(int command)
{
    return command == F_SETLK || command == F_SETLKW || command == F_OFD_SETLK || command == F_OFD_SETLKW;
}

using Fcntl = int (*)(int, int, ...);

int forward(int fd, int command, void* argument)
{
    if (isLockCommand(command)) {
        errno = ENOLCK;
        return -1;
    }
    const auto real = reinterpret_cast<Fcntl>(dlsym(RTLD_NEXT, "fcntl"));
    return real(fd, command, argument);
}

}  // namespace

extern "C" {

int flock(int, int)
{
    errno = ENOLCK;
    return -1;
}

int fcntl(int fd, int command, ...)
{
    va_list arguments;
    va_start(arguments, command);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    return forward(fd, command, argument);
}

// The same function under the name large-file builds call.
int fcntl64(int fd, int command, ...) __attribute__((alias("fcntl")));

}
