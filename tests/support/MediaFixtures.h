#pragma once
// Playback through the silent output on a clock the test moves, and the MP3
// fixtures made for it, in fixtures/playback (apart, so that the tests that scan
// the fixtures folder do not see them). tone-3s-8k.mp3 is a 440 Hz tone of exactly
// 24,000 samples at 8 kHz, encoded by lame 3.100 (-m m -b 24) with its info
// header; the "no-info" files were encoded with -t, so they have none; the VBR one
// (-V 4 -t) is two seconds of alternating tone and noise.

#include "audio/AudioMediaControl.h"
#include "catalogue/SongRecord.h"
#include "tests/support/ManualClock.h"

#include <QString>
#include <chrono>
#include <functional>
#include <memory>

namespace sonivo::test {

// Full path of a file of fixtures/playback.
QString fixture(const char* name);

// A catalogue row of the three-second tone (24 kbit/s) at fullName, which gets a
// copy of the fixture named unless that is null.
SongRecord toneRow(const QString& fullName, const char* copyOf = "tone-3s-8k.mp3");

// Polls the condition until it holds or five seconds have passed; the decoding
// thread works on its own timer, so a result shows after some milliseconds.
bool eventually(const std::function<bool()>& condition);

struct SilentPlayback {
    explicit SilentPlayback(const char* alias = "a") : alias(QLatin1String(alias)) {}

    QString alias;
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    AudioMediaControl media{AudioOptions{AudioOptions::Output::Null, clock}};

    MediaReply send(const QString& command) { return media.send(command); }
    // A status query of the alias.
    QString status(const char* item);
    // Moves the clock and waits until the position shows it.
    bool playFor(qint64 ms);
};

}  // namespace sonivo::test
