#include "catalogue/ListFile.h"

#include "catalogue/LineForm.h"
#include "common/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

#include <algorithm>

namespace sonivo {
namespace {

constexpr qint64 kChunk = 1 << 20;

QString lineText(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return decodeWindows1252(bytes.data(), bytes.size());
    return text;
}

ListFileResult failure(const QString& error)
{
    return {false, error};
}

}  // namespace

QString defaultListFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/sonivo/listamp3.svl");
}

ListFileResult SalvaLista(const QString& fileName, const Catalogue& catalogue)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QSaveFile file(fileName);
    // Unbuffered, so that a write the disk refuses is seen here and not lost in a flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(file.errorString());
    QByteArray buffer;
    for (const SongRecord& record : catalogue.rows()) {
        buffer += toLine(record).toUtf8();
        buffer += "\r\n";
        if (buffer.size() >= kChunk) {
            if (file.write(buffer) != buffer.size())
                return failure(file.errorString());
            buffer.clear();
        }
    }
    if (file.write(buffer) != buffer.size() || !file.commit())
        return failure(file.errorString());
    return {};
}

ListFileResult ApriLista(const QString& fileName, Catalogue& catalogue)
{
    QFile file(fileName.isEmpty() ? defaultListFile() : fileName);
    if (!file.open(QIODevice::ReadOnly))
        return failure(file.errorString());
    QByteArray pending;    // the start of a line whose end is not read yet
    bool afterCr = false;  // pending is empty and the last byte read was a CR
    for (;;) {
        const QByteArray chunk = file.read(kChunk);
        if (chunk.isEmpty() && file.error() != QFileDevice::NoError)
            return failure(file.errorString());
        if (chunk.isEmpty())
            break;
        const qsizetype scanFrom = pending.size();  // what was kept holds no line end
        pending += chunk;
        qsizetype start = 0;
        if (afterCr && pending.front() == '\n')
            start = 1;  // the LF of a CR LF split between two reads
        afterCr = false;
        for (qsizetype i = std::max(start, scanFrom); i < pending.size(); ++i) {
            const char c = pending.at(i);
            if (c != '\r' && c != '\n')
                continue;
            catalogue.append(fromLine(lineText(QByteArrayView(pending.constData() + start, i - start))));
            if (c == '\r' && i + 1 < pending.size() && pending.at(i + 1) == '\n')
                ++i;
            else if (c == '\r' && i + 1 == pending.size())
                afterCr = true;
            start = i + 1;
        }
        pending.remove(0, start);
    }
    if (!pending.isEmpty())
        catalogue.append(fromLine(lineText(pending)));
    return {};
}

}  // namespace sonivo
