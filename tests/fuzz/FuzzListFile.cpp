// Fuzz target: the list-file reader on arbitrary bytes. The first byte chooses
// where the rest is cut in two chunks; the rows must be the same as when the
// bytes come in one piece, and every row must survive a save-form round trip.
// The bytes a save writes must read back as the same rows, and a file already
// in the form a save writes must be written back byte for byte.

#include "catalogue/LineForm.h"
#include "catalogue/ListFile.h"

#include <QStringDecoder>

#include <cstddef>
#include <cstdint>

namespace {

using namespace sonivo;

constexpr QByteArrayView kBom("\xEF\xBB\xBF");

// True when every line ends with CR LF and is one a save writes: not empty,
// UTF-8, in the line form of its own row.
bool inSavedForm(QByteArrayView bytes)
{
    if (bytes.startsWith(kBom))
        bytes = bytes.sliced(kBom.size());
    while (!bytes.isEmpty()) {
        const qsizetype end = bytes.indexOf("\r\n");
        if (end <= 0)
            return false;
        const QByteArrayView line = bytes.first(end);
        if (line.contains('\r') || line.contains('\n') || line.size() > kMaxListLine)
            return false;
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        const QString text = utf8.decode(line);
        if (utf8.hasError() || toLine(fromLine(text)) != text)
            return false;
        bytes = bytes.sliced(end + 2);
    }
    return true;
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

    std::vector<SongRecord> whole;
    ListReader one;
    one.feed(bytes, whole);
    one.finish(whole);

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
    std::vector<SongRecord> back;
    ListReader three;
    three.feed(saved, back);
    three.finish(back);
    if (back != whole)
        __builtin_trap();  // a saved file reads back as the rows saved
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
