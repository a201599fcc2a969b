#pragma once
// Where a writer's bytes go: a function that takes them a piece at a time, so
// that a large report is never held whole on its way to a file.

#include "common/WorkProgress.h"

#include <QByteArray>
#include <cstring>
#include <functional>

namespace sonivo {

// Takes the next piece; false when it could not be written, which stops the writer.
using ReportOutput = std::function<bool(QByteArrayView bytes)>;

// Appends to a writer's buffer, whose room is already there: a copy, without
// the general insertion QByteArray::append goes through, which costs more than
// the copy itself for the few bytes of a song's line.
inline void put(QByteArray& out, QByteArrayView bytes)
{
    const qsizetype at = out.size();
    out.resize(at + bytes.size());
    std::memcpy(out.data() + at, bytes.data(), size_t(bytes.size()));
}

// The buffer a writer appends to, handed on to the output in pieces of about a
// mebibyte. With a progress, each piece handed on tells it how many of the
// songs are written: a piece takes a moment, so the progress is told often
// enough to follow and seldom enough to cost nothing.
class ChunkedOutput {
public:
    // songs: how many the writer lists, one pieceDone() after each.
    ChunkedOutput(const ReportOutput& output, WorkProgress* progress = nullptr, qsizetype songs = 0)
        : output_(output), progress_(progress), songs_(songs)
    {
    }
    QByteArray& buffer() { return buffer_; }
    // One more song written: hands the buffer on once it is full; false once
    // a piece was refused or the progress said to stop.
    bool pieceDone();
    // Hands on the rest; false when any piece was refused or the work was cancelled.
    bool finish();

private:
    bool handOn();

    const ReportOutput& output_;
    WorkProgress* const progress_;
    const qsizetype songs_;
    qsizetype done_ = 0;
    QByteArray buffer_;
    bool ok_ = true;
};

}  // namespace sonivo
