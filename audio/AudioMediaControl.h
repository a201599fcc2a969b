#pragma once
// The media-control service of the program: MP3 files decoded by libmpg123 and
// played through the sound card, or silently when there is none, it fails, or the
// environment has SONIVO_AUDIO=null. Any number of aliases may be open at once.

#include "audio/AudioOptions.h"
#include "audio/MediaControl.h"

#include <map>
#include <memory>

namespace sonivo {

class PlaybackDevice;
struct MediaCommand;

class AudioMediaControl : public MediaControl {
public:
    explicit AudioMediaControl(AudioOptions options = {});
    // Closes every device still open.
    ~AudioMediaControl() override;

    MediaReply send(const QString& command) override;

private:
    MediaReply open(const MediaCommand& command);
    MediaReply toDevice(PlaybackDevice& device, const MediaCommand& command);

    AudioOptions options_;
    std::map<QString, std::unique_ptr<PlaybackDevice>> devices_;  // by alias in lower case
};

}  // namespace sonivo
