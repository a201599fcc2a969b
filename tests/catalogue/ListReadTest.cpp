// How a list file is read fast: lines taken as they stand, large files in two
// halves at once, the progress told and a read that can be stopped. Whatever
// the path, the rows are those the line-by-line reader gives.

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

// The rows, damaged-line count and binary verdict of bytes given to one reader.
struct Reading {
    std::vector<SongRecord> rows;
    qint64 damaged = 0;
    bool binary = false;
};
Reading readInOnePiece(const QByteArray& bytes)
{
    Reading r;
    ListReader reader;
    reader.feed(bytes, r.rows);
    reader.finish(r.rows);
    r.damaged = reader.damagedLines();
    r.binary = reader.binary();
    return r;
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
    // Rows enough to be read in two halves: over 8 MB.
    static QByteArray manyRows(int rows, const QList<QByteArray>& lineEnds = {"\r\n"})
    {
        QByteArray bytes;
        for (int i = 0; i < rows; ++i)
            bytes += variedRow(i) + lineEnds[i % lineEnds.size()];
        return bytes;
    }

    // readListFile gives what one reader fed the whole file gives.
    void expectSameAsInOnePiece(const QByteArray& bytes, const char* what)
    {
        SCOPED_TRACE(what);
        const QString path = files.write(QStringLiteral("list.svl"), bytes);
        const Reading expected = readInOnePiece(bytes);
        std::vector<SongRecord> rows;
        const ListFileResult r = readListFile(path, rows);
        const bool notAList = expected.binary || (expected.rows.empty() && expected.damaged > 0);
        EXPECT_EQ(r.notAList, notAList);
        if (notAList) {
            EXPECT_TRUE(rows.empty());
            return;
        }
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_EQ(r.damagedLines, expected.damaged);
        ASSERT_EQ(rows.size(), expected.rows.size());
        EXPECT_TRUE(rows == expected.rows);
    }

    TempFiles files;
};

TEST_F(ListRead, ALargeListGivesTheRowsAndCountsTheLineByLineReadingGives)
{
    const QByteArray rows = manyRows(30000, {"\r\n", "\n", "\r"});
    ASSERT_GT(rows.size(), 8 << 20);
    const QByteArray damaged = "only;three;fields\r\n";
    const QByteArray nulRow = QByteArray("nul\0", 4) + QByteArray(kColumnCount - 1, ';') + "\r\n";
    const QByteArray binaryLine("ID3\x03\0\0\0\0\x0F\x76\n", 11);
    expectSameAsInOnePiece(QByteArray("\xEF\xBB\xBF") + damaged + rows + damaged + rows + "last;line;without;its;end",
        "damaged lines in both halves, a byte-order mark, a last line without its end");
    expectSameAsInOnePiece(manyRows(30000, {"\r"}), "CR line ends: no LF to share the file at");
    expectSameAsInOnePiece(binaryLine + rows, "a binary start");
    expectSameAsInOnePiece(rows + nulRow + rows, "a row holding NUL bytes");
    // Damaged lines up to the middle and then a line holding NUL bytes: binary,
    // as no row came before it; after a row it is a damaged line.
    const QByteArray longDamaged = "only;three;" + QByteArray(4000, 'x') + "\r\n";
    QByteArray damagedHalf;
    while (damagedHalf.size() < rows.size())
        damagedHalf += longDamaged;
    expectSameAsInOnePiece(damagedHalf + binaryLine + rows, "NUL bytes after damaged lines only");
    expectSameAsInOnePiece(variedRow(1) + "\r\n" + damagedHalf + binaryLine + rows, "NUL bytes after a row");
}

TEST_F(ListRead, ARowBeginningWithAByteOrderMarkKeepsItInTheSecondHalf)
{
    // Each row's name begins with U+FEFF: only the file's own mark goes.
    QByteArray bytes = "\xEF\xBB\xBF";
    for (int i = 0; i < 30000; ++i)
        bytes += "\xEF\xBB\xBF" + variedRow(i) + "\r\n";
    std::vector<SongRecord> rows;
    ASSERT_TRUE(readListFile(files.write(QStringLiteral("marks.svl"), bytes), rows).ok);
    ASSERT_EQ(rows.size(), 30000u);
    for (const SongRecord& row : rows)
        ASSERT_TRUE(row.text(ColFileName).startsWith(QChar(0xFEFF)));
}

TEST_F(ListRead, ProgressIsToldUpToTheWholeFileAndAStoppedReadTakesNoRow)
{
    const QByteArray bytes = manyRows(30000);
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
    EXPECT_GT(told.back(), bytes.size() / 2);
    EXPECT_LE(told.back(), bytes.size());

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
