#include "catalogue/SongInfo.h"

#include "common/FieldRule.h"

namespace sonivo {
namespace {

// The number a text begins with, sign included; 0 when it begins with none.
qint64 leadingNumber(QStringView text)
{
    qsizetype end = text.startsWith(u'-') || text.startsWith(u'+') ? 1 : 0;
    while (end < text.size() && text[end].isDigit() && text[end].unicode() < 128)
        ++end;
    return text.first(std::min<qsizetype>(end, 18)).toLongLong();
}

}  // namespace

QString durationWithSeconds(const QString& duration)
{
    const QStringView dot(u".");
    const qint64 seconds = leadingNumber(Field(duration, 1, dot)) * 60 + leadingNumber(Field(duration, 2, dot));
    return QStringLiteral("%1 (%2 secondi)").arg(duration).arg(seconds);
}

std::vector<SongInfoLine> songInfo(const SongRecord& row)
{
    return {
        {QStringLiteral("Grandezza:"), row.text(ColSize)},
        {QStringLiteral("Durata:"), durationWithSeconds(row.text(ColDuration))},
        {QStringLiteral("Frames:"), row.text(ColFrames)},
        {QStringLiteral("Versione MPEG:"), row.text(ColIdLayer)},
        {QStringLiteral("Bitrate:"), row.text(ColBitRate) + QStringLiteral(" kb")},
        {QStringLiteral("Sample rate:"), row.text(ColSampleRate)},
        {QStringLiteral("CRC:"), row.text(ColCrc)},
        {QStringLiteral("Copyright:"), row.text(ColCopyright)},
        {QStringLiteral("Originale:"), row.text(ColOriginal)},
        {QStringLiteral("Enfasi:"), row.text(ColEmphasis)},
        {QStringLiteral("Tag presente:"), row.text(ColTagPresent)},
        {QStringLiteral("Attributi file:"), row.text(ColAttributes)},
        {QStringLiteral("Data e ora:"), row.text(ColDate)},
        {QStringLiteral("Tipo file:"), QStringLiteral("MP3 media file")},
    };
}

}  // namespace sonivo
