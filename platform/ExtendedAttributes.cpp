#include "platform/ExtendedAttributes.h"

#include <QByteArray>
#include <QList>

#include <cerrno>
#include <optional>
#include <sys/xattr.h>

namespace sonivo {
namespace {

constexpr char kAccessAcl[] = "system.posix_acl_access";

// What a call of the flistxattr kind gives: it is asked the size first, and
// again when the bytes grew in between.
template <typename Call>
std::optional<QByteArray> sizedRead(Call call)
{
    for (;;) {
        const ssize_t size = call(nullptr, 0);
        if (size < 0)
            return std::nullopt;
        QByteArray bytes(size, Qt::Uninitialized);
        const ssize_t got = call(bytes.data(), size_t(size));
        if (got >= 0)
            return bytes.left(got);
        if (errno != ERANGE)
            return std::nullopt;
    }
}

// An ACL value (le32 version, then le16 tag, le16 permissions, le32 id per
// entry) whose entry for the file's owning group grants nothing.
QByteArray withoutOwningGroup(QByteArray acl)
{
    constexpr qsizetype kHeader = 4;
    constexpr qsizetype kEntry = 8;
    constexpr char kOwningGroupTag = 0x04;
    for (qsizetype at = kHeader; at + kEntry <= acl.size(); at += kEntry) {
        if (acl[at] == kOwningGroupTag && acl[at + 1] == 0) {
            acl[at + 2] = 0;
            acl[at + 3] = 0;
        }
    }
    return acl;
}

// A label of the system's security modules or of privileged programs, refused
// to this user: the new file keeps the one the system gave it.
bool setBySystem(const QByteArray& name, int error)
{
    return (name.startsWith("security.") || name.startsWith("trusted.")) && (error == EPERM || error == EACCES || error == ENOTSUP);
}

}  // namespace

int copyExtendedAttributes(int from, int to, bool sameGroup)
{
    const std::optional<QByteArray> names = sizedRead([from](char* buffer, size_t size) { return ::flistxattr(from, buffer, size); });
    if (!names)
        return errno == ENOTSUP ? 0 : errno;
    bool hadAcl = false;
    for (const QByteArray& name : names->split('\0')) {
        if (name.isEmpty())
            continue;
        std::optional<QByteArray> value
            = sizedRead([from, &name](char* buffer, size_t size) { return ::fgetxattr(from, name.constData(), buffer, size); });
        if (!value && errno == ENODATA)
            continue;  // removed since it was listed
        if (!value)
            return errno;
        if (name == kAccessAcl) {
            hadAcl = true;
            if (!sameGroup)
                value = withoutOwningGroup(*value);
        }
        if (::fsetxattr(to, name.constData(), value->constData(), size_t(value->size()), 0) != 0 && !setBySystem(name, errno))
            return errno;
    }
    if (!hadAcl && ::fremovexattr(to, kAccessAcl) != 0 && errno != ENODATA && errno != ENOTSUP)
        return errno;
    return 0;
}

}  // namespace sonivo
