#include "catalogue/ListFile.h"
#include "catalogue/LineForm.h"
#include "common/NativePath.h"
#include "tests/support/TempFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <future>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST(LineForm, SeparatorsLineBreaksNulsAndRawBytesRoundTrip)
{
    SongRecord r = recordOf(QStringLiteral("x"));
    r.setColumn(ColFileName, QStringLiteral("a;b\r\nc\x01s.mp3"));
    r.setColumn(ColFolder, QStringLiteral("/music/;dir/"));
    r.setColumn(ColYear, QStringLiteral("19;9"));
    r.setColumn(ColTitle, fromNativePath(QByteArray("caf\xE9")));
    // A name or a tag text may hold a NUL, as a scan or an edit gives it.
    r.setColumn(ColAlbum, QString(QChar(0)) + QStringLiteral("\x01") + QChar(u'0') + QChar(0));
    // U+994DE: its second UTF-16 half lies where a kept byte of a name lies.
    r.setColumn(ColGenre, QString::fromUtf8("\xF2\x99\x93\x9E"));
    const QString line = toLine(r);
    EXPECT_EQ(line.count(QLatin1Char(';')), 21);
    EXPECT_TRUE(line.endsWith(QStringLiteral(";x21")));
    for (const char16_t breaksALine : {u'\n', u'\r', u'\0'})
        EXPECT_FALSE(line.contains(QChar(breaksALine))) << int(breaksALine);
    EXPECT_TRUE(line.toUtf8().contains(";\xF2\x99\x93\x9E;")) << "written as itself";
    EXPECT_EQ(QString::fromUtf8(line.toUtf8()), line) << "the line is valid UTF-8";
    EXPECT_EQ(fromLine(line), r);
    EXPECT_EQ(fromLine(u"a\x01zb").text(0), QStringLiteral("a\x01zb")) << "an unknown escape is kept";
}

class ListFile : public ::testing::Test {
protected:
    // A file system of 64 KiB of its own, or "" where none may be mounted.
    QString smallDisk()
    {
        disk_ = files.path(QStringLiteral("disk"));
        QDir().mkpath(disk_);
        if (::mount("tmpfs", toNativePath(disk_).constData(), "tmpfs", 0, "size=64k") == 0)
            return disk_;
        disk_.clear();
        return {};
    }
    void TearDown() override
    {
        if (!disk_.isEmpty())
            ::umount2(toNativePath(disk_).constData(), MNT_DETACH);
    }

    TempFiles files;

private:
    QString disk_;
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
    // A row: a name and the other 21 fields empty.
    auto row = [](const char* name) { return QByteArray(name) + QByteArray(kColumnCount - 1, ';'); };
    EXPECT_EQ(load(QByteArray()).size(), 0);
    EXPECT_EQ(load(row("a") + "\r\n\r\n\n\r" + row("c") + "\r\n").size(), 2) << "empty lines are no rows";
    EXPECT_EQ(load(row("a") + "\r" + row("b") + "\r" + row("c")).size(), 3);
    EXPECT_EQ(load(row("a") + "\n" + row("b") + "\n" + row("c") + "\n").size(), 3);
    const Catalogue latin = load(row("caf\xE9") + "\r\n" + row("na\xC3\xAFve") + "\r\n");
    EXPECT_EQ(latin.row(0).text(0), QString::fromUtf8("café"));
    EXPECT_EQ(latin.row(1).text(0), QString::fromUtf8("naïve"));

    const Catalogue huge = load(QByteArray(3 << 20, 'x') + row("") + "\r\n" + row("b"));
    ASSERT_EQ(huge.size(), 2);
    EXPECT_EQ(huge.row(0).text(0).size(), 3 << 20);
    // A CR LF split between two reads is one line end.
    const Catalogue split
        = load(QByteArray((1 << 20) - 1 - (kColumnCount - 1), 'y') + QByteArray(kColumnCount - 1, ';') + "\r\n" + row("z"));
    EXPECT_EQ(split.size(), 2);
}

TEST(ListFileDefault, LivesInTheDataFolder)
{
    qputenv("XDG_DATA_HOME", "/tmp/sonivo-data-test");
    EXPECT_EQ(defaultListFile(), QStringLiteral("/tmp/sonivo-data-test/sonivo/listamp3.svl"));
}

namespace {

QByteArray rowLine(const QByteArray& name)
{
    return name + QByteArray(kColumnCount - 1, ';') + "\r\n";
}

}  // namespace

