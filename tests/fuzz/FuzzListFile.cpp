// Fuzz target: the list-file reader on arbitrary bytes. The first byte chooses
// where the rest is cut in two chunks; the rows must be the same as when the
// bytes come in one piece, and every row must survive a save-form round trip.

#include "catalogue/LineForm.h"
#include "catalogue/ListFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace sonivo;
    if (size == 0)
        return 0;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const qsizetype cut = bytes.isEmpty() ? 0 : qsizetype(data[0]) % (bytes.size() + 1);

    Catalogue whole;
    ListReader one;
    one.feed(bytes, whole);
    one.finish(whole);

    Catalogue split;
    ListReader two;
    two.feed(bytes.first(cut), split);
    two.feed(bytes.sliced(cut), split);
    two.finish(split);

    if (whole.rows() != split.rows())
        __builtin_trap();
    for (const SongRecord& r : whole.rows()) {
        if (fromLine(toLine(r)) != r)
            __builtin_trap();  // what is saved loads back the same
    }
    return 0;
}
