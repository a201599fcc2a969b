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

const QLocale kItalian(QLocale::Italian, QLocale::Italy);
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

}  // namespace

TEST(Totals, SizesAreReadInTheLocaleUpToTheFirstBlank)
{
    const auto r = rows({{"1.048.000 KB", "00.00"}, {"", "00.00"}, {"n/a KB", "00.00"}});
    EXPECT_DOUBLE_EQ(totalSizeKB(r, kItalian), 1048000);
    EXPECT_DOUBLE_EQ(totalSize(r, QLatin1Char('m'), kItalian), 1024);
    EXPECT_DOUBLE_EQ(totalSize(r, QLatin1Char('b'), kItalian), 1048000.0 * 1024);
    EXPECT_DOUBLE_EQ(totalSize(r, QLatin1Char('k'), kItalian), 1048000);
    EXPECT_DOUBLE_EQ(totalSize(r, QLatin1Char('x'), kItalian), 1048000);
    EXPECT_EQ(statusSongsText(3, totalSize(r, QLatin1Char('m'), kItalian), kItalian), QStringLiteral("Presenti 3 brani. Spazio: 1.024 MB"));
    EXPECT_EQ(statusSongsText(3, 1024.5, kEnglish), QStringLiteral("Presenti 3 brani. Spazio: 1,025 MB"));

    const auto english = rows({{"1,234 KB", "00.00"}, {"5 KB", "00.00"}});
    EXPECT_DOUBLE_EQ(totalSizeKB(english, kEnglish), 1239);
}

TEST(Totals, DurationsCarryIntoHoursMinutesAndSeconds)
{
    EXPECT_EQ(totalTime(rows({{"", "59.59"}, {"", "00.01"}})), QStringLiteral("01:00:00"));
    std::vector<SongRecord> sixtyOne;
    for (int i = 0; i < 61; ++i)
        sixtyOne.push_back(rows({{"", "59.00"}})[0]);
    EXPECT_EQ(totalTime(sixtyOne), QStringLiteral("59:59:00"));
    EXPECT_EQ(totalTime(rows({{"", "6000.00"}, {"", "100.05"}})), QStringLiteral("101:40:05")) << "three hour digits";
    EXPECT_EQ(totalTime({}), QStringLiteral("00:00:00"));
    EXPECT_EQ(totalTime(rows({{"", "03.20"}, {"", "-01.-01"}, {"", "x.y"}})), QStringLiteral("00:03:20"))
        << "a file without a valid header, or a broken text, adds nothing";
    // Texts a list file may hold besides the program's own "mm.ss".
    EXPECT_EQ(totalTime(rows({{"", " 3.20 "}, {"", "1.2.3"}, {"", "+1.00"}, {"", "-3.10"}, {"", "2"}, {"", "1234567890.00"}})),
        QStringLiteral("20576131:37:22"));

    // 200,000 ten-hour songs: no overflow.
    std::vector<SongRecord> many(200000, rows({{"", "600.00"}})[0]);
    EXPECT_EQ(totalTime(many), QStringLiteral("2000000:00:00"));
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

TEST(Totals, EverySizeTextCountsWhatTheLocaleReadsInIt)
{
    // The quick reading of whole grouped numbers agrees with the locale's own,
    // and leaves whatever else to it.
    for (const QLocale& locale : {kItalian, kEnglish, QLocale::c()}) {
        for (const char* text :
            {"1.048.000", "1,048,000", "12", "0", "1.23", "1,5", "12.3456", ".123", "123.", "1..000", "-5", "999.999.999.999", "abc", ""}) {
            SongRecord r;
            r.setColumn(ColSize, QString::fromLatin1(text) + QStringLiteral(" KB"));
            bool ok = false;
            const double expected = locale.toDouble(QString::fromLatin1(text), &ok);
            EXPECT_DOUBLE_EQ(totalSizeKB(std::vector<SongRecord>{r}, locale), ok ? expected : 0)
                << text << " in " << locale.name().toStdString();
        }
    }
}

TEST(Totals, AHugeDurationHoldsTheTotalAtItsLargest)
{
    const std::vector<SongRecord> huge = rows({{"", "9000000000000000000.00"}, {"", "153722867280912931.00"}, {"", "00.01"}});
    EXPECT_EQ(playSeconds(huge[0]), std::numeric_limits<qint64>::max());
    EXPECT_EQ(playSeconds(huge[2]), 1);
    EXPECT_EQ(totalTime(huge), QStringLiteral("2562047788015215:30:07"));
}
