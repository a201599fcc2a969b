#include "catalogue/ListFile.h"

#include "catalogue/LineForm.h"
#include "common/Windows1252.h"

#include "platform/NativeFile.h"
#include "platform/ReplacingFile.h"

#include <QStandardPaths>

#include <algorithm>
#include <utility>

namespace sonivo {
namespace {

constexpr qint64 kChunk = 1 << 20;
constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

// Finds the CRs and LFs of a buffer in order, each search a memchr: the next LF
// is remembered, so that lines ended by CR alone cost no search to the end.
class LineEnds {
public:
    explicit LineEnds(QByteArrayView bytes) : bytes_(bytes) {}
    // The first CR or LF from i on, or the size when there is none.
    qsizetype next(qsizetype i)
    {
        if (lf_ < i) {
            lf_ = bytes_.indexOf('\n', i);
            if (lf_ < 0)
                lf_ = bytes_.size();
        }
        const qsizetype cr = bytes_.first(lf_).indexOf('\r', i);
        return cr >= 0 ? cr : lf_;
    }

private:
    QByteArrayView bytes_;
    qsizetype lf_ = -1;
};

ListFileResult failure(const QString& error)
{
    return {false, error, 0};
}

ListFileResult notAList(const QString& why)
{
    return {false, why, 0, true};
}

ListFileResult stopped()
{
    ListFileResult result;
    result.ok = false;
    result.cancelled = true;
    return result;
}

}  // namespace

QString defaultListFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/sonivo/listamp3.svl");
}

void appendListLine(QByteArray& out, const SongRecord& record, bool firstLine)
{
    const qsizetype from = out.size();
    appendLine(out, record);
    if (firstLine && QByteArrayView(out).sliced(from).startsWith(kByteOrderMark))
        out.insert(from, kByteOrderMark);
    out += "\r\n";
}

namespace {

ListFileResult writeRows(const QString& fileName, const Catalogue& catalogue, const ListProgress& progress)
{
    ReplacingFile file;
    if (!file.open(fileName))
        return failure(errorText(file.error()));
    QByteArray buffer;
    const std::vector<SongRecord>& rows = catalogue.rows();
    for (size_t row = 0; row < rows.size(); ++row) {
        appendListLine(buffer, rows[row], row == 0);
        if (buffer.size() >= kChunk) {
            if (!file.write(buffer))
                return failure(errorText(file.error()));
            buffer.clear();
            if (progress && !progress(qint64(row + 1), qint64(rows.size())))
                return stopped();  // the new file goes with `file`; the old one was never touched
        }
    }
    if (!file.write(buffer) || !file.commit())
        return failure(errorText(file.error()));
    return {};
}

QString lockFailure(int error)
{
    if (error == kFileLocked)
        return QStringLiteral("la lista è in uso da un altro programma da più di %1 secondi; riprova più tardi")
            .arg(kListLockWait.count());
    if (error == kNoFileLocks)
        return QStringLiteral("il file system non permette di bloccare la lista, e senza blocco si potrebbe perdere "
                              "quanto vi aggiunge nel frattempo un altro programma");
    return errorText(error);
}

}  // namespace

ListFileResult SalvaLista(const QString& fileName, const Catalogue& catalogue, const ListProgress& progress)
{
    PathLock lock;
    const int locked = lock.lock(fileName, kListLockWait);
    if (locked != 0 && locked != kNoFileLocks)
        return failure(lockFailure(locked));
    ListFileResult result = writeRows(fileName, catalogue, progress);
    result.unlocked = locked == kNoFileLocks;
    return result;
}

ListFileResult ListUpdate::read(const QString& fileName, Catalogue& catalogue)
{
    fileName_ = fileName;
    if (const int locked = lock_.lock(fileName, kListLockWait)) {
        lock_.release();
        return failure(lockFailure(locked));
    }
    return ApriLista(fileName, catalogue);
}

ListFileResult ListUpdate::write(const Catalogue& catalogue)
{
    const ListFileResult result = writeRows(fileName_, catalogue, {});
    lock_.release();
    return result;
}

