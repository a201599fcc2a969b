#pragma once
// Where a writer's bytes go: a function that takes them a piece at a time, so
// that a large report is never held whole on its way to a file.

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
// mebibyte.
class ChunkedOutput {
public:
    explicit ChunkedOutput(const ReportOutput& output) : output_(output) {}
    QByteArray& buffer() { return buffer_; }
    // Hands the buffer on once it is full; false once a piece was refused.
    bool pieceDone();
    // Hands on the rest; false when any piece was refused.
    bool finish();

private:
    bool handOn();

    const ReportOutput& output_;
    QByteArray buffer_;
    bool ok_ = true;
};

}  // namespace sonivo
