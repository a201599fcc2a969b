#include "platform/IniFile.h"
#include "platform/ReplacingFile.h"
#include "tests/support/TempFiles.h"

#include "common/ErrorText.h"
#include "common/NativePath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

// The names in the folder, as the file system has their bytes, besides the given
// one: the temporary file of a save.
QList<QByteArray> othersIn(const QString& folder, const QString& known)
{
    QList<QByteArray> names;
    DIR* dir = ::opendir(toNativePath(folder).constData());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != ".." && name != toNativePath(known))
            names << name;
    }
    ::closedir(dir);
    return names;
}

constexpr uid_t kNobody = 65534;

// Opens, writes and commits; 0 or the error.
int replace(const QString& path, QByteArrayView bytes)
{
    ReplacingFile file;
    return file.open(path) && file.write(bytes) && file.commit() ? 0 : file.error();
}

bool isLink(const QString& path)
{
    struct stat st {};
    return ::lstat(toNativePath(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

// A POSIX ACL as the kernel keeps it in system.posix_acl_*: a little-endian
// version 2, then {tag, permissions, id} per entry, in tag order.
enum AclTag : quint16 { kOwner = 0x01, kNamedUser = 0x02, kOwningGroup = 0x04, kMask = 0x10, kOthers = 0x20 };
struct AclEntry {
    AclTag tag;
    quint16 permissions;
    quint32 id = 0xFFFFFFFF;  // only named users have one
};

QByteArray aclValue(std::initializer_list<AclEntry> entries)
{
    QByteArray value;
    const auto put = [&value](quint32 number, int bytes) {
        for (int i = 0; i < bytes; ++i)
            value += char(number >> (8 * i));
    };
    put(2, 4);
    for (const AclEntry& entry : entries) {
        put(entry.tag, 2);
        put(entry.permissions, 2);
        put(entry.id, 4);
    }
    return value;
}

// The attribute's value, or a null array when the file has none.
QByteArray attribute(const QString& path, const char* name)
{
    const QByteArray native = toNativePath(path);
    const ssize_t size = ::getxattr(native.constData(), name, nullptr, 0);
    if (size < 0)
        return {};
    QByteArray value(size, '\0');
    return ::getxattr(native.constData(), name, value.data(), size_t(size)) == size ? value : QByteArray();
}

int setAttribute(const QString& path, const char* name, const QByteArray& value)
{
    return ::setxattr(toNativePath(path).constData(), name, value.constData(), size_t(value.size()), 0) == 0 ? 0 : errno;
}

// Owner and a named user may read and write, the owning group and others read.
const QByteArray kSharedAcl = aclValue({{kOwner, 6}, {kNamedUser, 6, kNobody}, {kOwningGroup, 4}, {kMask, 6}, {kOthers, 4}});

}  // namespace

TEST(ReplacingFile, TheNewFileIsNeverOpenToMoreThanTheOldOneWas)
{
    TempFiles files;
    const QString folder = files.path(QString());
    for (mode_t mode : {mode_t(0600), mode_t(0640), mode_t(0400)}) {
        const QString path = files.write(QStringLiteral("private.svl"), QByteArray("secret\r\n"));
        ASSERT_EQ(::chmod(toNativePath(path).constData(), mode), 0);
        const mode_t oldUmask = ::umask(0);  // the widest a new file could be made
        ReplacingFile file;
        const bool opened = file.open(path);
        ::umask(oldUmask);
        if (mode == 0400 && !ignoresPermissions()) {
            EXPECT_FALSE(opened);
            continue;
        }
        ASSERT_TRUE(opened);
        const QList<QByteArray> temporary = othersIn(folder, QStringLiteral("private.svl"));
        ASSERT_EQ(temporary.size(), 1);
        struct stat st {};
        ASSERT_EQ(::stat((toNativePath(folder) + temporary.first()).constData(), &st), 0);
        EXPECT_EQ(st.st_size, 0);
        EXPECT_EQ(st.st_mode & 07777, mode) << "before its first byte";
        ASSERT_TRUE(file.write("new\r\n") && file.commit());
        ASSERT_EQ(::stat(toNativePath(path).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode);
        EXPECT_EQ(TempFiles::read(path), QByteArray("new\r\n"));
    }
}

TEST(ReplacingFile, AFileTheUserMayNotWriteIsRefusedAndKept)
{
    TempFiles files;
    const QString path = files.write(QStringLiteral("ro.svl"), QByteArray("old\r\n"));
    ASSERT_EQ(::chmod(toNativePath(path).constData(), 0444), 0);
    PermissionsEnforced asAUser;
    ReplacingFile file;
    EXPECT_FALSE(file.open(path));
    EXPECT_EQ(file.error(), EACCES);
    EXPECT_EQ(errorText(file.error()), QStringLiteral("permesso negato"));
    EXPECT_EQ(TempFiles::read(path), QByteArray("old\r\n"));
    EXPECT_TRUE(othersIn(files.path(QString()), QStringLiteral("ro.svl")).isEmpty()) << "no temporary file is left";
}

TEST(ReplacingFile, NamesOfAnyLengthAreReplacedThroughAShortTemporaryName)
{
    TempFiles files;
    // ASCII names, and names of two-byte characters whose cut must not split one.
    for (const QString& unit : {QStringLiteral("a"), QStringLiteral("è")}) {
        for (int bytes : {1, 2, 100, 239, 250, 255}) {
            const QString name(std::max<qsizetype>(1, bytes / unit.toUtf8().size()), unit.at(0));
            const QString path = files.path(name);
            for (int round = 0; round < 20; ++round) {
                ReplacingFile file;
                ASSERT_TRUE(file.open(path)) << bytes << " bytes: " << errorText(file.error()).toStdString();
                for (const QByteArray& other : othersIn(files.path(QString()), name)) {
                    EXPECT_LE(other.size(), 53);
                    EXPECT_TRUE(other.isValidUtf8()) << "no character is cut in two";
                }
                ASSERT_TRUE(file.write("x") && file.commit());
            }
            EXPECT_EQ(TempFiles::read(path), QByteArray("x"));
            ASSERT_EQ(::unlink(toNativePath(path).constData()), 0);
        }
    }
}

TEST(ReplacingFile, ALinkInASharedStickyFolderIsFollowedOnlyWhereTheSystemWouldFollowIt)
{
    if (!ignoresPermissions())
        GTEST_SKIP() << "giving a link to another user needs root";
    TempFiles files;
    const QString mine = files.write(QStringLiteral("mine.html"), "ours\n");
    const QString shared = files.path(QStringLiteral("shared"));
    ASSERT_EQ(::mkdir(toNativePath(shared).constData(), 0700), 0);
    ASSERT_EQ(::chmod(toNativePath(shared).constData(), 01777), 0);  // as /tmp is
    const auto link = [&shared](const char* name, const QString& to, uid_t owner) {
        const QString path = shared + QLatin1Char('/') + QLatin1String(name);
        EXPECT_EQ(::symlink(toNativePath(to).constData(), toNativePath(path).constData()), 0);
        EXPECT_EQ(::lchown(toNativePath(path).constData(), owner, owner), 0);
        return path;
    };

    // Another user's link to our file: the shell's `>` is refused, so is a save.
    const QString theirs = link("report.html", mine, kNobody);
    EXPECT_EQ(replace(theirs, "replaced\n"), EACCES);
    EXPECT_EQ(errorText(EACCES), QStringLiteral("permesso negato"));
    const QString ours = link("chain.html", theirs, ::geteuid());
    EXPECT_EQ(replace(ours, "replaced\n"), EACCES) << "every link followed counts";
    EXPECT_EQ(TempFiles::read(mine), "ours\n");
    EXPECT_EQ(othersIn(files.path(QString()), QStringLiteral("mine.html")), QList<QByteArray>{"shared"}) << "no temporary file is left";

    // Our own link: it stays, and its file is replaced.
    const QString own = link("own.html", mine, ::geteuid());
    EXPECT_EQ(replace(own, "by our link\n"), 0);
    EXPECT_EQ(TempFiles::read(mine), "by our link\n");
    EXPECT_TRUE(isLink(own));
    // A link of the folder's owner, and any link in a folder that is not sticky.
    ASSERT_EQ(::chown(toNativePath(shared).constData(), kNobody, kNobody), 0);
    EXPECT_EQ(replace(ours, "by the owner's link\n"), 0);
    EXPECT_EQ(TempFiles::read(mine), "by the owner's link\n");
    ASSERT_EQ(::chmod(toNativePath(shared).constData(), 0777), 0);
    ASSERT_EQ(::chown(toNativePath(shared).constData(), 0, 0), 0);
    EXPECT_EQ(replace(theirs, "in a plain folder\n"), 0);
    EXPECT_EQ(TempFiles::read(mine), "in a plain folder\n");
    EXPECT_TRUE(isLink(theirs));
}

TEST(ReplacingFile, AReplacedFileKeepsItsAclAndExtendedAttributes)
{
    TempFiles files;
    const QString list = files.write(QStringLiteral("list.svl"), "old\n");
    const QString settings = files.write(QStringLiteral("sonivo.ini"), "[Opzioni]\n");
    for (const QString& path : {list, settings}) {
        for (const int error : {setAttribute(path, "system.posix_acl_access", kSharedAcl), setAttribute(path, "user.origin", "tagged by hand")}) {
            if (error == ENOTSUP)
                GTEST_SKIP() << "the temporary folder's file system keeps no ACL or no user attributes";
            ASSERT_EQ(error, 0);
        }
        ASSERT_EQ(permissionsOf(path), mode_t(0664)) << "the mask stands as the group's bits";
    }
    ASSERT_EQ(replace(list, "new\n"), 0);
    IniFile ini(settings);
    ASSERT_TRUE(ini.setValue(QStringLiteral("Opzioni"), QStringLiteral("Width"), QStringLiteral("800")) && ini.save());
    for (const QString& path : {list, settings}) {
        EXPECT_EQ(attribute(path, "system.posix_acl_access"), kSharedAcl) << path.toStdString();
        EXPECT_EQ(attribute(path, "user.origin"), "tagged by hand");
        EXPECT_EQ(permissionsOf(path), mode_t(0664));
    }

    // A file without an ACL gets none from its folder's default one.
    const QString plain = files.write(QStringLiteral("plain.svl"), "old\n");
    ASSERT_EQ(::chmod(toNativePath(plain).constData(), 0640), 0);
    const QByteArray folderDefault = aclValue({{kOwner, 7}, {kNamedUser, 6, kNobody}, {kOwningGroup, 5}, {kMask, 7}, {kOthers, 5}});
    ASSERT_EQ(setAttribute(files.path(QString()), "system.posix_acl_default", folderDefault), 0);
    ASSERT_EQ(replace(plain, "new\n"), 0);
    EXPECT_TRUE(attribute(plain, "system.posix_acl_access").isNull()) << "a named user gained access";
    EXPECT_EQ(permissionsOf(plain), mode_t(0640));
}

TEST(ReplacingFile, AGroupTheUserCannotKeepGainsNothingFromTheAcl)
{
    if (!ignoresPermissions())
        GTEST_SKIP() << "a file of a group its owner is not in needs root to make";
    TempFiles files;
    ASSERT_EQ(::chmod(toNativePath(files.path(QString())).constData(), 0711), 0);
    const QString folder = files.path(QStringLiteral("nobody"));
    ASSERT_EQ(::mkdir(toNativePath(folder).constData(), 0755), 0);
    ASSERT_EQ(::chown(toNativePath(folder).constData(), kNobody, kNobody), 0);
    const QString list = files.write(QStringLiteral("nobody/list.svl"), "old\n");
    ASSERT_EQ(::chown(toNativePath(list).constData(), kNobody, 0), 0);  // root's group, which nobody is not in
    if (const int error = setAttribute(list, "system.posix_acl_access", kSharedAcl); error == ENOTSUP)
        GTEST_SKIP() << "the temporary folder's file system keeps no ACL";

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool asNobody = ::setgroups(0, nullptr) == 0 && ::setresgid(kNobody, kNobody, kNobody) == 0
            && ::setresuid(kNobody, kNobody, kNobody) == 0;
        ::_exit(asNobody ? replace(list, "new\n") : 255);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << errorText(WEXITSTATUS(status)).toStdString();
    struct stat st {};
    ASSERT_EQ(::stat(toNativePath(list).constData(), &st), 0);
    EXPECT_EQ(st.st_gid, kNobody) << "the saving user's own group";
    EXPECT_EQ(attribute(list, "system.posix_acl_access"),
        aclValue({{kOwner, 6}, {kNamedUser, 6, kNobody}, {kOwningGroup, 0}, {kMask, 6}, {kOthers, 4}}));
    EXPECT_EQ(TempFiles::read(list), "new\n");
}
