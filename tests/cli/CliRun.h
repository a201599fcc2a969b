#pragma once
// Runs sonivo-cli for a test and takes its status and output.

#include <QProcess>
#include <QStringList>
#include <functional>

namespace sonivo::test {

struct CliRun {
    int status;
    QString out;
    QString err;
};

// Runs the program; prepare runs in the child before it starts. A run that has
// not ended after the wait (a hang) or was killed by a signal has status -1.
inline CliRun cli(const QStringList& args, const std::function<void()>& prepare = {}, int waitMs = 30000)
{
    QProcess p;
    if (prepare)
        p.setChildProcessModifier(prepare);
    p.start(QStringLiteral(SONIVO_CLI), args);
    const bool ended = p.waitForFinished(waitMs);
    if (!ended) {
        p.kill();
        p.waitForFinished();
    }
    return {ended && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
        QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace sonivo::test
