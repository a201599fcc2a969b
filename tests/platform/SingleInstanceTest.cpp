#include "platform/SingleInstance.h"
#include "tests/support/TempFiles.h"

#include "common/NativePath.h"

#include <QDir>
#include <QSysInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

constexpr uid_t kOtherUser = 65534;  // nobody

struct stat statOf(const QString& path)
{
    struct stat st {};
    ::lstat(toNativePath(path).constData(), &st);
    return st;
}

bool mkdirMode(const QString& path, mode_t mode)
{
    return ::mkdir(toNativePath(path).constData(), 0700) == 0 && ::chmod(toNativePath(path).constData(), mode) == 0;
}

// Hands the file to another user; false where only root may (then the test skips).
bool giveAway(const QString& path)
{
    return ::lchown(toNativePath(path).constData(), kOtherUser, kOtherUser) == 0;
}

class SingleInstanceTest : public testing::Test {
protected:
    TempFiles files;
    QString temp = files.path(QStringLiteral("tmp"));
    QString own = temp + QStringLiteral("/sonivo-") + QString::number(::geteuid());

    void SetUp() override { ASSERT_TRUE(QDir().mkpath(temp)); }

    QString folderFor(const QString& runtime, QString* error) { return SingleInstance::privateFolder(runtime, temp, error); }
};

}  // namespace

TEST_F(SingleInstanceTest, TheRuntimeFolderServesOnlyWhenNoOneElseMayEnterIt)
{
    const QString runtime = files.path(QStringLiteral("run"));
    ASSERT_TRUE(mkdirMode(runtime, 0700));
    QString error;
    EXPECT_EQ(folderFor(runtime, &error), runtime);

    ASSERT_EQ(::chmod(toNativePath(runtime).constData(), 0750), 0);
    EXPECT_EQ(folderFor(runtime, &error), own) << "others may enter it";
    EXPECT_EQ(statOf(own).st_mode & 07777, 0700u);
    EXPECT_EQ(folderFor(QString(), &error), own) << "no runtime folder";
    EXPECT_EQ(folderFor(files.path(QStringLiteral("gone")), &error), own);
    ASSERT_EQ(::chmod(toNativePath(runtime).constData(), 0700), 0);
    if (!giveAway(runtime))
        GTEST_SKIP() << "handing a folder to another user needs root";
    EXPECT_EQ(folderFor(runtime, &error), own) << "another user's, as after su";
    EXPECT_EQ(error, QString());
}

TEST_F(SingleInstanceTest, AFallbackFolderThatIsALinkOpenToOthersOrAnotherUsersIsRefused)
{
    const QString mine = files.path(QStringLiteral("mine"));
    ASSERT_TRUE(mkdirMode(mine, 0700));
    ASSERT_EQ(::symlink(toNativePath(mine).constData(), toNativePath(own).constData()), 0);
    QString error;
    EXPECT_EQ(folderFor(QString(), &error), QString());
    EXPECT_EQ(error, QStringLiteral("la cartella ") + own + QStringLiteral(" non è usata: è un collegamento"));
    ASSERT_TRUE(QFile::remove(own));

    ASSERT_TRUE(mkdirMode(own, 0755));
    EXPECT_EQ(folderFor(QString(), &error), QString());
    EXPECT_TRUE(error.endsWith(QStringLiteral("i suoi permessi non sono 0700")));
    EXPECT_EQ(statOf(own).st_mode & 07777, 0755u) << "left as it was";

    ASSERT_EQ(::chmod(toNativePath(own).constData(), 0700), 0);
    if (!giveAway(own))
        GTEST_SKIP() << "handing a folder to another user needs root";
    error.clear();
    EXPECT_EQ(folderFor(QString(), &error), QString());
    EXPECT_TRUE(error.endsWith(QStringLiteral("appartiene a un altro utente")));
}

TEST_F(SingleInstanceTest, ALockFileOfAnotherUserIsNeverTakenOver)
{
    ASSERT_TRUE(mkdirMode(own, 0700));
    // The lock of a program of this machine that is gone.
    const QByteArray stale = "4194303\nsonivo\n" + QSysInfo::machineHostName().toUtf8() + '\n';
    const QString name = QStringLiteral("tmp/sonivo-%1/sonivo.lock").arg(::geteuid());
    const QString lock = files.write(name, stale);
    {
        const SingleInstance ours(lock);
        EXPECT_TRUE(ours.isFirst()) << "a lock left by a program that died is taken over";
        EXPECT_EQ(ours.error(), QString());
    }
    files.write(name, stale);
    if (!giveAway(lock))
        GTEST_SKIP() << "handing a file to another user needs root";
    const SingleInstance instance(lock);
    EXPECT_FALSE(instance.isFirst());
    EXPECT_EQ(instance.error(), lock + QStringLiteral(" non è usato: appartiene a un altro utente"));
    EXPECT_EQ(statOf(lock).st_uid, kOtherUser);
    EXPECT_EQ(TempFiles::read(lock), stale);
}
