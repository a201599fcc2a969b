#pragma once
// The search for the first MPEG-1 Layer III frame of a file: a sync FF FA or FF FB
// in the first 50,000 bytes after any leading ID3v2 tag, confirmed by another sync
// where the candidate's frame length says the next frame starts. The window is read
// in pieces, the next only while no frame is confirmed; the result is the same as
// when it is read whole.

#include "analysis/ByteSource.h"
#include "analysis/MpegHeader.h"

namespace sonivo {

constexpr qint64 kSearchWindow = 50000;
// What is read first: a leading tag's header, the frame and the one after it.
constexpr qint64 kFirstPiece = 4096;

struct FirstFrame {
    qint64 offset = -1;       // file offset of the confirmed frame, -1 when none
    MpegHeader header;        // the cleared header when none
    qint64 vbrFrames = -1;    // frame count of its Xing/Info or VBRI header, -1 when none
    bool readFailed = false;  // the source could not be read
    bool id3v2 = false;       // the source starts with an ID3v2 tag
};

// firstPiece: the bytes read first, each later piece twice as long (kSearchWindow:
// the window read whole).
FirstFrame findFirstFrame(ByteSource& source, qint64 firstPiece = kFirstPiece);

}  // namespace sonivo
