#include "reports/TextList.h"

#include "reports/ReportText.h"

namespace sonivo {
namespace {

void appendBracketed(QByteArray& out, const QString& text)
{
    out += " [";
    out += text.toUtf8();
    out += ']';
}

}  // namespace

bool writeTextList(const ReportSource& songs, ReportOptions options, const ReportOutput& output)
{
    ChunkedOutput chunks(output);
    QByteArray& out = chunks.buffer();
    out += "Sonivo - Lista brani\r\n\r\n";
    QString text;
    for (qsizetype i = 0; i < songs.size(); ++i) {
        const SongRecord& song = songs.at(i);
        song.copyText(ColFileName, text);
        showEscapedBytes(text);
        out += withoutExtension(text).toUtf8();
        if (options.withDuration) {
            song.copyText(ColDuration, text);
            appendBracketed(out, text);
        }
        if (options.withSize) {
            song.copyText(ColSize, text);
            appendBracketed(out, text);
        }
        out += "\r\n";
        if (!chunks.pieceDone())
            return false;
    }
    out += "\r\n";
    return chunks.finish();
}

QString textList(const ReportSource& songs, ReportOptions options)
{
    QByteArray bytes;
    writeTextList(songs, options, [&bytes](QByteArrayView piece) {
        bytes += piece;
        return true;
    });
    return QString::fromUtf8(bytes);
}

}  // namespace sonivo
