#pragma once
// A PulseAudio server of the caller's own, with a null sink whose monitor can be
// recorded, for the tests and benchmarks that play through the real sound server.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace sonivo::test {

// Samples a second of the monitor's recording (mono, 16-bit).
constexpr int kRecordRate = 8000;

class SoundServer {
public:
    // An empty text when the server runs, else why it does not. Clients find the
    // server at address() only once its sink renders in short blocks: a null sink
    // no stream asks for less renders two seconds at a time, so that a first stream
    // would wait up to that long, as no sound card makes it wait. A recording of the
    // monitor, kept open on a socket of its own, makes it render every 20 ms.
    QString start();
    // Ends the server as a crash would; its socket goes, so that a new start waits
    // for the new server's.
    void kill();
    ~SoundServer() { kill(); }
    QString socket() const { return runtime_.filePath(QStringLiteral("native")); }
    // The address for PULSE_SERVER.
    QString address() const { return QStringLiteral("unix:") + socket(); }

private:
    QString controlSocket() const { return runtime_.filePath(QStringLiteral("control")); }
    QString warmUp();

    QTemporaryDir runtime_;
    QProcess server_;
    QProcess keeper_;
};

// The null sink's monitor, recorded from the start until stop.
class Recorder {
public:
    explicit Recorder(const QString& server);
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;
    // Waits for the first recorded bytes, so that nothing played is missed.
    bool started();
    // What was recorded since the last call, waiting up to ms for more.
    QByteArray take(int ms);
    QByteArray stop();

private:
    QProcess parec_;
};

// Milliseconds from the start of the recording to its first 20 ms window whose
// level is well above silence; -1 when none is.
qint64 firstAudibleMs(const QByteArray& recording);
// Milliseconds from the first to the last such window; -1 when none is.
qint64 audibleSpanMs(const QByteArray& recording);

}  // namespace sonivo::test
