#include "catalogue/Totals.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace sonivo;

namespace {

std::vector<SongRecord> rows(std::initializer_list<std::pair<const char*, const char*>> sizeAndDuration)
{
    std::vector<SongRecord> out;
    for (const auto& [size, duration] : sizeAndDuration) {
        SongRecord r;
        r.setColumn(ColSize, QString::fromUtf8(size));
        r.setColumn(ColDuration, QString::fromUtf8(duration));
        out.push_back(r);
    }
    return out;
}

// The totals of the rows as the catalogue keeps them, each row added once.
RowTotals totalsOf(const std::vector<SongRecord>& rows)
{
    RowTotals totals;
    for (const SongRecord& r : rows)
        totals.add(r);
    return totals;
}

const QLocale kItalian(QLocale::Italian, QLocale::Italy);
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

}  // namespace

TEST(Totals, SizesSumInEveryUnitAndShowInTheLocale)
{
    const auto r = rows({{"1.048.000 KB", "00.00"}, {"", "00.00"}, {"n/a KB", "00.00"}});
    EXPECT_DOUBLE_EQ(totalsOf(r).size(QLatin1Char('k')), 1048000);
    EXPECT_DOUBLE_EQ(totalsOf(r).size(QLatin1Char('m')), 1024);
    EXPECT_DOUBLE_EQ(totalsOf(r).size(QLatin1Char('b')), 1048000.0 * 1024);
    EXPECT_DOUBLE_EQ(totalsOf(r).size(QLatin1Char('x')), 1048000);
    EXPECT_EQ(statusSongsText(3, totalsOf(r).size(QLatin1Char('m')), kItalian), QStringLiteral("Presenti 3 brani. Spazio: 1.024 MB"));
    EXPECT_EQ(statusSongsText(3, 1024.5, kEnglish), QStringLiteral("Presenti 3 brani. Spazio: 1,025 MB"));
}

TEST(Totals, ASizeCountsTheSameWhateverGroupingItWasWrittenWith)
{
    // A list saved in one setting and opened in another: 4,002 KB is never
    // 4.002 KB, whichever of the two groups with a point.
    for (const QString& size : {QStringLiteral("4.002.100 KB"), QStringLiteral("4,002,100 KB"), QStringLiteral("4 002 100 KB"),
             QStringLiteral("4\u00A0002\u00A0100 KB"), QStringLiteral("4\u202F002\u202F100 KB"), QStringLiteral("4'002'100 KB"),
             QStringLiteral("4\u2019002\u2019100 KB"), QStringLiteral("40,02,100 KB"), QStringLiteral("4002100 KB"),
             QStringLiteral("\u0664\u066C\u0660\u0660\u0662\u066C\u0661\u0660\u0660 KB")}) {
        SongRecord r;
        r.setColumn(ColSize, size);
        EXPECT_DOUBLE_EQ(totalsOf(std::vector<SongRecord>{r}).size(QLatin1Char('k')), 4002100) << size.toStdString();
    }
    const auto mixed = rows({{"4,002 KB", "00.00"}, {"5.000 KB", "00.00"}, {"7 KB", "00.00"}});
    EXPECT_EQ(statusSongsText(3, totalsOf(mixed).size(QLatin1Char('m')), kItalian), QStringLiteral("Presenti 3 brani. Spazio: 9 MB"));

    // What is no size counts nothing; text after the number is its unit.
    for (const char* none : {"", "KB", "n/a KB", "-5 KB", "1234567890123456789 KB"}) {
        SongRecord r;
        r.setColumn(ColSize, QString::fromLatin1(none));
        EXPECT_DOUBLE_EQ(totalsOf(std::vector<SongRecord>{r}).size(QLatin1Char('k')), 0) << none;
    }
    EXPECT_DOUBLE_EQ(totalsOf(rows({{"12", ""}, {"3 KB (circa)", ""}, {"999.999.999.999.999.999", ""}})).size(QLatin1Char('k')), 999999999999999999.0 + 15);
}

TEST(Totals, DurationsCarryIntoHoursMinutesAndSeconds)
{
    EXPECT_EQ(totalsOf(rows({{"", "59.59"}, {"", "00.01"}})).time(), QStringLiteral("01:00:00"));
    std::vector<SongRecord> sixtyOne;
    for (int i = 0; i < 61; ++i)
        sixtyOne.push_back(rows({{"", "59.00"}})[0]);
    EXPECT_EQ(totalsOf(sixtyOne).time(), QStringLiteral("59:59:00"));
    EXPECT_EQ(totalsOf(rows({{"", "6000.00"}, {"", "100.05"}})).time(), QStringLiteral("101:40:05")) << "three hour digits";
    EXPECT_EQ(RowTotals().time(), QStringLiteral("00:00:00"));
    EXPECT_EQ(totalsOf(rows({{"", "03.20"}, {"", "-01.-01"}, {"", "x.y"}})).time(), QStringLiteral("00:03:20"))
        << "a file without a valid header, or a broken text, adds nothing";
    // Texts a list file may hold besides the program's own "mm.ss".
    EXPECT_EQ(totalsOf(rows({{"", " 3.20 "}, {"", "1.2.3"}, {"", "+1.00"}, {"", "-3.10"}, {"", "2"}, {"", "1234567890.00"}})).time(),
        QStringLiteral("20576131:37:22"));

    // 200,000 ten-hour songs: no overflow.
    std::vector<SongRecord> many(200000, rows({{"", "600.00"}})[0]);
    EXPECT_EQ(totalsOf(many).time(), QStringLiteral("2000000:00:00"));
}

TEST(Totals, ProgressHalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(progressPercent(3, 2), 67);
    EXPECT_EQ(progressPercent(8, 1), 12);  // 12.5
    EXPECT_EQ(progressPercent(8, 3), 38);  // 37.5
    EXPECT_EQ(progressPercent(4, 4), 100);
    EXPECT_EQ(progressPercent(0, 0), 0);
    EXPECT_EQ(progressFoundText(12345), QStringLiteral("Totale brani individuati: 12345"));
    EXPECT_EQ(startSongsText(), QStringLiteral("Presenti 0 brani. Spazio: 0 KB"));
    EXPECT_EQ(startTimeText(), QStringLiteral("Durata totale 00:00:00"));
}

TEST(Totals, AHugeDurationHoldsTheTotalAtItsLargest)
{
    const std::vector<SongRecord> huge = rows({{"", "9000000000000000000.00"}, {"", "153722867280912931.00"}, {"", "00.01"}});
    EXPECT_EQ(playSeconds(huge[0]), std::numeric_limits<qint64>::max());
    EXPECT_EQ(playSeconds(huge[2]), 1);
    EXPECT_EQ(totalsOf(huge).time(), QStringLiteral("2562047788015215:30:07"));
}
