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

void ListReader::feed(QByteArrayView chunk, Catalogue& catalogue)
{
    if (chunk.isEmpty())
        return;
    const qsizetype scanFrom = pending_.size();  // what was kept holds no line end
    pending_ += chunk;
    qsizetype start = 0;
    if (afterCr_ && pending_.front() == '\n')
        start = 1;  // the LF of a CR LF split between two chunks
    afterCr_ = false;
    for (qsizetype i = std::max(start, scanFrom); i < pending_.size(); ++i) {
        const char c = pending_.at(i);
        if (c != '\r' && c != '\n')
            continue;
        catalogue.append(fromLine(lineText(QByteArrayView(pending_.constData() + start, i - start))));
        if (c == '\r' && i + 1 < pending_.size() && pending_.at(i + 1) == '\n')
            ++i;
        else if (c == '\r' && i + 1 == pending_.size())
            afterCr_ = true;
        start = i + 1;
    }
    pending_.remove(0, start);
}

void ListReader::finish(Catalogue& catalogue)
{
    if (!pending_.isEmpty())
        catalogue.append(fromLine(lineText(pending_)));
    pending_.clear();
    afterCr_ = false;
}

namespace {

ListFileResult readList(const QString& fileName, Catalogue& catalogue)
{
    QFile file(fileName.isEmpty() ? defaultListFile() : fileName);
    if (!file.open(QIODevice::ReadOnly))
        return failure(file.errorString());
    ListReader reader;
    for (;;) {
        const QByteArray chunk = file.read(kChunk);
        if (chunk.isEmpty() && file.error() != QFileDevice::NoError)
            return failure(file.errorString());
        if (chunk.isEmpty())
            break;
        reader.feed(chunk, catalogue);
    }
    reader.finish(catalogue);
    return {};
}

}  // namespace

ListFileResult ApriLista(const QString& fileName, Catalogue& catalogue)
{
    // Read into rows of their own and added in one piece: one change for whoever
    // shows the catalogue, not one per line.
    Catalogue read;
    const ListFileResult result = readList(fileName, read);
    catalogue.append(read.takeRows());
    return result;
}

}  // namespace sonivo
