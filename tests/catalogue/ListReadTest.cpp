// How a list file is read fast: lines that are rows as they stand are taken in
// one pass, giving the records the field-by-field reading gives; the progress
// is told and the read can be stopped.

#include "catalogue/LineForm.h"
#include "catalogue/ListFile.h"
#include "tests/support/TempFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace sonivo;
using namespace sonivo::test;

namespace {

QByteArray fieldsLine(const QList<QByteArray>& fields)
{
    return fields.join(';');
}

// The record the general reading gives a line, fields parsed one by one.
SongRecord generalRecord(QByteArrayView line, bool* exactly22)
{
    SongRecordBuilder builder;
    return fromStoredLine(line, builder, exactly22);
}

// A row line of about 300 bytes, as varied as a list's: accented and non-Latin
// texts, a four-byte character, empty fields.
QByteArray variedRow(int i)
{
    static const QList<QByteArray> words = {"Amore", "Città", "Δέλτα", "Ночь", "音楽", "Señora", "𝄞", "Blue"};
    QList<QByteArray> fields;
    for (int c = 0; c < kColumnCount; ++c) {
        QByteArray field;
        for (int k = 0; k < (i + c) % 5; ++k)
            field += words[(i * 7 + c * 3 + k) % words.size()] + QByteArray::number(i % 97);
        fields << field;
    }
    return fieldsLine(fields);
}

}  // namespace

TEST(LineForm, APlainLineGivesTheRecordTheGeneralReadingGives)
{
    // Separators, characters of every length and empty fields at every place
    // within the eight bytes looked at together.
    for (int shift = 0; shift < 24; ++shift) {
        for (const QByteArray& text : {QByteArray("a"), QByteArray("é"), QByteArray("€x"), QByteArray("𝄞"), QByteArray()}) {
            QList<QByteArray> fields;
            for (int c = 0; c < kColumnCount; ++c)
                fields << (c == 0 ? QByteArray(shift, 'p') : c % 3 == 0 ? QByteArray() : text + QByteArray::number(c));
            const QByteArray line = fieldsLine(fields);
            const auto ends = plainFieldEnds(line);
            ASSERT_TRUE(ends.has_value()) << line.toStdString();
            bool exactly22 = false;
            const SongRecord general = generalRecord(line, &exactly22);
            ASSERT_TRUE(exactly22);
            EXPECT_EQ(SongRecord::fromSeparated(line, *ends), general) << line.toStdString();
            EXPECT_EQ(SongRecord::fromSeparated(line, *ends).text(1), QString::fromUtf8(fields[1]));
        }
    }
}

TEST(LineForm, ALineThatIsNoRowAsItStandsIsLeftToTheGeneralReading)
{
    const QByteArray row = fieldsLine(QList<QByteArray>(kColumnCount, QByteArray("abcdefghij")));
    ASSERT_TRUE(plainFieldEnds(row).has_value());
    EXPECT_FALSE(plainFieldEnds(row + ";").has_value()) << "23 fields";
    EXPECT_FALSE(plainFieldEnds(row.left(row.lastIndexOf(';'))).has_value()) << "21 fields";
    EXPECT_FALSE(plainFieldEnds(QByteArray()).has_value());
    // An escape, a NUL or a byte that is no UTF-8, wherever it stands.
    for (const char bad : {'\x01', '\0', '\xE9', '\x80', '\xFF'}) {
        for (qsizetype at = 0; at < row.size(); ++at) {
            if (row[at] == ';')
                continue;
            QByteArray line = row;
            line[at] = bad;
            EXPECT_FALSE(plainFieldEnds(line).has_value()) << int(bad) << " at " << at;
        }
    }
}

TEST(LineForm, OnlyValidUtf8IsTakenAsItStands)
{
    // Every sequence of one to three bytes and the four-byte ones at the edges
    // of each range, at the end of a row and before its last separator: taken as
    // it stands exactly when Qt finds the line valid UTF-8.
    const QByteArray head = QByteArray(kColumnCount - 2, ';') + "x";
    const auto bytes = [](std::initializer_list<int> values) {
        QByteArray out;
        for (const int v : values)
            out += char(v);
        return out;
    };
    std::vector<QByteArray> sequences;
    for (int a = 0x02; a < 0x100; ++a) {
        if (a == ';')
            continue;
        sequences.push_back(QByteArray(1, char(a)));
        for (int b = 0x80; b < 0x100; ++b) {
            sequences.push_back(bytes({a, b}));
            if (a >= 0xE0) {
                for (int c : {0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0})
                    sequences.push_back(bytes({a, b, c}));
            }
            if (a >= 0xF0) {
                for (int c : {0x7F, 0x80, 0xBF, 0xC0})
                    for (int d : {0x7F, 0x80, 0xBF, 0xC0})
                        sequences.push_back(bytes({a, b, c, d}));
            }
        }
    }
    for (const QByteArray& s : sequences) {
        for (const QByteArray& line : {head + ";" + s, head + s + ";y"}) {
            ASSERT_EQ(plainFieldEnds(line).has_value(), QByteArrayView(line).isValidUtf8()) << line.toHex().toStdString();
        }
    }
}

class ListRead : public ::testing::Test {
protected:
    static QByteArray manyRows(int rows)
    {
        QByteArray bytes;
        for (int i = 0; i < rows; ++i)
            bytes += variedRow(i) + "\r\n";
        return bytes;
    }

    TempFiles files;
};

TEST_F(ListRead, ProgressIsToldUpToTheWholeFileAndAStoppedReadTakesNoRow)
{
    const QByteArray bytes = manyRows(12000);  // some chunks of a read
    ASSERT_GT(bytes.size(), 3 << 20);
    const QString path = files.write(QStringLiteral("list.svl"), bytes);
    std::vector<qint64> told;
    std::vector<SongRecord> rows;
    ASSERT_TRUE(readListFile(path, rows, [&](qint64 done, qint64 total) {
        EXPECT_EQ(total, bytes.size());
        told.push_back(done);
        return true;
    }).ok);
    ASSERT_GE(told.size(), 2u);
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_EQ(told.back(), bytes.size());
    EXPECT_EQ(rows.size(), 12000u);

    const SongRecord kept = generalRecord(variedRow(7), nullptr);
    for (const int stopAt : {1, 3}) {
        rows.assign(1, kept);
        int calls = 0;
        const ListFileResult r = readListFile(path, rows, [&](qint64, qint64) { return ++calls < stopAt; });
        EXPECT_TRUE(r.cancelled);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(calls, stopAt) << "no progress after the stop";
        ASSERT_EQ(rows.size(), 1u) << "the rows given stay, no row of the file is added";
        EXPECT_EQ(rows[0], kept);
    }
}
