#include "catalogue/SongRecord.h"
#include "analysis/clsMP3.h"
#include "common/FieldRule.h"
#include "tests/support/Mp3Builder.h"
#include "tests/support/TempFiles.h"

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

TEST(FieldRule, PiecesOfAText)
{
    EXPECT_EQ(Field(u"03.07", 1, u"."), u"03");
    EXPECT_EQ(Field(u"03.07", 2, u"."), u"07");
    EXPECT_TRUE(Field(u"03.07", 3, u".").isEmpty());
    EXPECT_TRUE(Field(u"03.07", 0, u".").isEmpty());
    EXPECT_EQ(Field(u"a;;c", 2, u";"), u"");
    EXPECT_EQ(Field(u"a;;c", 3, u";"), u"c");
    EXPECT_EQ(Field(u"ROCK01/1A2B-3C4D", 2, u"/"), u"1A2B-3C4D");
    EXPECT_EQ(Field(u"1.235 KB", 1, u" "), u"1.235");
    EXPECT_EQ(Field(u"aXYbXYc", 3, u"XY"), u"c");
}

TEST(SongRecord, EveryTextComesBackAsTheRecordGrowsAndShrinks)
{
    // Lone halves (a name's bytes that are not UTF-8), pairs, a half before a
    // pair, U+0000, a leading U+FEFF; then a title that takes the record's
    // lengths past one byte and past two, and back.
    const QList<QString> texts = {QString(QChar(0xDC80)) + QStringLiteral("x") + QChar(0xDCFF), QString(QChar(0xD800)),
        QString(QChar(0xD83D)) + QStringLiteral("\U0001F600") + QChar(0xDE00), QString(QChar(0)) + QStringLiteral("a"),
        QStringLiteral("\uFEFFÀ\u0800\uFFFF"), QString(), QString(127, QChar(u'è'))};
    std::array<QString, kColumnCount> columns;
    for (int c = 0; c < kColumnCount; ++c)
        columns[size_t(c)] = texts.at(c % texts.size());
    SongRecord r(columns);
    const auto expectColumns = [&](const SongRecord& record, const std::string& what) {
        const std::array<QByteArrayView, kColumnCount> stored = record.storedColumns();
        for (int c = 0; c < kColumnCount; ++c) {
            EXPECT_EQ(record.text(c), columns[size_t(c)]) << what << ", column " << c;
            EXPECT_EQ(stored[size_t(c)], QByteArrayView(toStored(columns[size_t(c)]))) << what << ", column " << c;
        }
    };
    expectColumns(r, "short columns");
    for (const int length : {256, 300, 255, 0, 70000, 1}) {
        columns[ColTitle] = QString(length, QLatin1Char('t'));
        r.setColumn(ColTitle, columns[ColTitle]);
        const SongRecord copy = r;
        expectColumns(copy, "title of " + std::to_string(length));
        EXPECT_EQ(copy, r);
    }
    SongRecord changed = r;
    changed.setColumn(ColArtist, QStringLiteral("b"));
    EXPECT_FALSE(changed == r);
    const SongRecord none;
    for (const QByteArrayView empty : none.storedColumns())
        EXPECT_TRUE(empty.isEmpty());
}

TEST(SongRecord, SizeText)
{
    const QLocale it(QLocale::Italian, QLocale::Italy);
    const std::pair<qint64, const char*> sizes[] = {{0, "1 KB"}, {499, "1 KB"}, {1000, "2 KB"}, {1999, "2 KB"}, {2000, "3 KB"},
        {1234567, "1.235 KB"}, {5000000000, "5.000.001 KB"}};  // over 2 GiB, shown true
    for (const auto& [bytes, text] : sizes)
        EXPECT_EQ(FormatSizeKB(bytes, it), QLatin1String(text)) << bytes;
    EXPECT_EQ(FormatSizeKB(1234567, QLocale(QLocale::English, QLocale::UnitedStates)), QStringLiteral("1,235 KB"));
}

TEST(SongRecord, DurationText)
{
    const std::pair<qint64, const char*> texts[] = {{225, "03.45"}, {6005, "100.05"}, {36000, "600.00"}, {-1, "-01.-01"}, {0, "00.00"}};
    for (const auto& [seconds, text] : texts)
        EXPECT_EQ(FormatDuration(seconds), QLatin1String(text));
    const std::pair<double, qint64> rounded[] = {{59.5, 60}, {60.5, 60}, {61.5, 62}, {225.05, 225}, {-1, -1}, {100000.49, 100000}};
    for (const auto& [playTime, seconds] : rounded)
        EXPECT_EQ(durationSeconds(playTime), seconds) << playTime << " (no 16-bit limit)";
}

