#include "catalogue/RowRefresh.h"
#include "catalogue/SongInfo.h"

#include "analysis/TagEdit.h"
#include "analysis/clsMP3.h"
#include "tests/support/Analysed.h"
#include "tests/support/Mp3Builder.h"
#include "tests/support/TempFiles.h"

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

SongRecord rowOf(const QString& path, const QString& cdId = {})
{
    const clsMP3 mp3 = analysed(path);
    SongSource source;
    source.folder = mp3.Path();
    source.name = mp3.Filename();
    SongRecord r = MakeSongLine(source, mp3);
    r.setColumn(ColCdId, cdId);
    return r;
}

}  // namespace

TEST(RowRefresh, TheRowShowsTheFileAsItNowIsAndKeepsItsIdentity)
{
    TempFiles files;
    const QString path = files.write(QStringLiteral("song.mp3"), frames(FrameFields{}, 5));
    Catalogue c;
    c.append(rowOf(files.write(QStringLiteral("other.mp3"), frames(FrameFields{}, 5))));
    c.append(rowOf(path, QStringLiteral("Disc/1234-ABCD")));
    c.setChecked(1, true);
    const RowId id = c.id(1);
    EXPECT_EQ(c.row(1).text(ColTagPresent), QStringLiteral("False"));

    clsMP3 mp3;
    mp3.setFullName(path);
    ASSERT_TRUE(writeTagEdit(mp3, {QStringLiteral("T"), QStringLiteral("A"), {}, {}, {}, QStringLiteral("Pop")}).written());
    c.sortBy(ColFileName, false);  // the row moved
    ASSERT_TRUE(refreshRow(c, id, path));
    const qsizetype at = c.position(id);
    EXPECT_EQ(at, 0);
    QStringList shown;
    for (const int column : {ColTitle, ColArtist, ColGenre, ColTagPresent, ColCdId})
        shown << c.row(at).text(column);
    EXPECT_EQ(shown, QStringList({QStringLiteral("T"), QStringLiteral("A"), QStringLiteral("Pop"), QStringLiteral("True"), QStringLiteral("Disc/1234-ABCD")}));
    EXPECT_TRUE(c.isChecked(at));
    EXPECT_EQ(c.row(1).text(ColFileName), QStringLiteral("other.mp3")) << "no other row touched";

    const QString renamed = files.path(QStringLiteral("T.mp3"));
    ASSERT_TRUE(QFile::rename(path, renamed));
    ASSERT_TRUE(refreshRow(c, id, renamed));
    EXPECT_EQ(c.row(c.position(id)).text(ColFileName), QStringLiteral("T.mp3"));
}

TEST(RowRefresh, AGoneRowOrAnUnreadableFileChangesNothing)
{
    TempFiles files;
    const QString path = files.write(QStringLiteral("song.mp3"), frames(FrameFields{}, 5));
    Catalogue c;
    c.append(rowOf(path));
    const RowId id = c.id(0);
    const SongRecord before = c.row(0);
    EXPECT_FALSE(refreshRow(c, id, files.path(QStringLiteral("none.mp3"))));
    EXPECT_EQ(c.row(0), before);
    c.clear();
    EXPECT_FALSE(refreshRow(c, id, path));
}

TEST(SongInfo, ThePanelLinesFromTheRow)
{
    SongRecord r;
    r.setColumn(ColSize, QStringLiteral("3.600 KB"));
    r.setColumn(ColDuration, QStringLiteral("03.45"));
    r.setColumn(ColBitRate, QStringLiteral("128"));
    r.setColumn(ColTagPresent, QStringLiteral("True"));
    const std::vector<SongInfoLine> lines = songInfo(r);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0].caption, QStringLiteral("Grandezza:"));
    EXPECT_EQ(lines[0].value, QStringLiteral("3.600 KB"));
    EXPECT_EQ(lines[1].value, QStringLiteral("03.45 (225 secondi)"));
    EXPECT_EQ(lines[4].value, QStringLiteral("128 kb"));
    EXPECT_EQ(lines[10].caption, QStringLiteral("Tag presente:"));
    EXPECT_EQ(lines[10].value, QStringLiteral("True"));
    EXPECT_EQ(lines[13].caption, QStringLiteral("Tipo file:"));
    EXPECT_EQ(lines[13].value, QStringLiteral("MP3 media file"));
}

TEST(SongInfo, DurationInSeconds)
{
    EXPECT_EQ(durationWithSeconds(QStringLiteral("04.07")), QStringLiteral("04.07 (247 secondi)"));
    EXPECT_EQ(durationWithSeconds(QStringLiteral("-01.-01")), QStringLiteral("-01.-01 (-61 secondi)"));
    EXPECT_EQ(durationWithSeconds(QStringLiteral("120.05")), QStringLiteral("120.05 (7205 secondi)"));
    EXPECT_EQ(durationWithSeconds(QString()), QStringLiteral(" (0 secondi)"));
    EXPECT_EQ(durationWithSeconds(QStringLiteral("ab.07.9")), QStringLiteral("ab.07.9 (7 secondi)"));
}
