#pragma once
// One catalogue entry: 22 texts, columns 0 to 21. The texts of a record are kept
// in one string with their bounds, so that a catalogue of several hundred thousand
// songs stays small.

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>

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
    SongRecord();
    explicit SongRecord(const std::array<QString, kColumnCount>& columns);

    QStringView column(int c) const;
    QString text(int c) const { return column(c).toString(); }
    void setColumn(int c, const QString& value);
    // The full path of the song: folder, then file name.
    QString fullName() const { return text(ColFolder) + text(ColFileName); }

    bool operator==(const SongRecord& other) const;

private:
    friend class SongRecordBuilder;

    QString texts_;
    std::array<quint32, kColumnCount + 1> bounds_{};
};

// Builds a record in one buffer, column after column: append the column's text
// to text(), then endColumn(); columns not ended are empty.
class SongRecordBuilder {
public:
    explicit SongRecordBuilder(qsizetype capacity) { record_.texts_.reserve(capacity); }
    QString& text() { return record_.texts_; }
    void endColumn();
    SongRecord take();

private:
    SongRecord record_;
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
