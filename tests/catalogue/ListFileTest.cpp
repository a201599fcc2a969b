#include "catalogue/LineForm.h"
#include "catalogue/ListFile.h"
#include "common/NativePath.h"
#include "tests/support/TempFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

SongRecord recordOf(const QString& seed)
{
    std::array<QString, kColumnCount> columns;
    for (int c = 0; c < kColumnCount; ++c)
        columns[size_t(c)] = seed + QString::number(c);
    return SongRecord(columns);
}

}  // namespace

TEST(LineForm, PlainRecordsAreTheirTextsJoined)
{
    const SongRecord r = recordOf(QStringLiteral("f"));
    const QString line = toLine(r);
    EXPECT_EQ(line.count(QLatin1Char(';')), 21);
    EXPECT_TRUE(line.startsWith(QStringLiteral("f0;f1;f2;")));
    EXPECT_TRUE(line.endsWith(QStringLiteral(";f21")));
    EXPECT_EQ(fromLine(line), r);
}

TEST(LineForm, ShortAndLongLines)
{
    const SongRecord shortLine = fromLine(u"a;b;c");
    EXPECT_EQ(shortLine.text(2), QStringLiteral("c"));
    EXPECT_TRUE(shortLine.text(3).isEmpty());
    EXPECT_TRUE(shortLine.text(ColCdId).isEmpty());
    const SongRecord empty = fromLine(u"");
    for (int c = 0; c < kColumnCount; ++c)
        EXPECT_TRUE(empty.text(c).isEmpty());
    QString line;
    for (int c = 0; c < 30; ++c)
        line += QString::number(c) + QLatin1Char(';');
    const SongRecord longLine = fromLine(line);
    EXPECT_EQ(longLine.text(ColCdId), QStringLiteral("21")) << "text after the 22nd field is ignored";
    EXPECT_EQ(fromLine(QString(21, QLatin1Char(';'))).text(ColCdId), QString());
}

TEST(LineForm, SeparatorsLineBreaksAndRawBytesRoundTrip)
{
    SongRecord r = recordOf(QStringLiteral("x"));
    r.setColumn(ColFileName, QStringLiteral("a;b\r\nc\x01s.mp3"));
    r.setColumn(ColFolder, QStringLiteral("/music/;dir/"));
    r.setColumn(ColYear, QStringLiteral("19;9"));
    r.setColumn(ColTitle, fromNativePath(QByteArray("caf\xE9")));
    const QString line = toLine(r);
    EXPECT_EQ(line.count(QLatin1Char(';')), 21);
    EXPECT_FALSE(line.contains(QLatin1Char('\n')));
    EXPECT_FALSE(line.contains(QLatin1Char('\r')));
    EXPECT_EQ(QString::fromUtf8(line.toUtf8()), line) << "the line is valid UTF-8";
    EXPECT_EQ(fromLine(line), r);
    EXPECT_EQ(fromLine(u"a\x01zb").text(0), QStringLiteral("a\x01zb")) << "an unknown escape is kept";
}

class ListFile : public ::testing::Test {
protected:
    TempFiles files;
};

TEST_F(ListFile, SavesCrLfLinesAndLoadsThemBackAppended)
{
    Catalogue catalogue;
    for (int i = 0; i < 50; ++i)
        catalogue.append(recordOf(QStringLiteral("r%1_").arg(i)));
    SongRecord odd = catalogue.row(7);
    odd.setColumn(ColFileName, QStringLiteral("semi;colon\nname.mp3"));
    catalogue.replaceRow(7, odd);
    const QString path = files.path(QStringLiteral("list.svl"));
    ASSERT_TRUE(SalvaLista(path, catalogue).ok);
    const QByteArray bytes = TempFiles::read(path);
    EXPECT_EQ(bytes.count("\r\n"), 50);
    EXPECT_TRUE(bytes.startsWith(toLine(catalogue.row(0)).toUtf8() + "\r\n"));

    Catalogue loaded;
    loaded.append(recordOf(QStringLiteral("existing")));
    ASSERT_TRUE(ApriLista(path, loaded).ok);
    ASSERT_EQ(loaded.size(), 51);
    EXPECT_EQ(loaded.row(0), recordOf(QStringLiteral("existing")));
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(loaded.row(i + 1), catalogue.row(i)) << i;
}

TEST_F(ListFile, LineEndsEncodingsAndOddContent)
{
    auto load = [&](const QByteArray& bytes) {
        Catalogue c;
        EXPECT_TRUE(ApriLista(files.write(QStringLiteral("in.svl"), bytes), c).ok);
        return c;
    };
    EXPECT_EQ(load(QByteArray()).size(), 0);
    EXPECT_EQ(load("a;b\r\n\r\nc;d\r\n").size(), 3) << "an empty line is a row of empty texts";
    EXPECT_EQ(load("a\rb\rc").size(), 3);
    EXPECT_EQ(load("a\nb\nc\n").size(), 3);
    const Catalogue latin = load("caf\xE9;x\r\nna\xC3\xAFve;y\r\n");
    EXPECT_EQ(latin.row(0).text(0), QString::fromUtf8("café"));
    EXPECT_EQ(latin.row(1).text(0), QString::fromUtf8("naïve"));

    QByteArray binary;
    for (int i = 0; i < 70000; ++i)
        binary.append(char((i * 7919) & 0xFF));
    EXPECT_GT(load(binary).size(), 0);
    const Catalogue huge = load(QByteArray(3 << 20, 'x') + "\r\nb");
    ASSERT_EQ(huge.size(), 2);
    EXPECT_EQ(huge.row(0).text(0).size(), 3 << 20);
    // A CR LF split between two reads is one line end.
    const Catalogue split = load(QByteArray((1 << 20) - 1, 'y') + "\r\nz");
    EXPECT_EQ(split.size(), 2);
}

TEST_F(ListFile, FailuresAreReportedAndKeepTheOldFile)
{
    Catalogue catalogue;
    catalogue.append(recordOf(QStringLiteral("new")));
    const QString path = files.write(QStringLiteral("old.svl"), QByteArray("old;content\r\n"));

    Catalogue loaded;
    const ListFileResult missing = ApriLista(files.path(QStringLiteral("none.svl")), loaded);
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.isEmpty());
    EXPECT_EQ(loaded.size(), 0);

    const ListFileResult toFolder = SalvaLista(files.path(QString()), catalogue);
    EXPECT_FALSE(toFolder.ok);

    if (!ignoresPermissions()) {
        ASSERT_EQ(::chmod(toNativePath(files.path(QString())).constData(), 0500), 0);
        EXPECT_FALSE(SalvaLista(path, catalogue).ok);
        ::chmod(toNativePath(files.path(QString())).constData(), 0700);
    }
    {
        // The disk is full: not even the first line fits.
        FileSizeLimit limit(10);
        EXPECT_FALSE(SalvaLista(path, catalogue).ok);
    }
    EXPECT_EQ(TempFiles::read(path), QByteArray("old;content\r\n"));
}

TEST(ListFileDefault, LivesInTheDataFolder)
{
    qputenv("XDG_DATA_HOME", "/tmp/sonivo-data-test");
    EXPECT_EQ(defaultListFile(), QStringLiteral("/tmp/sonivo-data-test/sonivo/listamp3.svl"));
}
