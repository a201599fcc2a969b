#include "catalogue/ListFile.h"

#include "catalogue/LineForm.h"
#include "common/Windows1252.h"

#include "platform/NativeFile.h"
#include "platform/ReplacingFile.h"

#include <QStandardPaths>

#include <algorithm>
#include <atomic>
#include <thread>
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

ListFileResult writeRows(const QString& fileName, const Catalogue& catalogue)
{
    ReplacingFile file;
    if (!file.open(fileName))
        return failure(errorText(file.error()));
    QByteArray buffer;
    bool first = true;
    for (const SongRecord& record : catalogue.rows()) {
        appendListLine(buffer, record, first);
        first = false;
        if (buffer.size() >= kChunk) {
            if (!file.write(buffer))
                return failure(errorText(file.error()));
            buffer.clear();
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

ListFileResult SalvaLista(const QString& fileName, const Catalogue& catalogue)
{
    PathLock lock;
    const int locked = lock.lock(fileName, kListLockWait);
    if (locked != 0 && locked != kNoFileLocks)
        return failure(lockFailure(locked));
    ListFileResult result = writeRows(fileName, catalogue);
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
    const ListFileResult result = writeRows(fileName_, catalogue);
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
    if (std::exchange(afterCr_, false) && chunk.front() == '\n')
        chunk = chunk.sliced(1);  // the LF of a CR LF split between two chunks
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
        if (c == '\r' && i + 1 < chunk.size() && chunk.at(i + 1) == '\n')
            ++i;
        else if (c == '\r' && i + 1 == chunk.size())
            afterCr_ = true;
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
    afterCr_ = false;
    firstLine_ = true;
    dropping_ = false;
}

namespace {

// Files from this size on are read in two halves at once.
constexpr qint64 kHalvesFrom = 8 * kChunk;

// The offset just past the first LF from the middle of the file on: a line
// begins there. 0 when there is none.
qint64 secondHalfStart(NativeFile& file, qint64 size)
{
    QByteArray buffer(kChunk, Qt::Uninitialized);
    for (qint64 offset = size / 2; offset < size;) {
        const qint64 n = file.readAt(offset, buffer.data(), kChunk);
        if (n <= 0)
            return 0;
        const qsizetype lf = QByteArrayView(buffer.constData(), n).indexOf('\n');
        if (lf >= 0)
            return offset + lf + 1;
        offset += n;
    }
    return 0;
}

// Reads the file's bytes from `from` up to `to` (to its end for -1) into rows,
// asking keepGoing(bytes read) after each chunk. Returns 0, or the errno of a
// read that failed, the line it was in then left out.
template <typename KeepGoing>
int readPart(NativeFile& file, qint64 from, qint64 to, ListReader& reader, std::vector<SongRecord>& rows, KeepGoing keepGoing)
{
    QByteArray chunk(kChunk, Qt::Uninitialized);
    for (qint64 offset = from; to < 0 || offset < to;) {
        const qint64 n = file.readAt(offset, chunk.data(), to < 0 ? kChunk : std::min(kChunk, to - offset));
        if (n < 0)
            return file.error();
        if (n == 0)
            break;
        reader.feed(QByteArrayView(chunk.constData(), n), rows);
        offset += n;
        if (!keepGoing(offset - from))
            break;
    }
    reader.finish(rows);
    return 0;
}

// The second half of a file read while the first is: on a thread of its own,
// through a descriptor of its own.
class SecondHalf {
public:
    SecondHalf() = default;
    SecondHalf(const SecondHalf&) = delete;
    SecondHalf& operator=(const SecondHalf&) = delete;
    ~SecondHalf() { stop(); }

    // Starts reading the file from `from` on, to its end: NUL bytes there make
    // no binary file when the first half has a row. False when the file could
    // not be opened again, which leaves the whole file to the caller.
    bool start(const NativeFile& file, qint64 from)
    {
        if (!file_.openAgain(file, NativeFile::Mode::Read))
            return false;
        thread_ = std::thread([this, from] {
            error_ = readPart(file_, from, -1, reader_, rows_, [this](qint64 done) {
                done_ = done;
                return !stop_;
            });
        });
        return true;
    }
    // Bytes read so far; safe while it reads.
    qint64 done() const { return done_; }
    // Ends the read after the chunk being read and waits for it.
    void stop()
    {
        stop_ = true;
        finish();
    }
    void finish()
    {
        if (thread_.joinable())
            thread_.join();
    }
    // After finish:
    int error() const { return error_; }
    const ListReader& reader() const { return reader_; }
    std::vector<SongRecord>& rows() { return rows_; }

private:
    NativeFile file_;
    ListReader reader_{ListReader::Start::WithinFile};
    std::vector<SongRecord> rows_;
    int error_ = 0;
    std::atomic<qint64> done_ = 0;
    std::atomic<bool> stop_ = false;
    std::thread thread_;
};

}  // namespace

ListFileResult readListFile(const QString& fileName, std::vector<SongRecord>& rows, const ReadProgress& progress)
{
    const qsizetype before = qsizetype(rows.size());
    NativeFile file;
    if (!file.open(fileName.isEmpty() ? defaultListFile() : fileName, NativeFile::Mode::Read))
        return failure(errorText(file.error()));
    const qint64 size = file.size();
    SecondHalf second;
    qint64 split = size >= kHalvesFrom ? secondHalfStart(file, size) : 0;
    const bool halves = split > 0 && second.start(file, split);
    if (!halves)
        split = -1;  // the whole file here
    ListReader reader;
    bool cancelled = false;
    const int error = readPart(file, 0, split, reader, rows, [&](qint64 done) {
        if (reader.binary())
            return false;  // no need to read the rest of a binary file
        cancelled = progress && !progress(done + second.done(), size);
        return !cancelled;
    });
    const bool whole = !cancelled && error == 0 && !reader.binary();
    bool binary = reader.binary();
    qint64 damaged = reader.damagedLines();
    int secondError = 0;
    if (halves) {
        if (!whole) {
            second.stop();
        } else {
            second.finish();
            // NUL bytes in the second half make a binary file when no row came before.
            binary = !reader.tookRow() && second.reader().binary();
            damaged += second.reader().damagedLines();
            secondError = second.error();
            rows.insert(rows.end(), std::make_move_iterator(second.rows().begin()), std::make_move_iterator(second.rows().end()));
        }
    }
    if (cancelled) {
        rows.erase(rows.begin() + before, rows.end());
        ListFileResult result;
        result.ok = false;
        result.cancelled = true;
        return result;
    }
    if (error != 0 || secondError != 0)
        return failure(errorText(error != 0 ? error : secondError));
    const bool noRow = qsizetype(rows.size()) == before && damaged > 0;
    if (binary || noRow) {
        rows.erase(rows.begin() + before, rows.end());
        return notAList(binary ? QStringLiteral("contiene byte nulli, come un file binario")
                               : QStringLiteral("nessuna delle sue righe è un brano"));
    }
    return {true, {}, damaged};
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