TEST_F(ListFile, AByteOrderMarkIsTakenOnlyAtTheStartAndANameKeepsItsOwn)
{
    const QByteArray bom("\xEF\xBB\xBF");
    const QString path = files.write(QStringLiteral("bom.svl"), bom + rowLine("a") + rowLine(bom + "b"));
    Catalogue c;
    ASSERT_TRUE(ApriLista(path, c).ok);
    ASSERT_EQ(c.size(), 2);
    EXPECT_EQ(c.row(0).text(0), QStringLiteral("a"));
    EXPECT_EQ(c.row(1).text(0), QStringLiteral("\uFEFFb"));

    // Saved and read again, byte for byte; first a row of that name first.
    ASSERT_TRUE(SalvaLista(path, c).ok);
    EXPECT_EQ(TempFiles::read(path), rowLine("a") + rowLine(bom + "b"));
    Catalogue first;
    first.append(c.row(1));
    ASSERT_TRUE(SalvaLista(path, first).ok);
    Catalogue again;
    ASSERT_TRUE(ApriLista(path, again).ok);
    ASSERT_EQ(again.size(), 1);
    EXPECT_EQ(again.row(0), first.row(0));
}

TEST_F(ListFile, OverLongAndMisshapenLinesAreLeftOutAndCounted)
{
    const QByteArray bytes = rowLine("a") + QByteArray(kMaxListLine + 10, 'x') + "\r\n" + rowLine("b") + "no;row\r\n";
    Catalogue c;
    const ListFileResult r = ApriLista(files.write(QStringLiteral("long.svl"), bytes), c);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.damagedLines, 2);
    ASSERT_EQ(c.size(), 2) << "only the rows are read";
    EXPECT_EQ(c.row(0).text(0), QStringLiteral("a"));
    EXPECT_EQ(c.row(1).text(0), QStringLiteral("b"));

    // The same in small pieces: the over-long line is never held whole.
    std::vector<SongRecord> pieces;
    ListReader reader;
    for (qsizetype i = 0; i < bytes.size(); i += 65536)
        reader.feed(QByteArrayView(bytes).sliced(i, std::min<qsizetype>(65536, bytes.size() - i)), pieces);
    reader.finish(pieces);
    EXPECT_EQ(reader.damagedLines(), 2);
    EXPECT_EQ(pieces, c.rows());
}

TEST_F(ListFile, ALineWithNulBytesIsDamagedAndAFileThatStartsBinaryIsNoList)
{
    const QByteArray nulRow = QByteArray("nul\0", 4) + QByteArray(kColumnCount - 1, ';') + "\r\n";
    for (const QByteArray& bytes : {rowLine("a") + nulRow + rowLine("b"), nulRow + rowLine("a") + rowLine("b")}) {
        Catalogue c;
        const ListFileResult r = ApriLista(files.write(QStringLiteral("nul.svl"), bytes), c);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_EQ(r.damagedLines, 1);
        ASSERT_EQ(c.size(), 2);
        EXPECT_EQ(c.row(0).text(0), QStringLiteral("a"));
        EXPECT_EQ(c.row(1).text(0), QStringLiteral("b"));
    }

    Catalogue c;
    c.append(recordOf(QStringLiteral("kept")));
    // A binary file: NUL bytes before the first row, whatever comes after.
    const QByteArray binary = QByteArray("ID3\x03\0\0\0\0\x0F\x76\n", 11) + rowLine("a");
    ListFileResult r = ApriLista(files.write(QStringLiteral("binary.svl"), binary), c);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.notAList);
    EXPECT_FALSE(r.error.isEmpty());
    r = ApriLista(files.write(QStringLiteral("prose.svl"), "one line\r\nand another; with a semicolon\r\n"), c);
    EXPECT_TRUE(r.notAList);
    ASSERT_EQ(c.size(), 1) << "nothing of either file is taken";
    EXPECT_EQ(c.row(0), recordOf(QStringLiteral("kept")));

    r = ApriLista(files.write(QStringLiteral("empty.svl"), QByteArray()), c);
    EXPECT_TRUE(r.ok) << "an empty list is a list";
}

TEST_F(ListFile, ASaveKeepsModeOwnerAndNamesThatAreNotUtf8)
{
    Catalogue catalogue;
    catalogue.append(recordOf(QStringLiteral("r")));
    const QString path = files.write(QStringLiteral("kept.svl"), rowLine("old"));
    ASSERT_EQ(::chmod(toNativePath(path).constData(), 0640), 0);
    const bool owned = ::geteuid() == 0 && ::chown(toNativePath(path).constData(), 1234, 5678) == 0;
    ASSERT_TRUE(SalvaLista(path, catalogue).ok);
    EXPECT_EQ(permissionsOf(path), 0640u);
    struct stat st {};
    if (owned && ::stat(toNativePath(path).constData(), &st) == 0) {
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 5678u);
    }

    const QString odd = files.path(fromNativePath("l\xff.svl"));
    ASSERT_TRUE(SalvaLista(odd, catalogue).ok);
    EXPECT_EQ(::access((toNativePath(files.path(QString())) + "l\xff.svl").constData(), F_OK), 0);
    Catalogue loaded;
    ASSERT_TRUE(ApriLista(odd, loaded).ok);
    EXPECT_EQ(loaded.rows(), catalogue.rows());
}