void ListReader::takeLine(QByteArrayView line, std::vector<SongRecord>& rows)
{
    if (std::exchange(firstLine_, false) && line.startsWith(kByteOrderMark))
        line = line.sliced(kByteOrderMark.size());
    if (std::exchange(dropping_, false))
        return;  // the end of a line already counted as damaged
    if (line.isEmpty())
        return;
    if (line.size() > kMaxListLine) {
        ++damaged_;
        return;
    }
    if (const auto ends = plainFieldEnds(line)) {
        rows.push_back(SongRecord::fromSeparated(line, *ends));
        tookRow_ = true;
        return;
    }
    std::string windows1252;
    if (!line.isValidUtf8()) {
        appendStored(windows1252, decodeWindows1252(line.data(), line.size()));
        line = QByteArrayView(windows1252.data(), qsizetype(windows1252.size()));
    }
    bool exactly22 = false;
    SongRecord row = fromStoredLine(line, builder_, &exactly22);
    const bool nul = line.contains('\0');
    if (exactly22 && !nul) {
        rows.push_back(std::move(row));
        tookRow_ = true;
        return;
    }
    ++damaged_;
    binary_ = binary_ || (nul && !exactly22 && !tookRow_);
}

void ListReader::feed(QByteArrayView chunk, std::vector<SongRecord>& rows)
{
    if (chunk.isEmpty())
        return;
    // Lines are taken where they lie in the chunk; only a line begun in an earlier
    // chunk is put together in pending_.
    qsizetype start = 0;
    LineEnds ends(chunk);
    for (qsizetype i = 0; (i = ends.next(i)) < chunk.size(); ++i) {
        const char c = chunk.at(i);
        if (pending_.isEmpty()) {
            takeLine(chunk.sliced(start, i - start), rows);
        } else {
            pending_ += chunk.sliced(start, i - start);
            takeLine(pending_, rows);
            pending_.clear();
        }
        // A CR LF is one line end. Split between two chunks, its LF ends an empty
        // line, which takeLine passes over.
        if (c == '\r' && i + 1 < chunk.size() && chunk.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    pending_ += chunk.sliced(start);
    if (pending_.size() > kMaxListLine) {
        // Too long to be a row already: its bytes are not kept while the rest comes.
        if (!dropping_)
            ++damaged_;
        dropping_ = true;
        firstLine_ = false;
        pending_.clear();
    }
}

void ListReader::finish(std::vector<SongRecord>& rows)
{
    if (!pending_.isEmpty() || dropping_)
        takeLine(pending_, rows);
    pending_.clear();
    firstLine_ = true;
    dropping_ = false;
}

ListFileResult readListFile(const QString& fileName, std::vector<SongRecord>& rows, const ListProgress& progress)
{
    const qsizetype before = qsizetype(rows.size());
    NativeFile file;
    if (!file.open(fileName.isEmpty() ? defaultListFile() : fileName, NativeFile::Mode::Read))
        return failure(errorText(file.error()));
    const qint64 size = file.size();
    ListReader reader;
    QByteArray chunk(kChunk, Qt::Uninitialized);
    for (qint64 offset = 0;;) {
        const qint64 n = file.readAt(offset, chunk.data(), kChunk);
        if (n < 0)
            return failure(errorText(file.error()));
        if (n == 0)
            break;
        reader.feed(QByteArrayView(chunk.constData(), n), rows);
        offset += n;
        if (reader.binary())
            break;  // no need to read the rest of a binary file
        if (progress && !progress(offset, size)) {
            rows.erase(rows.begin() + before, rows.end());
            return stopped();
        }
    }
    reader.finish(rows);
    const bool noRow = qsizetype(rows.size()) == before && reader.damagedLines() > 0;
    if (reader.binary() || noRow) {
        rows.erase(rows.begin() + before, rows.end());
        return notAList(reader.binary() ? QStringLiteral("contiene byte nulli, come un file binario")
                                        : QStringLiteral("nessuna delle sue righe è un brano"));
    }
    return {true, {}, reader.damagedLines()};
}

ListFileResult ApriLista(const QString& fileName, Catalogue& catalogue)
{
    // Read into rows of their own and added in one piece: one change for whoever
    // shows the catalogue, not one per line.
    std::vector<SongRecord> rows;
    const ListFileResult result = readListFile(fileName, rows);
    catalogue.append(std::move(rows));
    return result;
}

}  // namespace sonivo
