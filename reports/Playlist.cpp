#include "reports/Playlist.h"

#include "common/NativePath.h"

namespace sonivo {

bool writePlaylist(const ReportSource& songs, LineEnd lineEnd, const ReportOutput& output)
{
    ChunkedOutput chunks(output);
    QByteArray& out = chunks.buffer();
    const QByteArrayView end = lineEnd == LineEnd::CrLf ? QByteArrayView("\r\n") : QByteArrayView("\n");
    QString path;
    QString name;
    QByteArray native;
    for (qsizetype i = 0; i < songs.size(); ++i) {
        const SongRecord& song = songs.at(i);
        song.copyText(ColFolder, path);
        song.copyText(ColFileName, name);
        path += name;
        native.resize(0);
        appendNativePath(native, path);
        if (native.contains('\n') || native.contains('\r'))
            out += "file://" + native.toPercentEncoding("/");
        else
            out += native;
        out += end;
        if (!chunks.pieceDone())
            return false;
    }
    return chunks.finish();
}

}  // namespace sonivo
