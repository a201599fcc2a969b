#include "platform/IniFile.h"
#include "platform/KeyValueStore.h"
#include "tests/support/TempFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

QString value(const QString& path, const char* section, const char* key)
{
    return IniFile(path).value(QString::fromLatin1(section), QString::fromLatin1(key)).value_or(QStringLiteral("(none)"));
}

bool write(const QString& path, const char* section, const char* key, const QString& text)
{
    IniFile file(path);
    return file.setValue(QString::fromLatin1(section), QString::fromLatin1(key), text) && file.save();
}

}  // namespace

TEST(IniFile, WritesCreateFolderFileSectionAndKeyAndKeepOtherLines)
{
    TempFiles files;
    const QString path = files.path(QStringLiteral("deep/folder/sonivo.ini"));
    ASSERT_TRUE(write(path, "Opzioni", "Width", QStringLiteral("12000")));
    EXPECT_EQ(TempFiles::read(path), QByteArray("[Opzioni]\nWidth=12000\n"));

    files.write(QStringLiteral("deep/folder/sonivo.ini"),
        "; comment\r\n[Altro]\r\nx = 1\r\n\r\n[OPZIONI]\r\n width = 5 \r\nHeight=7\r\n\r\n[Ultimo]\r\ny=2\r\n");
    EXPECT_EQ(value(path, "opzioni", "WIDTH"), QStringLiteral("5"));
    IniFile ini(path);
    ASSERT_TRUE(ini.setValue(QStringLiteral("Opzioni"), QStringLiteral("Width"), QStringLiteral("9000")));
    ASSERT_TRUE(ini.setValue(QStringLiteral("Opzioni"), QStringLiteral("Maximized"), QStringLiteral("1")));
    EXPECT_EQ(ini.value(QStringLiteral("Opzioni"), QStringLiteral("Width")), QStringLiteral("9000")) << "read back before the save";
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(TempFiles::read(path),
        QByteArray("; comment\n[Altro]\nx = 1\n\n[OPZIONI]\nWidth=9000\nHeight=7\n"
                   "Maximized=1\n\n[Ultimo]\ny=2\n"));
    EXPECT_EQ(value(path, "Altro", "x"), QStringLiteral("1"));
}

TEST(IniFile, SeveralChangesAreOneWrite)
{
    TempFiles files;
    const QString path = files.write(QStringLiteral("s.ini"), "[Opzioni]\nWidth=1\n");
    IniFile ini(path);
    ini.setValue(QStringLiteral("Opzioni"), QStringLiteral("Maximized"), QStringLiteral("0"));
    ini.setValue(QStringLiteral("Opzioni"), QStringLiteral("Width"), QStringLiteral("2"));
    ini.setValue(QStringLiteral("Opzioni"), QStringLiteral("Height"), QStringLiteral("3"));
    EXPECT_EQ(TempFiles::read(path), QByteArray("[Opzioni]\nWidth=1\n")) << "nothing written before the save";
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(TempFiles::read(path), QByteArray("[Opzioni]\nWidth=2\nMaximized=0\nHeight=3\n"));
    // Each write puts a new file in place, so an unchanged inode means no write.
    const auto inode = [&path] {
        struct stat st {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : ino_t(0);
    };
    const ino_t written = inode();
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(inode(), written) << "a save writes only what changed since the last one";
    ini.setValue(QStringLiteral("opzioni"), QStringLiteral("width"), QStringLiteral("2"));
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(inode(), written) << "the same value again is no change";
}

TEST(IniFile, ValuesLoseTheirNulsAndABlankKeyIsRefused)
{
    TempFiles files;
    const QString path = files.path(QStringLiteral("s.ini"));
    IniFile ini(path);
    const QString longValue(300, QLatin1Char('a'));
    EXPECT_TRUE(ini.setValue(QStringLiteral("S"), QStringLiteral("K"), longValue));
    EXPECT_TRUE(ini.setValue(QStringLiteral("S"), QStringLiteral("N"), QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b")));
    EXPECT_FALSE(ini.setValue(QStringLiteral("S"), QStringLiteral(" "), QStringLiteral("v")));
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(value(path, "S", "K"), longValue) << "a long value is kept whole";
    EXPECT_EQ(value(path, "S", "N"), QStringLiteral("ab"));
}

TEST(IniFile, GarbageIsReadWithoutHarmAndAFailedWriteKeepsTheOldFile)
{
    TempFiles files;
    const QString path = files.write(QStringLiteral("g.ini"), QByteArray("\x00\xff\xfe[[[=]]]\n=\n[\n]x\n", 17));
    EXPECT_EQ(value(path, "Opzioni", "Width"), QStringLiteral("(none)"));
    EXPECT_TRUE(write(path, "Opzioni", "Width", QStringLiteral("1")));
    EXPECT_EQ(value(path, "Opzioni", "Width"), QStringLiteral("1"));

    // A file where the folder should be: the write fails and says so.
    files.write(QStringLiteral("blocker"), "x");
    IniFile blocked(files.path(QStringLiteral("blocker/s.ini")));
    blocked.setValue(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v"));
    EXPECT_FALSE(blocked.save());
    EXPECT_FALSE(blocked.error().isEmpty());

    // A folder where the file should be is unreadable and never replaced.
    QDir().mkpath(files.path(QStringLiteral("folder.ini")));
    IniFile folder(files.path(QStringLiteral("folder.ini")));
    EXPECT_TRUE(folder.unreadable());
    folder.setValue(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v"));
    EXPECT_FALSE(folder.save());
    EXPECT_TRUE(QFileInfo(files.path(QStringLiteral("folder.ini"))).isDir());

    const PermissionsEnforced enforced;
    const QString locked = files.write(QStringLiteral("locked.ini"), "[S]\nK=old\n");
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0), 0);
    EXPECT_FALSE(write(locked, "S", "Other", QStringLiteral("new"))) << "an unreadable file is never written over";
    ::chmod(QFile::encodeName(locked).constData(), 0644);
    EXPECT_EQ(TempFiles::read(locked), QByteArray("[S]\nK=old\n"));
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
