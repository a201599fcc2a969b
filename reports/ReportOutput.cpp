#include "reports/ReportOutput.h"

namespace sonivo {
namespace {

constexpr qsizetype kPiece = 1 << 20;

}  // namespace

bool ChunkedOutput::handOn()
{
    if (ok_ && !buffer_.isEmpty())
        ok_ = output_(buffer_);
    buffer_.resize(0);  // keeps its room for the next piece
    if (ok_ && progress_)
        ok_ = progress_->step(done_, songs_);
    return ok_;
}

bool ChunkedOutput::pieceDone()
{
    ++done_;
    return buffer_.size() < kPiece ? ok_ : handOn();
}

bool ChunkedOutput::finish()
{
    return handOn();
}

}  // namespace sonivo
