#pragma once
// The Xing / Info and VBRI headers that encoders put into the first frame of a file,
// giving the number of audio frames that follow it.

#include "analysis/ByteSource.h"
#include "analysis/MpegHeader.h"

namespace sonivo {

// Frame count of the Xing/Info or VBRI header in the frame at frameOffset, or -1
// when that frame has none (or gives no count).
qint64 vbrFrameCount(ByteSource& source, qint64 frameOffset, const MpegHeader& header);

}  // namespace sonivo
