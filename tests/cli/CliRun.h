#pragma once
// Runs sonivo-cli for a test and takes its status and output.

#include <QProcess>
#include <QStringList>
#include <functional>
#include <vector>

#include <unistd.h>

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

// Runs the program with arguments given as bytes, which need not be UTF-8,
// from the working folder given as bytes too.
inline CliRun cliBytes(const QByteArray& workingFolder, const QList<QByteArray>& args)
{
    // Everything is made before the fork: the child only changes folder and
    // executes, since allocating in a forked child of a threaded process can
    // deadlock or crash (it does under AddressSanitizer).
    std::vector<QByteArray> owned{QByteArray(SONIVO_CLI)};
    owned.insert(owned.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (QByteArray& a : owned)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const char* folder = workingFolder.constData();
    return cli({}, [&] {
        if (::chdir(folder) == 0)
            ::execv(argv.front(), argv.data());
        ::_exit(127);
    });
}

}  // namespace sonivo::test