TEST(SongRecord, DateText)
{
    const QLocale it(QLocale::Italian, QLocale::Italy);
    const QDateTime t(QDate(2024, 3, 9), QTime(7, 5, 59));
    EXPECT_EQ(FormatFileDate(t, it), it.toString(QDate(2024, 3, 9), QLocale::ShortFormat) + QStringLiteral(" 07.05"));
}

TEST(SongRecord, MakeSongLineFromAnAnalysedFile)
{
    TempFiles files;
    TagFields tag;
    tag.title = "Rock;Roll;Live";
    tag.artist = "  Artist  ";
    tag.year = "19;9";
    tag.comment = "first\rsecond;x";
    tag.genre = 13;
    FrameFields shape;
    shape.crc = true;
    shape.emphasis = 3;
    const QByteArray bytes = frames(shape, 10) + id3v1Tag(tag);
    clsMP3 mp3;
    mp3.setFullName(files.write(QStringLiteral("song.mp3"), bytes));
    ASSERT_EQ(mp3.ReadMP3Info(), clsMP3::ReadResult::Done);
    SongSource source{mp3.Path(), QStringLiteral("song.mp3"), bytes.size(), QDateTime::currentDateTime(), mp3.FileAttributes(),
        QStringLiteral("Drive fisso"), QStringLiteral("-"), QStringLiteral("ROCK01")};
    const SongRecord r = MakeSongLine(source, mp3);
    EXPECT_EQ(r.fullName(), mp3.FullName());
    // The title's separators become commas; the year is taken as it is; no CD identifier off a CD-ROM drive.
    const std::pair<int, QString> expected[] = {{ColFileName, QStringLiteral("song.mp3")}, {ColFolder, mp3.Path()},
        {ColBitRate, QStringLiteral("128")}, {ColFrames, QString::number(bytes.size() / 417)},
        {ColIdLayer, QStringLiteral("MPEG - 1.0 Layer 3")}, {ColSampleRate, QStringLiteral("44100hz Joint Stereo")},
        {ColArtist, QStringLiteral("Artist")}, {ColTitle, QStringLiteral("Rock,Roll,Live")}, {ColYear, QStringLiteral("19;9")},
        {ColGenre, QStringLiteral("Pop")}, {ColComment, QStringLiteral("first")}, {ColCopyright, QStringLiteral("False")},
        {ColCrc, QStringLiteral("True")}, {ColEmphasis, QStringLiteral("CCIT J.17")}, {ColOriginal, QStringLiteral("True")},
        {ColTagPresent, QStringLiteral("True")}, {ColAttributes, QStringLiteral("Normal")}, {ColCdId, QString()}};
    for (const auto& [column, text] : expected)
        EXPECT_EQ(r.text(column), text) << columnCaptions().at(column).toStdString();
    EXPECT_EQ(columnCaptions().at(ColCdId), QStringLiteral("Identifivativo CD"));

    source.driveType = QStringLiteral("CD-ROM drive");
    source.cdName.clear();
    EXPECT_EQ(MakeSongLine(source, mp3).text(ColCdId), QStringLiteral("/-"));
}

TEST(SongRecord, AFileWithoutAHeaderOrTag)
{
    TempFiles files;
    clsMP3 mp3;
    mp3.setFullName(files.write(QStringLiteral("x.mp3"), QByteArray(3000, 0)));
    ASSERT_EQ(mp3.ReadMP3Info(), clsMP3::ReadResult::Done);
    const SongRecord r = MakeSongLine(SongSource{mp3.Path(), QStringLiteral("x.mp3"), 3000, {}, {}, {}, {}, {}}, mp3);
    QStringList shown;
    for (int c = ColBitRate; c <= ColTagPresent; ++c)
        shown << r.text(c);
    EXPECT_EQ(shown.join(QLatin1Char('|')), QStringLiteral("|0|-01.-01|MPEG -  Layer |hz |||||||False|False||False|False"))
        << "no header: the texts of an empty header, no tag";
}
