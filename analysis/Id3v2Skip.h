#pragma once
// Leading ID3v2 tags (often large, with cover art) come before the first audio
// frame; the frame search starts after them.

#include "analysis/ByteSource.h"

namespace sonivo {

// Offset of the first byte after the ID3v2 tags at the start of the source, each
// found by the size in its own header; 0 when the source does not start with one.
// A read failure reads as "no further tag".
qint64 skipId3v2Tags(ByteSource& source);

}  // namespace sonivo
