#include "catalogue/SongRecord.h"

#include "analysis/clsMP3.h"
#include "platform/LocalTime.h"

#include <cmath>

namespace sonivo {
namespace {

QString boolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

// At least two digits, the sign in front: -1 gives "-01".
QString twoDigits(qint64 value)
{
    const QString digits = QString::number(value < 0 ? -value : value).rightJustified(2, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + digits : digits;
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

SongRecord::SongRecord() = default;

SongRecord::SongRecord(const std::array<QString, kColumnCount>& columns)
{
    qsizetype length = 0;
    for (const QString& c : columns)
        length += c.size();
    texts_.reserve(length);
    for (int c = 0; c < kColumnCount; ++c) {
        texts_ += columns[size_t(c)];
        bounds_[size_t(c) + 1] = quint32(texts_.size());
    }
}

QStringView SongRecord::column(int c) const
{
    return QStringView(texts_).mid(bounds_[size_t(c)], bounds_[size_t(c) + 1] - bounds_[size_t(c)]);
}

void SongRecord::setColumn(int c, const QString& value)
{
    const quint32 start = bounds_[size_t(c)];
    const quint32 oldLength = bounds_[size_t(c) + 1] - start;
    texts_.replace(start, oldLength, value);
    const qint64 delta = qint64(value.size()) - oldLength;
    for (size_t k = size_t(c) + 1; k < bounds_.size(); ++k)
        bounds_[k] = quint32(bounds_[k] + delta);
}

bool SongRecord::operator==(const SongRecord& other) const
{
    return texts_ == other.texts_ && bounds_ == other.bounds_;
}

QString FormatSizeKB(qint64 bytes, const QLocale& locale)
{
    // bytes ÷ 1000 + 0.5, rounded half away from zero, is bytes ÷ 1000 + 1 cut.
    return locale.toString(bytes / 1000 + 1) + QStringLiteral(" KB");
}

QString FormatFileDate(const QDateTime& time, const QLocale& locale)
{
    const LocalDateTime local = toLocal(time);
    return locale.toString(local.date, QLocale::ShortFormat) + QLatin1Char(' ') + local.time.toString(QStringLiteral("hh.mm"));
}

QString FormatDuration(qint64 seconds)
{
    const qint64 minutes = seconds >= 0 ? seconds / 60 : -((-seconds + 59) / 60);
    const qint64 rest = seconds % 60;  // C++ keeps the sign of seconds
    return twoDigits(minutes) + QLatin1Char('.') + twoDigits(rest);
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
    const QString comment = mp3.Comment();
    const bool onCd = s.driveType == QLatin1String("CD-ROM drive");
    return SongRecord({
        s.name,
        FormatSizeKB(s.size),
        FormatFileDate(s.created),
        s.folder,
        mp3.BitRate().trimmed(),
        QString::number(mp3.TotalFrames()),
        FormatDuration(durationSeconds(mp3.PlayTime())),
        QStringLiteral("MPEG - ") + mp3.MPEGVersion() + QStringLiteral(" Layer ") + mp3.Layer(),
        mp3.SampleRate() + QStringLiteral("hz ") + mp3.ChannelMode().trimmed(),
        SafeField(mp3.Artist()),
        SafeField(mp3.Title()),
        SafeField(mp3.Album()),
        mp3.Year(),
        mp3.Genre(),
        SafeField(comment.left(comment.indexOf(QLatin1Char('\r')))),
        boolText(mp3.Copyright()),
        boolText(mp3.CRCPresent()),
        mp3.Emphasis().trimmed(),
        boolText(mp3.Original()),
        boolText(mp3.TagPresent()),
        s.attributes,
        onCd ? s.cdName + QLatin1Char('/') + s.volumeSerial : QString(),
    });
}

}  // namespace sonivo
