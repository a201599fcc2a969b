#include "audio/AudioMediaControl.h"

#include "audio/MediaCommand.h"
#include "audio/PlaybackDevice.h"

namespace sonivo {

AudioMediaControl::AudioMediaControl(AudioOptions options) : options_(std::move(options))
{
    if (qgetenv("SONIVO_AUDIO") == "null")
        options_.output = AudioOptions::Output::Null;
}

AudioMediaControl::~AudioMediaControl() = default;

MediaReply AudioMediaControl::send(const QString& text)
{
    MediaCommand command;
    if (const int error = parseMediaCommand(text, command); error != kMediaOk)
        return {error, {}};
    if (command.verb == MediaCommand::Verb::Open)
        return open(command);
    const auto device = devices_.find(command.alias.toLower());
    if (device == devices_.end())
        return {kMediaNotOpen, {}};
    if (command.verb == MediaCommand::Verb::Close) {
        devices_.erase(device);
        return {};
    }
    return toDevice(*device->second, command);
}

MediaReply AudioMediaControl::open(const MediaCommand& command)
{
    if (command.deviceType.compare(QLatin1String("MPEGVideo"), Qt::CaseInsensitive) != 0)
        return {kMediaUnsupportedType, {}};
    const QString alias = command.alias.toLower();
    if (devices_.count(alias))
        return {kMediaAliasInUse, {}};
    int error = kMediaOk;
    auto device = PlaybackDevice::open(command.path, options_, error);
    if (device)
        devices_.emplace(alias, std::move(device));
    return {error, {}};
}

MediaReply AudioMediaControl::toDevice(PlaybackDevice& device, const MediaCommand& command)
{
    using Verb = MediaCommand::Verb;
    switch (command.verb) {
    case Verb::Play:
        if (command.position >= 0)
            return {device.playFrom(command.position), {}};
        device.play();
        return {};
    case Verb::Pause: device.pause(); return {};
    case Verb::Stop: device.stop(); return {};
    case Verb::Seek: return {device.seek(command.position), {}};
    case Verb::SetTimeFormat: return {};  // milliseconds are the only time format
    case Verb::Status:
        switch (command.item) {
        case MediaCommand::Item::Mode: return {kMediaOk, device.mode()};
        case MediaCommand::Item::Position: return {kMediaOk, QString::number(device.positionMs())};
        case MediaCommand::Item::Length: return {kMediaOk, QString::number(device.lengthMs())};
        case MediaCommand::Item::Output: return {kMediaOk, device.output()};
        }
        break;
    case Verb::Open:
    case Verb::Close: break;
    }
    return {kMediaUnknownCommand, {}};
}

}  // namespace sonivo
