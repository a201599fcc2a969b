#pragma once
// One catalogue entry: 22 texts, columns 0 to 21. A record is one pointer to one
// block holding all its texts in a compact form, so that a catalogue of a million
// songs stays small.

#include "catalogue/StoredText.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace sonivo {

class clsMP3;

enum Column : int {
    ColFileName,
    ColSize,
    ColDate,
    ColFolder,
    ColBitRate,
    ColFrames,
    ColDuration,
    ColIdLayer,
    ColSampleRate,
    ColArtist,
    ColTitle,
    ColAlbum,
    ColYear,
    ColGenre,
    ColComment,
    ColCopyright,
    ColCrc,
    ColEmphasis,
    ColOriginal,
    ColTagPresent,
    ColAttributes,
    ColCdId,
};
constexpr int kColumnCount = 22;

// The column titles, "Nome file" to "Identifivativo CD".
const QStringList& columnCaptions();

class SongRecord {
public:
    SongRecord() = default;  // 22 empty columns
    explicit SongRecord(const std::array<QString, kColumnCount>& columns);
    SongRecord(const SongRecord& other);
    SongRecord(SongRecord&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
    SongRecord& operator=(const SongRecord& other);
    SongRecord& operator=(SongRecord&& other) noexcept;
    ~SongRecord() { release(); }

    QString text(int c) const { return decodeStored(stored(c)); }
    // The column's text in the record's own form (see StoredText.h).
    QByteArrayView stored(int c) const;
    // Every column's text in that form, found in one pass over the record; the
    // views live as long as the record, so a passing record has none to give.
    std::array<QByteArrayView, kColumnCount> storedColumns() const&;
    std::array<QByteArrayView, kColumnCount> storedColumns() const&& = delete;
    bool isEmpty(int c) const { return stored(c).isEmpty(); }
    // Asks the processor to fetch the record's memory ahead of reading it.
    void prefetch() const { __builtin_prefetch(block_); }
    void setColumn(int c, const QString& value);
    // The full path of the song: folder, then file name.
    QString fullName() const { return text(ColFolder) + text(ColFileName); }

    bool operator==(const SongRecord& other) const;

    // Puts the records in a new order: the one at order[k] comes k-th. order
    // holds each position once.
    static void reorder(std::vector<SongRecord>& records, std::span<const qsizetype> order);

    // The record whose columns, in stored form, are pieces of one text, each
    // ending at its ends[c] and the next beginning one separator byte later.
    static SongRecord fromSeparated(QByteArrayView text, const std::array<qsizetype, kColumnCount>& ends);

private:
    friend class SongRecordBuilder;
    // One block per record: a byte giving the width of the 22 entries that
    // follow it, then the texts. Width 1 when no column is longer than 255 bytes,
    // as in almost every record: the entries are the columns' lengths. Else 2 or
    // 4: the entries are where the columns end. Null for a record of empty
    // texts. The texts, textSize bytes, are copied in by whoever made it.
    static char* makeBlock(size_t textSize, const std::array<quint32, kColumnCount>& ends);
    static char* textsOf(char* block) { return block + 1 + kColumnCount * size_t(block[0]); }
    void release();
    quint32 end(int c) const;
    quint32 lengthsBefore(int c) const;  // of a block of width 1
    size_t blockSize() const;

    char* block_ = nullptr;
};

// Builds a record column after column: append the column's text to text(), or
// its stored form to stored(), then endColumn(); columns not ended are empty.
// A builder may build one record after another, reusing its room.
class SongRecordBuilder {
public:
    explicit SongRecordBuilder(qsizetype capacity = 0) { texts_.reserve(size_t(capacity)); }
    QString& text() { return pending_; }
    std::string& stored() { return texts_; }
    void endColumn();
    SongRecord take();

private:
    std::string texts_;
    QString pending_;
    std::array<quint32, kColumnCount> ends_{};
    int column_ = 0;
};

// "1.235 KB": bytes ÷ 1000 + 0.5, rounded half away from zero, grouped.
QString FormatSizeKB(qint64 bytes, const QLocale& locale = QLocale());
// The locale's short date, a space and "hh.mm", in local time.
QString FormatFileDate(const QDateTime& time, const QLocale& locale = QLocale());
// "03.45" for 225 s: whole minutes, ".", seconds, each at least two digits.
QString FormatDuration(qint64 seconds);
// The play time rounded to whole seconds, halves to the even neighbour.
qint64 durationSeconds(double playTime);
// Every ";" replaced by ",".
QString SafeField(const QString& text);

struct SongSource {
    QString folder;  // ends with "/"
    QString name;
    qint64 size = 0;
    QDateTime created;
    QString attributes;  // the file's attribute text
    QString driveType;   // of the folder's drive
    QString volumeSerial;
    QString cdName;
};

// The record of an analysed file.
SongRecord MakeSongLine(const SongSource& source, const clsMP3& mp3);

}  // namespace sonivo
