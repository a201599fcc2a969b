#include "reports/Playlist.h"

#include "reports/ReportText.h"

namespace sonivo {

bool writePlaylist(const ReportSource& songs, const ReportOutput& output, WorkProgress* progress)
{
    ChunkedOutput chunks(output, progress, songs.size());
    QByteArray& out = chunks.buffer();
    for (qsizetype i = 0; i < songs.size(); ++i) {
        const SongRecord& song = songs.at(i);
        const qsizetype start = out.size();
        appendNativeBytes(out, song.stored(ColFolder));
        appendNativeBytes(out, song.stored(ColFileName));
        if (const QByteArrayView path = QByteArrayView(out).sliced(start); path.contains('\n') || path.contains('\r')) {
            const QByteArray url = "file://" + path.toByteArray().toPercentEncoding("/");
            out.truncate(start);
            out += url;
        }
        out += "\r\n";
        if (!chunks.pieceDone())
            return false;
    }
    return chunks.finish();
}

}  // namespace sonivo