namespace {

// An update as sonivo-cli scan --list makes it: the rows of the list, one more.
ListFileResult addRow(const QString& path, const QString& seed)
{
    ListUpdate update;
    Catalogue catalogue;
    const ListFileResult read = update.read(path, catalogue);
    if (!read.ok)
        return read;
    catalogue.append(recordOf(seed));
    return update.write(catalogue);
}

std::vector<SongRecord> rowsOf(const QString& path)
{
    Catalogue loaded;
    EXPECT_TRUE(ApriLista(path, loaded).ok);
    return loaded.rows();
}

}  // namespace

TEST_F(ListFile, OfTwoUpdatesAtOnceTheSecondReadsWhatTheFirstWrote)
{
    const QString path = files.path(QStringLiteral("new.svl"));
    ListUpdate first;
    Catalogue rows;
    ASSERT_TRUE(first.read(path, rows).ok);
    EXPECT_EQ(rows.size(), 0);
    rows.append(recordOf(QStringLiteral("a")));
    std::future<ListFileResult> second = std::async(std::launch::async, [&] { return addRow(path, QStringLiteral("b")); });
    EXPECT_EQ(second.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout) << "the second waits";
    ASSERT_TRUE(first.write(rows).ok);
    ASSERT_TRUE(second.get().ok);
    const std::vector<SongRecord> both = rowsOf(path);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both.at(0), recordOf(QStringLiteral("a")));
    EXPECT_EQ(both.at(1), recordOf(QStringLiteral("b")));
}

TEST_F(ListFile, AListTheUserMayNotWriteIsRefused)
{
    const QString path = files.write(QStringLiteral("ro.svl"), rowLine("old"));
    ASSERT_EQ(::chmod(toNativePath(path).constData(), 0444), 0);
    PermissionsEnforced asAUser;
    Catalogue catalogue;
    catalogue.append(recordOf(QStringLiteral("new")));
    const ListFileResult saved = SalvaLista(path, catalogue);
    EXPECT_FALSE(saved.ok);
    EXPECT_EQ(saved.error, QStringLiteral("permesso negato"));
    EXPECT_FALSE(addRow(path, QStringLiteral("new")).ok);
    EXPECT_EQ(TempFiles::read(path), rowLine("old"));
}

TEST_F(ListFile, AFailedFirstSaveLeavesNoFileBehind)
{
    const QString path = files.path(QStringLiteral("first.svl"));
    Catalogue catalogue;
    catalogue.append(recordOf(QStringLiteral("row")));
    {
        FileSizeLimit limit(10);
        EXPECT_FALSE(SalvaLista(path, catalogue).ok);
    }
    EXPECT_FALSE(QFile::exists(path)) << "not even the empty file locked for the save";
    ASSERT_TRUE(SalvaLista(path, catalogue).ok);
    EXPECT_EQ(rowsOf(path), catalogue.rows());
}

TEST_F(ListFile, AFullDiskOrAReadOnlyMountIsNamedAndTheOldFileKept)
{
    const QString disk = smallDisk();
    if (disk.isEmpty())
        GTEST_SKIP() << "no tmpfs may be mounted here";
    const QString path = disk + QStringLiteral("/list.svl");
    Catalogue small;
    small.append(recordOf(QStringLiteral("old")));
    ASSERT_TRUE(SalvaLista(path, small).ok);
    const QByteArray before = TempFiles::read(path);
    Catalogue big;
    for (int i = 0; i < 5000; ++i)
        big.append(recordOf(QStringLiteral("row%1-").arg(i)));
    const ListFileResult full = SalvaLista(path, big);
    EXPECT_FALSE(full.ok);
    EXPECT_TRUE(full.error.contains(QStringLiteral("disco"))) << full.error.toStdString();
    EXPECT_EQ(TempFiles::read(path), before);

    ASSERT_EQ(::mount(nullptr, toNativePath(disk).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    const ListFileResult readOnly = SalvaLista(path, small);
    EXPECT_FALSE(readOnly.ok);
    EXPECT_EQ(readOnly.error, QStringLiteral("file system in sola lettura"));
    EXPECT_FALSE(addRow(path, QStringLiteral("new")).ok);
    EXPECT_EQ(TempFiles::read(path), before);
}
