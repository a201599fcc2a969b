#include "reports/TextList.h"

#include "reports/ReportText.h"

namespace sonivo {
namespace {

void appendBracketed(QByteArray& out, QByteArrayView stored)
{
    out += " [";
    appendShownUtf8(out, stored);
    out += ']';
}

}  // namespace

bool writeTextList(const ReportSource& songs, ReportOptions options, const ReportOutput& output, WorkProgress* progress)
{
    ChunkedOutput chunks(output, progress, songs.size());
    QByteArray& out = chunks.buffer();
    out += "Sonivo - Lista brani\r\n\r\n";
    for (qsizetype i = 0; i < songs.size(); ++i) {
        const SongRecord& song = songs.at(i);
        const qsizetype line = out.size();
        appendShownUtf8(out, withoutExtension(song.stored(ColFileName)));
        if (options.withDuration)
            appendBracketed(out, song.stored(ColDuration));
        if (options.withSize)
            appendBracketed(out, song.stored(ColSize));
        blankLineBreaks(out, line);
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
