// How a list file is read fast: lines that are rows as they stand are taken in
// one pass, giving the records the field-by-field reading gives.

#include "catalogue/LineForm.h"

#include <gtest/gtest.h>

using namespace sonivo;

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
