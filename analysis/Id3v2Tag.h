#pragma once
// The ID3v2 tag at the start of a file (versions 2.2, 2.3 and 2.4): the six fields
// the catalogue shows, read from the text and comment frames. The frames are
// walked by their headers with small reads; a frame not needed (a cover picture)
// is passed by its size, never read.

#include "analysis/ByteSource.h"
#include "analysis/Id3v1Tag.h"

namespace sonivo {

struct Id3v2Tag {
    int version = 0;  // 2, 3 or 4; 0 when the source starts with no tag read here
    int revision = 0;
    // The same six fields as an ID3v1 tag, untrimmed: title, artist, album, the
    // year (of a recording date, its first four characters), the genre (a number,
    // "(17)" or "(17)Rock" as the genre list's name) and the first comment without
    // a description.
    Id3v1Fields fields;
    bool readFailed = false;  // the source could not be read
};

Id3v2Tag readId3v2(ByteSource& source);

}  // namespace sonivo
