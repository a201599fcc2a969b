#include "catalogue/SongRecord.h"

#include "analysis/clsMP3.h"
#include "catalogue/RecordMemory.h"
#include "platform/LargePages.h"
#include "platform/LocalTime.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

namespace sonivo {
namespace {

// The helpers below write a text either as a QString or straight in a record's
// stored form (see StoredText.h), in which ASCII is written as it is.
void appendAscii(QString& out, std::string_view text)
{
    out += QLatin1String(text.data(), qsizetype(text.size()));
}

void appendAscii(std::string& out, std::string_view text)
{
    out += text;
}

void appendText(QString& out, QStringView text)
{
    out += text;
}

void appendText(std::string& out, QStringView text)
{
    appendStored(out, text);
}

template <typename Out> void appendNumber(Out& out, qint64 value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    appendAscii(out, std::string_view(digits, size_t(end - digits)));
}

// At least two digits, the sign in front: -1 gives "-01".
template <typename Out> void appendTwoDigits(Out& out, qint64 value)
{
    if (value < 0)
        appendAscii(out, "-");
    const qint64 magnitude = value < 0 ? -value : value;
    if (magnitude < 10)
        appendAscii(out, "0");
    appendNumber(out, magnitude);
}

// The locale's short date of the day; the last one is kept, as the songs of a
// folder mostly share their day and the locale's formatting is slow.
const QString& shortDate(const QDate& date, const QLocale& locale)
{
    thread_local QDate lastDate;
    thread_local QLocale lastLocale;
    thread_local QString lastText;
    if (date != lastDate || locale != lastLocale || lastText.isNull()) {
        lastText = locale.toString(date, QLocale::ShortFormat);
        lastDate = date;
        lastLocale = locale;
    }
    return lastText;
}

template <typename Out> void appendFileDate(Out& out, const QDateTime& time, const QLocale& locale)
{
    const LocalDateTime local = toLocal(time);
    appendText(out, shortDate(local.date, locale));
    appendAscii(out, " ");
    if (!local.time.isValid())
        return;
    appendTwoDigits(out, local.time.hour());
    appendAscii(out, ".");
    appendTwoDigits(out, local.time.minute());
}

template <typename Out> void appendDuration(Out& out, qint64 seconds)
{
    const qint64 minutes = seconds >= 0 ? seconds / 60 : -((-seconds + 59) / 60);
    appendTwoDigits(out, minutes);
    appendAscii(out, ".");
    appendTwoDigits(out, seconds % 60);  // C++ keeps the sign of seconds
}

template <typename Out> void appendSizeKB(Out& out, qint64 bytes, const QLocale& locale)
{
    // bytes ÷ 1000 + 0.5, rounded half away from zero, is bytes ÷ 1000 + 1 cut.
    appendText(out, locale.toString(bytes / 1000 + 1));
    appendAscii(out, " KB");
}

void appendBool(std::string& out, bool value)
{
    appendAscii(out, value ? "True" : "False");
}

// The text with every ";" replaced by ",": in the stored form no byte of
// another character is that of ";".
void appendSafe(std::string& out, QStringView text)
{
    const size_t from = out.size();
    appendStored(out, text);
    std::replace(out.begin() + qsizetype(from), out.end(), ';', ',');
}

}  // namespace

const QStringList& columnCaptions()
{
    static const QStringList captions = {
        QStringLiteral("Nome file"),
        QStringLiteral("Grandezza"),
        QStringLiteral("Data"),
        QStringLiteral("Percorso"),
        QStringLiteral("Bitrate"),
        QStringLiteral("Frames"),
        QStringLiteral("Durata"),
        QStringLiteral("ID Layer"),
        QStringLiteral("Sample rate"),
        QStringLiteral("Artista"),
        QStringLiteral("Titolo"),
        QStringLiteral("Album"),
        QStringLiteral("Anno"),
        QStringLiteral("Genere"),
        QStringLiteral("Commento"),
        QStringLiteral("Copyright"),
        QStringLiteral("CRC"),
        QStringLiteral("Enfasi"),
        QStringLiteral("Originale"),
        QStringLiteral("TAG presente"),
        QStringLiteral("Attributi file"),
        QStringLiteral("Identifivativo CD"),
    };
    return captions;
}

SongRecord::SongRecord(const std::array<QString, kColumnCount>& columns)
{
    SongRecordBuilder builder;
    for (const QString& c : columns) {
        builder.text() = c;
        builder.endColumn();
    }
    *this = builder.take();
}

SongRecord::SongRecord(const SongRecord& other)
{
    if (other.block_) {
        const size_t size = other.blockSize();
        block_ = RecordMemory::allocate(size);
        std::memcpy(block_, other.block_, size);
    }
}

SongRecord& SongRecord::operator=(const SongRecord& other)
{
    if (this != &other)
        *this = SongRecord(other);
    return *this;
}

SongRecord& SongRecord::operator=(SongRecord&& other) noexcept
{
    if (this != &other) {
        release();
        block_ = std::exchange(other.block_, nullptr);
    }
    return *this;
}

void SongRecord::release()
{
    if (!block_)
        return;
    const size_t size = blockSize();
    RecordMemory::release(std::exchange(block_, nullptr), size);
}

char* SongRecord::makeBlock(size_t textSize, const std::array<quint32, kColumnCount>& ends)
{
    if (textSize == 0)
        return nullptr;
    bool shortColumns = true;
    for (int c = 0; c < kColumnCount && shortColumns; ++c)
        shortColumns = ends[size_t(c)] - (c > 0 ? ends[size_t(c) - 1] : 0) <= 0xFF;
    const size_t width = shortColumns ? 1 : textSize <= 0xFFFF ? 2 : 4;
    char* block = RecordMemory::allocate(1 + kColumnCount * width + textSize);
    block[0] = char(width);
    for (int c = 0; c < kColumnCount; ++c) {
        char* at = block + 1 + size_t(c) * width;
        if (width == 1) {
            *at = char(ends[size_t(c)] - (c > 0 ? ends[size_t(c) - 1] : 0));
        } else if (width == 2) {
            const auto end = quint16(ends[size_t(c)]);
            std::memcpy(at, &end, 2);
        } else {
            std::memcpy(at, &ends[size_t(c)], 4);
        }
    }
    return block;
}

SongRecord SongRecord::fromSeparated(QByteArrayView text, const std::array<qsizetype, kColumnCount>& ends)
{
    std::array<quint32, kColumnCount> textEnds;
    for (int c = 0; c < kColumnCount; ++c)
        textEnds[size_t(c)] = quint32(ends[size_t(c)] - c);  // less the separators before it
    SongRecord record;
    record.block_ = makeBlock(textEnds.back(), textEnds);
    if (!record.block_)
        return record;
    char* to = textsOf(record.block_);
    qsizetype from = 0;
    for (int c = 0; c < kColumnCount; ++c) {
        const size_t length = size_t(ends[size_t(c)] - from);
        std::memcpy(to, text.data() + from, length);
        to += length;
        from = ends[size_t(c)] + 1;
    }
    return record;
}

quint32 SongRecord::lengthsBefore(int c) const
{
    const auto* lengths = reinterpret_cast<const uchar*>(block_ + 1);
    quint32 sum = 0;
    for (int k = 0; k < c; ++k)
        sum += lengths[k];
    return sum;
}

quint32 SongRecord::end(int c) const
{
    const char* at = block_ + 1 + size_t(c) * size_t(block_[0]);
    if (block_[0] == 1)
        return lengthsBefore(c + 1);
    if (block_[0] == 2) {
        quint16 end;
        std::memcpy(&end, at, 2);
        return end;
    }
    quint32 end;
    std::memcpy(&end, at, 4);
    return end;
}

size_t SongRecord::blockSize() const
{
    return 1 + kColumnCount * size_t(block_[0]) + end(kColumnCount - 1);
}

QByteArrayView SongRecord::stored(int c) const
{
    if (!block_)
        return {};
    if (block_[0] == 1)
        return QByteArrayView(textsOf(block_) + lengthsBefore(c), qsizetype(uchar(block_[1 + c])));
    const quint32 start = c > 0 ? end(c - 1) : 0;
    return QByteArrayView(textsOf(block_) + start, qsizetype(end(c) - start));
}

std::array<QByteArrayView, kColumnCount> SongRecord::storedColumns() const&
{
    std::array<QByteArrayView, kColumnCount> columns{};
    if (!block_)
        return columns;
    const char* texts = textsOf(block_);
    quint32 start = 0;
    for (int c = 0; c < kColumnCount; ++c) {
        const quint32 stop = block_[0] == 1 ? start + uchar(block_[1 + c]) : end(c);
        columns[size_t(c)] = QByteArrayView(texts + start, qsizetype(stop - start));
        start = stop;
    }
    return columns;
}

void SongRecord::setColumn(int c, const QString& value)
{
    SongRecordBuilder builder;
    for (int k = 0; k < kColumnCount; ++k) {
        if (k == c)
            appendStored(builder.stored(), value);
        else
            builder.stored().append(stored(k).data(), size_t(stored(k).size()));
        builder.endColumn();
    }
    *this = builder.take();
}

void SongRecord::reorder(std::vector<SongRecord>& records, std::span<const qsizetype> order)
{
    // The blocks change places, each still held once: no record is made or freed,
    // and the scattered reads are of pointers only.
    LargeVector<char*> blocks(records.size());
    for (size_t k = 0; k < records.size(); ++k)
        blocks[k] = records[size_t(order[k])].block_;
    for (size_t k = 0; k < records.size(); ++k)
        records[k].block_ = blocks[k];
}

bool SongRecord::operator==(const SongRecord& other) const
{
    for (int c = 0; c < kColumnCount; ++c) {
        if (stored(c) != other.stored(c))
            return false;
    }
    return true;
}

void SongRecordBuilder::endColumn()
{
    if (!pending_.isEmpty()) {
        appendStored(texts_, pending_);
        pending_.resize(0);
    }
    Q_ASSERT(column_ < kColumnCount);
    ends_[size_t(column_++)] = quint32(texts_.size());
}

SongRecord SongRecordBuilder::take()
{
    while (column_ < kColumnCount)
        endColumn();
    SongRecord record;
    record.block_ = SongRecord::makeBlock(texts_.size(), ends_);
    if (record.block_)
        std::memcpy(SongRecord::textsOf(record.block_), texts_.data(), texts_.size());
    texts_.clear();
    column_ = 0;
    return record;
}

QString FormatSizeKB(qint64 bytes, const QLocale& locale)
{
    QString text;
    appendSizeKB(text, bytes, locale);
    return text;
}

QString FormatFileDate(const QDateTime& time, const QLocale& locale)
{
    QString text;
    appendFileDate(text, time, locale);
    return text;
}

QString FormatDuration(qint64 seconds)
{
    QString text;
    appendDuration(text, seconds);
    return text;
}

qint64 durationSeconds(double playTime)
{
    return qint64(std::nearbyint(playTime));  // the default rounding mode: halves to even
}

QString SafeField(const QString& text)
{
    QString safe = text;
    return safe.replace(QLatin1Char(';'), QLatin1Char(','));
}

SongRecord MakeSongLine(const SongSource& s, const clsMP3& mp3)
{
    // Every text goes straight into the record's stored form.
    SongRecordBuilder record(256 + s.folder.size());
    std::string& t = record.stored();
    const auto column = [&](QStringView text) {
        appendStored(t, text);
        record.endColumn();
    };
    const auto safeColumn = [&](QStringView text) {
        appendSafe(t, text);
        record.endColumn();
    };
    const auto boolColumn = [&](bool value) {
        appendBool(t, value);
        record.endColumn();
    };
    const QLocale locale;
    column(s.name);
    appendSizeKB(t, s.size, locale);
    record.endColumn();
    appendFileDate(t, s.created, locale);
    record.endColumn();
    column(s.folder);
    column(QStringView(mp3.BitRate()).trimmed());
    appendNumber(t, mp3.TotalFrames());
    record.endColumn();
    appendDuration(t, durationSeconds(mp3.PlayTime()));
    record.endColumn();
    appendAscii(t, "MPEG - ");
    appendStored(t, mp3.MPEGVersion());
    appendAscii(t, " Layer ");
    column(mp3.Layer());
    appendStored(t, mp3.SampleRate());
    appendAscii(t, "hz ");
    column(QStringView(mp3.ChannelMode()).trimmed());
    safeColumn(mp3.Artist());
    safeColumn(mp3.Title());
    safeColumn(mp3.Album());
    column(mp3.Year());
    column(mp3.Genre());
    const QString comment = mp3.Comment();
    safeColumn(QStringView(comment).left(comment.indexOf(QLatin1Char('\r'))));
    boolColumn(mp3.Copyright());
    boolColumn(mp3.CRCPresent());
    column(QStringView(mp3.Emphasis()).trimmed());
    boolColumn(mp3.Original());
    boolColumn(mp3.TagPresent());
    column(s.attributes);
    if (s.driveType == QLatin1String("CD-ROM drive")) {
        appendStored(t, s.cdName);
        appendAscii(t, "/");
        appendStored(t, s.volumeSerial);
    }
    return record.take();
}

}  // namespace sonivo
