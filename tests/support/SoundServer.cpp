#include "tests/support/SoundServer.h"

#include "tests/support/MediaFixtures.h"

#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <cmath>
#include <utility>

namespace sonivo::test {

namespace {

QStringList recordArguments()
{
    return {QStringLiteral("-d"), QStringLiteral("sonivo_test.monitor"), QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
        QStringLiteral("--rate=%1").arg(kRecordRate), QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=20")};
}

}  // namespace

QString SoundServer::start()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (program.isEmpty())
        return QStringLiteral("pulseaudio is not installed");
    if (!runtime_.isValid())
        return QStringLiteral("no temporary folder");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
    env.insert(QStringLiteral("HOME"), runtime_.path());
    server_.setProcessEnvironment(env);
    server_.setProcessChannelMode(QProcess::MergedChannels);
    // -n: no default configuration; --system=false lets root run a user server.
    server_.start(program, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--system=false"),
                               QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=false"), QStringLiteral("--disallow-exit"),
                               QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=sonivo_test"), QStringLiteral("-L"),
                               QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + controlSocket()});
    if (!server_.waitForStarted(5000))
        return QStringLiteral("pulseaudio does not start");
    if (!eventually([&] { return QFile::exists(controlSocket()) || server_.state() == QProcess::NotRunning; })
        || server_.state() == QProcess::NotRunning)
        return QStringLiteral("pulseaudio ended: ") + QString::fromLocal8Bit(server_.readAll());
    return warmUp();
}

QString SoundServer::warmUp()
{
    const QString control = QStringLiteral("unix:") + controlSocket();
    const QString kept = runtime_.filePath(QStringLiteral("kept.raw"));
    QFile::remove(kept);
    keeper_.setStandardOutputFile(kept);
    keeper_.start(QStringLiteral("parec"), QStringList{QStringLiteral("-s"), control} + recordArguments());
    if (!eventually([&] { return QFileInfo(kept).size() > 0 || keeper_.state() == QProcess::NotRunning; }) || QFileInfo(kept).size() == 0)
        return QStringLiteral("the monitor cannot be recorded");
    QProcess load;
    load.start(QStringLiteral("pactl"), {QStringLiteral("-s"), control, QStringLiteral("load-module"),
                                            QStringLiteral("module-native-protocol-unix"), QStringLiteral("auth-anonymous=1"),
                                            QStringLiteral("socket=") + socket()});
    if (!load.waitForFinished(5000) || load.exitCode() != 0 || !eventually([&] { return QFile::exists(socket()); }))
        return QStringLiteral("pactl cannot open the clients' socket");
    return {};
}

void SoundServer::kill()
{
    server_.kill();
    server_.waitForFinished(5000);
    keeper_.waitForFinished(5000);
    QFile::remove(socket());
    QFile::remove(controlSocket());
}

Recorder::Recorder(const QString& server)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PULSE_SERVER"), server);
    parec_.setProcessEnvironment(env);
    parec_.start(QStringLiteral("parec"), recordArguments());
}

Recorder::~Recorder()
{
    stop();
}

bool Recorder::started()
{
    return parec_.waitForStarted(5000) && parec_.waitForReadyRead(5000);
}

QByteArray Recorder::take(int ms)
{
    parec_.waitForReadyRead(ms);
    return parec_.readAllStandardOutput();
}

QByteArray Recorder::stop()
{
    parec_.terminate();
    parec_.waitForFinished(5000);
    return parec_.readAllStandardOutput();
}

namespace {

// The first and last sample of the audible 20 ms windows; -1, -1 when none is.
std::pair<qsizetype, qsizetype> audibleSamples(const QByteArray& recording)
{
    const auto* samples = reinterpret_cast<const qint16*>(recording.constData());
    const qsizetype count = recording.size() / 2;
    const qsizetype window = kRecordRate / 50;
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype at = 0; at + window <= count; at += window) {
        double energy = 0;
        for (qsizetype i = at; i < at + window; ++i)
            energy += double(samples[i]) * samples[i];
        if (std::sqrt(energy / window) > 2000) {  // the tone fixture's level is about 8,500
            if (first < 0)
                first = at;
            last = at + window;
        }
    }
    return {first, last};
}

}  // namespace

qint64 firstAudibleMs(const QByteArray& recording)
{
    const qsizetype first = audibleSamples(recording).first;
    return first < 0 ? -1 : first * 1000 / kRecordRate;
}

qint64 audibleSpanMs(const QByteArray& recording)
{
    const auto [first, last] = audibleSamples(recording);
    return first < 0 ? -1 : (last - first) * 1000 / kRecordRate;
}

}  // namespace sonivo::test
