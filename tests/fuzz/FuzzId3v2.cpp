// Fuzz target: the ID3v2 tag reader, on arbitrary file contents.

#include "analysis/Id3v2Tag.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace sonivo;
    MemoryByteSource source(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const Id3v2Tag tag = readId3v2(source);
    if (tag.readFailed)
        __builtin_trap();  // bytes in memory are always readable
    if (tag.version != 0 && (tag.version < 2 || tag.version > 4))
        __builtin_trap();
    const Id3v1Fields& f = tag.fields;
    if (tag.version == 0 && !(f.title + f.artist + f.album + f.year + f.comment + f.genre).isEmpty())
        __builtin_trap();  // no tag, no fields
    // A field holds at most the characters its bytes can encode.
    for (const QString* field : {&f.title, &f.artist, &f.album, &f.year, &f.comment})
        if (field->size() > qsizetype(size))
            __builtin_trap();
    return 0;
}
