#include "platform/IniFile.h"
#include "platform/KeyValueStore.h"
#include "tests/support/TempFiles.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

cIniFile keyOf(const QString& path, const char* section, const char* key)
{
    cIniFile ini;
    ini.Path = path;
    ini.Section = QString::fromLatin1(section);
    ini.Key = QString::fromLatin1(key);
    return ini;
}

}  // namespace

TEST(IniFile, MissingFileOrKeyGivesTheDefault)
{
    TempFiles files;
    cIniFile ini = keyOf(files.path(QStringLiteral("none.ini")), "Opzioni", "Width");
    EXPECT_EQ(ini.Value(), QString());
    ini.Default = QStringLiteral("d");
    EXPECT_EQ(ini.Value(), QStringLiteral("d"));
    EXPECT_EQ(readSetting(ini.Path, ini.Section, ini.Key), QString()) << "the settings module sets no default";
}

TEST(IniFile, WritesCreateFolderFileSectionAndKeyAndKeepOtherLines)
{
    TempFiles files;
    const QString path = files.path(QStringLiteral("deep/folder/sonivo.ini"));
    ASSERT_TRUE(writeSetting(path, QStringLiteral("Opzioni"), QStringLiteral("Width"), QStringLiteral("12000")));
    EXPECT_EQ(TempFiles::read(path), QByteArray("[Opzioni]\nWidth=12000\n"));

    files.write(QStringLiteral("deep/folder/sonivo.ini"),
        "; comment\r\n[Altro]\r\nx = 1\r\n\r\n[OPZIONI]\r\n width = 5 \r\nHeight=7\r\n\r\n[Ultimo]\r\ny=2\r\n");
    EXPECT_EQ(readSetting(path, QStringLiteral("opzioni"), QStringLiteral("WIDTH")), QStringLiteral("5"));
    ASSERT_TRUE(writeSetting(path, QStringLiteral("Opzioni"), QStringLiteral("Width"), QStringLiteral("9000")));
    ASSERT_TRUE(writeSetting(path, QStringLiteral("Opzioni"), QStringLiteral("Maximized"), QStringLiteral("1")));
    EXPECT_EQ(TempFiles::read(path),
        QByteArray("; comment\n[Altro]\nx = 1\n\n[OPZIONI]\nWidth=9000\nHeight=7\n"
                   "Maximized=1\n\n[Ultimo]\ny=2\n"));
    EXPECT_EQ(readSetting(path, QStringLiteral("Altro"), QStringLiteral("x")), QStringLiteral("1"));
}

TEST(IniFile, ValuesAreCutAt254AndLoseTheirNuls)
{
    TempFiles files;
    cIniFile ini = keyOf(files.path(QStringLiteral("s.ini")), "S", "K");
    ini.setValue(QString(300, QLatin1Char('a')));
    EXPECT_EQ(ini.LastReturnCode, 1);
    EXPECT_EQ(ini.Value(), QString(254, QLatin1Char('a')));
    ini.setValue(QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b"));
    EXPECT_EQ(ini.Value(), QStringLiteral("ab"));
}

TEST(IniFile, GarbageIsReadWithoutHarmAndAFailedWriteKeepsTheOldFile)
{
    TempFiles files;
    const QString path = files.write(QStringLiteral("g.ini"), QByteArray("\x00\xff\xfe[[[=]]]\n=\n[\n]x\n", 17));
    EXPECT_EQ(readSetting(path, QStringLiteral("Opzioni"), QStringLiteral("Width")), QString());
    EXPECT_TRUE(writeSetting(path, QStringLiteral("Opzioni"), QStringLiteral("Width"), QStringLiteral("1")));
    EXPECT_EQ(readSetting(path, QStringLiteral("Opzioni"), QStringLiteral("Width")), QStringLiteral("1"));

    // A file where the folder should be: the write fails and says so.
    files.write(QStringLiteral("blocker"), "x");
    cIniFile ini = keyOf(files.path(QStringLiteral("blocker/s.ini")), "S", "K");
    ini.setValue(QStringLiteral("v"));
    EXPECT_EQ(ini.LastReturnCode, 0);
    EXPECT_FALSE(ini.lastError().isEmpty());

    if (ignoresPermissions())
        GTEST_SKIP() << "permissions are not enforced for this user";
    const QString locked = files.write(QStringLiteral("locked.ini"), "[S]\nK=old\n");
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0), 0);
    EXPECT_FALSE(writeSetting(locked, QStringLiteral("S"), QStringLiteral("Other"), QStringLiteral("new")))
        << "an unreadable file is never written over";
    ::chmod(QFile::encodeName(locked).constData(), 0644);
    EXPECT_EQ(TempFiles::read(locked), QByteArray("[S]\nK=old\n"));
}

