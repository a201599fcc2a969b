#pragma once
// Where the media-control service plays: the sound card, falling back to a silent
// output when there is none or it fails, or the silent output from the start. The
// silent output runs on the clock given here.

#include "audio/AudioClock.h"

#include <memory>

namespace sonivo {

struct AudioOptions {
    enum class Output { Default, Null };
    Output output = Output::Default;
    std::shared_ptr<const AudioClock> clock = std::make_shared<SteadyAudioClock>();
};

}  // namespace sonivo
