#include "platform/ReplacingFile.h"
#include "tests/support/TempFiles.h"

#include "common/ErrorText.h"
#include "common/NativePath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
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
