#pragma once
// The player of one MP3 file at a time, over the media-control service under the
// fixed alias MP3Play, so that at most one file is open. Positions and lengths come
// as whole seconds or as short time texts; a query while nothing is open reads as 0
// seconds, "0:00" and not playing.

#include "audio/MediaControl.h"

#include <QString>

namespace sonivo {

class PlayMp3 {
public:
    static constexpr const char* kAlias = "MP3Play";
    static constexpr const char* kDeviceType = "MPEGVideo";
    // mmPlay's answer when the file plays.
    static QString Success() { return QStringLiteral("Success"); }

    explicit PlayMp3(MediaControl& media);
    // Stops and closes the device.
    ~PlayMp3();
    PlayMp3(const PlayMp3&) = delete;
    PlayMp3& operator=(const PlayMp3&) = delete;

    QString Filename() const { return filename_; }
    // Stores the path; sends nothing.
    void setFilename(const QString& New_FileName) { filename_ = New_FileName; }

    bool IsPlaying();
    // The open file plays on without sound, because no sound server could be had.
    bool PlaysWithoutSound();
    // Opens Filename and plays it: Success(), "Errore nel file di input" when no
    // such file exists, unreadableFileText for anything but a regular file, else
    // the service's text of why it cannot be opened (undecodable, or a file still
    // open: stop first). Nothing plays on failure.
    QString mmPlay();
    // Pauses a playing device and resumes a paused one; nothing when stopped.
    void mmPause();
    // Stops and closes the device; always "".
    QString mmStop();
    qint64 PositionInSec();
    QString Position();
    qint64 LengthInSec();
    QString Length();
    // Moves to a position in milliseconds: playing on from there while playing,
    // else only the position moves and a later resume starts there.
    void SeekTo(qint64 Second);

    // A number of seconds as "0:ss" below a minute, else "mm:ss" with at least two
    // digits of minutes (59 gives 0:59, 60 gives 01:00, 7507 gives 125:07).
    static QString timeText(qint64 seconds);

private:
    // Sends a command; its reply cut to the 29 characters that a reply buffer of 30 holds.
    QString query(const QString& command);
    qint64 secondsOf(const char* item);
    QString command(const char* verb, const QString& rest = {}) const;

    MediaControl& media_;
    QString filename_;
};

}  // namespace sonivo
