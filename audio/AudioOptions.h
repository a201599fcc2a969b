#pragma once
// Where the media-control service plays: the sound server, falling back to a
// silent output while there is none or it fails, or the silent output from the
// start. Unavailable is a sound server that never answers, for tests. The silent
// output runs on the clock given here, and so does the retry of the sound server.

#include "audio/AudioClock.h"

#include <memory>

namespace sonivo {

struct AudioOptions {
    enum class Output { Default, Null, Unavailable };
    Output output = Output::Default;
    std::shared_ptr<const AudioClock> clock = std::make_shared<SteadyAudioClock>();
};

}  // namespace sonivo
