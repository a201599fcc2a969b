// Fuzz target: the list-file reader on arbitrary bytes. The first byte chooses
// where the rest is cut in two chunks; the rows must be the same as when the
// bytes come in one piece, and every row must survive a save-form round trip.
// The bytes a save writes must read back as the same rows, and a file already
// in the form a save writes must be written back byte for byte. A row holding
// the bytes as a name and as a tag, as a scan or an edit may give it, must be
// saved so that it reads back.

#include "catalogue/LineForm.h"
#include "catalogue/ListFile.h"
#include "common/NativePath.h"

#include <QStringDecoder>

#include <cstddef>
#include <cstdint>

namespace {

using namespace sonivo;

constexpr QByteArrayView kBom("\xEF\xBB\xBF");

// True when every line ends with CR LF and is one a save writes: not empty,
// UTF-8 without NUL (a line with one is damaged), in the line form of its own row.
bool inSavedForm(QByteArrayView bytes)
{
    if (bytes.startsWith(kBom))
        bytes = bytes.sliced(kBom.size());
    while (!bytes.isEmpty()) {
        const qsizetype end = bytes.indexOf("\r\n");
        if (end <= 0)
            return false;
        const QByteArrayView line = bytes.first(end);
        if (line.contains('\r') || line.contains('\n') || line.contains('\0') || line.size() > kMaxListLine)
            return false;
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        const QString text = utf8.decode(line);
        if (utf8.hasError() || toLine(fromLine(text)) != text)
            return false;
        bytes = bytes.sliced(end + 2);
    }
    return true;
}

// The rows of the bytes, given in one piece.
std::vector<SongRecord> rowsOf(QByteArrayView bytes)
{
    std::vector<SongRecord> rows;
    ListReader reader;
    reader.feed(bytes, rows);
    reader.finish(rows);
    return rows;
}

QByteArray savedBytes(const std::vector<sonivo::SongRecord>& rows)
{
    QByteArray out;
    bool first = true;
    for (const SongRecord& r : rows) {
        appendListLine(out, r, first);
        first = false;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace sonivo;
    if (size == 0)
        return 0;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const qsizetype cut = bytes.isEmpty() ? 0 : qsizetype(data[0]) % (bytes.size() + 1);

    const std::vector<SongRecord> whole = rowsOf(bytes);
    std::vector<SongRecord> split;
    ListReader two;
    two.feed(bytes.first(cut), split);
    two.feed(bytes.sliced(cut), split);
    two.finish(split);

    if (whole != split)
        __builtin_trap();
    for (const SongRecord& r : whole) {
        if (fromLine(toLine(r)) != r)
            __builtin_trap();  // what is saved loads back the same
    }

    const QByteArray saved = savedBytes(whole);
    if (rowsOf(saved) != whole)
        __builtin_trap();  // a saved file reads back as the rows saved
    SongRecord any;
    any.setColumn(ColFileName, fromNativePath(bytes.toByteArray()));
    any.setColumn(ColTitle, QString::fromUtf8(bytes));
    const std::vector<SongRecord> anyRow{any};
    if (const QByteArray anySaved = savedBytes(anyRow); anySaved.size() <= kMaxListLine && rowsOf(anySaved) != anyRow)
        __builtin_trap();  // whatever a row holds is saved so that it loads
    if (inSavedForm(bytes)) {
        // A byte-order mark of the file's own is not kept; one a name begins with is.
        QByteArrayView expected = bytes;
        if (expected.startsWith(kBom) && !expected.sliced(kBom.size()).startsWith(kBom))
            expected = expected.sliced(kBom.size());
        if (saved != expected)
            __builtin_trap();
    }
    return 0;
}