TEST(IniFile, TrailingSlash)
{
    EXPECT_EQ(withoutTrailingSlash(QStringLiteral("/home/u/")), QStringLiteral("/home/u"));
    EXPECT_EQ(withoutTrailingSlash(QStringLiteral("/home/u")), QStringLiteral("/home/u"));
    EXPECT_EQ(withoutTrailingSlash(QStringLiteral("//")), QStringLiteral("/"));
}

TEST(KeyValueStore, ValuesKeysSubkeysAndDefaults)
{
    TempFiles files;
    KeyValueStore store(files.path(QStringLiteral("cfg/registry.ini")));
    EXPECT_FALSE(store.value(QStringLiteral("Sonivo"), QStringLiteral("Max")));
    EXPECT_FALSE(store.keyExists(QStringLiteral("Sonivo")));
    ASSERT_TRUE(store.setValue(QStringLiteral("Sonivo"), QStringLiteral("Max"), QStringLiteral("1")));
    ASSERT_TRUE(store.setValue(QStringLiteral("Sonivo.file"), QString(), QStringLiteral("Lista Sonivo")));
    ASSERT_TRUE(store.setValue(QStringLiteral("Sonivo.file\\shell\\open\\command"), QString(), QStringLiteral("sonivo %1")));
    ASSERT_TRUE(store.setValue(QStringLiteral("Sonivo.files"), QStringLiteral("x"), QStringLiteral("kept")));
    EXPECT_EQ(store.value(QStringLiteral("SONIVO"), QStringLiteral("max")), QStringLiteral("1"));
    EXPECT_EQ(store.value(QStringLiteral("Sonivo.file"), QString()), QStringLiteral("Lista Sonivo"));
    EXPECT_FALSE(store.value(QStringLiteral("Sonivo.file"), QStringLiteral("other")));

    ASSERT_TRUE(store.removeKey(QStringLiteral("sonivo.FILE")));
    EXPECT_FALSE(store.keyExists(QStringLiteral("Sonivo.file")));
    EXPECT_FALSE(store.keyExists(QStringLiteral("Sonivo.file\\shell\\open\\command"))) << "subkeys go with their key";
    EXPECT_EQ(store.value(QStringLiteral("Sonivo.files"), QStringLiteral("x")), QStringLiteral("kept")) << "not a subkey";
    EXPECT_EQ(store.value(QStringLiteral("Sonivo"), QStringLiteral("Max")), QStringLiteral("1"));
    EXPECT_TRUE(store.removeKey(QStringLiteral("Absent")));
}

TEST(KeyValueStore, NamesTheFileCouldNotKeepAreRefused)
{
    TempFiles files;
    KeyValueStore store(files.path(QStringLiteral("registry.ini")));
    EXPECT_FALSE(store.setValue(QStringLiteral("a]b"), QStringLiteral("n"), QStringLiteral("v")));
    EXPECT_FALSE(store.setValue(QStringLiteral("[a"), QStringLiteral("n"), QStringLiteral("v")));
    EXPECT_FALSE(store.setValue(QStringLiteral("k"), QStringLiteral("a=b"), QStringLiteral("v")));
    EXPECT_FALSE(store.setValue(QStringLiteral("k"), QStringLiteral("n"), QStringLiteral("two\nlines")));
    EXPECT_FALSE(store.setValue(QString(), QStringLiteral("n"), QStringLiteral("v")));
    EXPECT_TRUE(store.setValue(QStringLiteral("k"), QStringLiteral("n"), QStringLiteral("a=b [c]")));
    EXPECT_EQ(store.value(QStringLiteral("k"), QStringLiteral("n")), QStringLiteral("a=b [c]"));
}
