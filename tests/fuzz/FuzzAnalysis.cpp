// Fuzz target: the frame search (with the ID3v2 skip and the Xing/VBRI reader) and
// the ID3v1 tag reader, on arbitrary file contents.

#include "analysis/FrameSearch.h"
#include "analysis/Id3v1Tag.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace sonivo;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    MemoryByteSource source(bytes);
    const FirstFrame frame = findFirstFrame(source);
    if (frame.offset >= 0 && (!frame.header.isValid() || frame.offset + 4 > qint64(size)))
        __builtin_trap();  // a confirmed frame is valid and lies inside the file
    MemoryByteSource again(bytes);
    const FirstFrame whole = findFirstFrame(again, kSearchWindow);
    if (whole.offset != frame.offset || whole.vbrFrames != frame.vbrFrames)
        __builtin_trap();  // read in pieces, the window gives what it gives read whole
    if (size >= kId3v1Size) {
        const auto* block = reinterpret_cast<const unsigned char*>(data + size - kId3v1Size);
        if (isId3v1Tag(block)) {
            const Id3v1Fields f = parseId3v1(block);
            if (f.title.size() > 30 || f.year.size() > 4 || f.genre.isEmpty())
                __builtin_trap();
        }
    }
    return 0;
}
