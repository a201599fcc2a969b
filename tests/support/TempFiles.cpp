#include "tests/support/TempFiles.h"

#include "common/NativePath.h"

#include <csignal>
#include <fstream>
#include <ftw.h>
#include <iterator>
#include <linux/capability.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace sonivo::test {

TempFiles::TempFiles()
{
    if (!dir_.isValid())
        throw std::runtime_error("no temporary folder");
}

namespace {

// Folders get their owner's permissions back first, so that their contents can be
// listed and removed; links are removed, never followed.
int openUp(const char* path, const struct stat*, int type, FTW*)
{
    if (type == FTW_D || type == FTW_DNR)
        ::chmod(path, S_IRWXU);
    return 0;
}

int removeEntry(const char* path, const struct stat*, int type, FTW*)
{
    (type == FTW_DP ? ::rmdir(path) : ::unlink(path));
    return 0;  // go on past a failure: the rest still goes
}

}  // namespace

TempFiles::~TempFiles()
{
    // QTemporaryDir cannot remove names that are not valid UTF-8: remove by bytes.
    const QByteArray root = toNativePath(dir_.path());
    ::nftw(root.constData(), openUp, 16, FTW_PHYS);
    ::nftw(root.constData(), removeEntry, 16, FTW_PHYS | FTW_DEPTH);
    dir_.setAutoRemove(false);
}

QString TempFiles::path(const QString& name) const
{
    return dir_.path() + QLatin1Char('/') + name;
}

QString TempFiles::write(const QString& name, const QByteArray& bytes) const
{
    const QString full = path(name);
    std::ofstream out(toNativePath(full).toStdString(), std::ios::binary | std::ios::trunc);
    out.write(bytes.constData(), bytes.size());
    if (!out)
        throw std::runtime_error("cannot write test file");
    return full;
}

QByteArray TempFiles::read(const QString& fullPath)
{
    std::ifstream in(toNativePath(fullPath).toStdString(), std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return QByteArray(data.data(), qsizetype(data.size()));
}

FileSizeLimit::FileSizeLimit(rlim_t maxSize)
{
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);  // a failed write, not a killed process
    rlimit limit = old_;
    limit.rlim_cur = maxSize;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
}

mode_t permissionsOf(const QString& path)
{
    struct stat st {};
    return ::stat(toNativePath(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

bool ignoresPermissions()
{
    return ::geteuid() == 0;
}

namespace {

constexpr quint32 kOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

quint32 setEffective(quint32 clear, quint32 set)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        return 0;
    const quint32 before = data[0].effective;
    data[0].effective = (before & ~clear) | set;
    ::syscall(SYS_capset, &header, data);
    return before & clear;
}

}  // namespace

PermissionsEnforced::PermissionsEnforced() : saved_(setEffective(kOverrides, 0)) {}

PermissionsEnforced::~PermissionsEnforced()
{
    setEffective(0, saved_);
}

void dropPermissionOverrides()
{
    ::prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0);
    ::prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0);
}

}  // namespace sonivo::test
