#include "mainwindow/ListHandOff.h"
#include "catalogue/ListFile.h"
#include "mainwindow/Command.h"
#include "mainwindow/Form1.h"
#include "platform/DesktopIntegration.h"
#include "platform/SingleInstance.h"
#include "tests/mainwindow/WindowTest.h"
#include "tests/support/DesktopHome.h"
#include "tests/support/ExecLine.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TempFiles.h"
#include "tests/support/XServer.h"

#include "common/NativePath.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <future>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

const QString kProgram = QStringLiteral(SONIVO_PROGRAM);

// A user's folders, a list file of `rows` songs, and the Exec line that the
// association writes for the real program.
class HandOffTest : public WindowTest {
protected:
    void SetUp() override
    {
        QDir().mkpath(runtime());
        QFile::setPermissions(runtime(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        DesktopIntegration desktop(home.setup);
        ASSERT_EQ(desktop.set(DesktopOption::Association, true), QString());
        exec = execValue(desktop.listOpenerFile());
    }

    QString runtime() const { return files.path(QStringLiteral("run")); }

    QString list(const QString& name, int rows)
    {
        Catalogue c;
        for (int i = 0; i < rows; ++i) {
            SongRecord r;
            r.setColumn(ColFileName, QStringLiteral("song %1.mp3").arg(i));
            r.setColumn(ColFolder, QStringLiteral("/music/"));
            c.append(std::move(r));
        }
        const QString path = files.path(name);
        EXPECT_TRUE(SalvaLista(path, c).ok);
        return path;
    }

    // The user's folders in the environment given.
    QProcessEnvironment usersEnvironment(const QProcessEnvironment& base) const
    {
        QProcessEnvironment env = base;
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.home() + QStringLiteral("/.config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.home() + QStringLiteral("/.local/share"));
        return env;
    }

    // Starts the program as the file manager would for the list.
    void open(QProcess& process, const QString& listFile, const QProcessEnvironment& base)
    {
        const QStringList command = execCommand(exec, listFile);
        ASSERT_EQ(command, QStringList({kProgram, listFile})) << exec.toStdString();
        process.setProcessEnvironment(usersEnvironment(base));
        process.start(command[0], command.mid(1));
    }

    // Runs the program with an argument of these very bytes, which QProcess
    // would pass as UTF-8, while this process's window works; its exit code.
    int runWithArgument(const QByteArray& argument)
    {
        QByteArray program = QFile::encodeName(kProgram);
        QByteArray arg = argument;
        std::vector<QByteArray> environment;
        for (const QString& entry : usersEnvironment(offscreen()).toStringList())
            environment.push_back(toNativePath(entry));
        std::vector<char*> argv{program.data(), arg.data(), nullptr};
        std::vector<char*> envp;
        for (QByteArray& entry : environment)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
        pid_t pid = 0;
        if (::posix_spawn(&pid, program.constData(), nullptr, nullptr, argv.data(), envp.data()) != 0)
            return -1;
        int status = 0;
        QElapsedTimer timer;
        timer.start();
        while (::waitpid(pid, &status, WNOHANG) == 0) {
            if (timer.elapsed() > 20000) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                return -1;
            }
            QApplication::processEvents();
            QThread::msleep(10);
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Runs the later start's side in a thread of its own while this process works.
    static QString handOffFromAnotherThread(const QString& socket, const QString& path)
    {
        auto sent = std::async(std::launch::async, [&] { return ListHandOff::handOff(socket, path); });
        while (sent.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
            QApplication::processEvents();
        return sent.get();
    }

    // Lets this process's window work until `done` holds, at most `ms`.
    template <typename Done> static bool workUntil(Done done, int ms)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < ms)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }

    static bool disconnects(QLocalSocket& client)
    {
        return workUntil([&client] { return client.state() == QLocalSocket::UnconnectedState || client.waitForDisconnected(10); }, 10000);
    }

    static QProcessEnvironment offscreen()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }

    DesktopHome home{kProgram};
    QString exec;
};

TEST_F(HandOffTest, AListOpenedWhileSonivoRunsGoesToTheRunningWindowAfterItsSavePrompt)
{
    Form1 window(services());
    window.start(QString());
    window.show();
    window.document().catalogue().append(SongRecord());
    window.document().setModified(true);
    const SingleInstance running(runtime() + QStringLiteral("/sonivo.lock"));
    ASSERT_TRUE(running.isFirst());
    ListHandOff handOff;
    ASSERT_TRUE(handOff.listen(runtime() + QStringLiteral("/sonivo.socket")));
    QObject::connect(&handOff, &ListHandOff::listArrived, &window, &Form1::openFromOutside);
    dialogs.answers = {DesktopDialogs::Answer::No};  // the changes are not saved

    // Not UTF-8, and with a line end in it: a name a file manager may pass, byte for byte.
    const QString songs = list(fromNativePath("Canzoni d'\xe9t\xe9\n1998.svl"), 3);
    EXPECT_EQ(runWithArgument(toNativePath(songs)), 0) << "the second program ends, and says it handed the list over";
    workUntil([&] { return window.document().listPath() == songs; }, 5000);
    EXPECT_EQ(window.document().listPath(), songs);
    EXPECT_EQ(window.document().catalogue().size(), 3);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Sonivo - ") + songs);
    EXPECT_EQ(dialogs.asked, QStringList(QStringLiteral("La lista dei brani è stata modificata.\nVuoi salvare le modifiche?")));
    EXPECT_TRUE(dialogs.notices.isEmpty()) << dialogs.notices.join(QLatin1Char('\n')).toStdString();
}

TEST_F(HandOffTest, AListHandedOverDuringAScanOpensWhenTheScanHasEnded)
{
    Form1 window(services());
    window.start(QString());
    const QString folder = files.path(QStringLiteral("songs/"));
    QDir().mkpath(folder);
    QFile::copy(QStringLiteral(SONIVO_FIXTURES "/cbr128-44k-joint.mp3"), folder + QStringLiteral("a.mp3"));
    const QString songs = list(QStringLiteral("two songs.svl"), 2);
    dialogs.folders = {folder, folder};
    window.command(Command::AddFolder)->trigger();

    // The second scan asks whether to update the folder: the list arrives then.
    bool scanning = false;
    dialogs.whileAskingYesNo = [&] {
        scanning = window.document().isScanning();
        window.openFromOutside(songs);
        EXPECT_TRUE(window.document().listPath().isEmpty()) << "not in the middle of a scan";
    };
    // Update the folder; then, the scan having changed the list, do not save it.
    dialogs.answers = {DesktopDialogs::Answer::Yes, DesktopDialogs::Answer::No};
    window.command(Command::AddFolder)->trigger();
    ASSERT_TRUE(scanning);
    workUntil([&] { return window.document().listPath() == songs; }, 5000);
    EXPECT_EQ(window.document().listPath(), songs);
    EXPECT_EQ(window.document().catalogue().size(), 2);
    EXPECT_EQ(dialogs.asked.last(), QStringLiteral("La lista dei brani è stata modificata.\nVuoi salvare le modifiche?"));
}

TEST_F(HandOffTest, ARunningProgramThatDoesNotAnswerIsSaidAndNotCalledASuccess)
{
    const SingleInstance running(runtime() + QStringLiteral("/sonivo.lock"));
    ASSERT_TRUE(running.isFirst());
    QProcess second;
    open(second, list(QStringLiteral("l.svl"), 1), offscreen());
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_TRUE(QString::fromLocal8Bit(second.readAllStandardError()).contains(QStringLiteral("non è stata aperta")));
}

TEST_F(HandOffTest, TheExecLineStartsSonivoWithTheListAndASecondOneHandsItOver)
{
    const XServer x;
    if (!x.running())
        GTEST_SKIP() << "Xvfb and xwininfo are needed (packages xvfb, x11-utils)";
    const QString first = list(QStringLiteral("first list.svl"), 1);
    const QString second = list(QStringLiteral("second $list.svl"), 2);
    QProcess running;
    open(running, first, x.environment(QProcessEnvironment::systemEnvironment()));
    QString titles;
    EXPECT_TRUE(x.waitForTitle(QStringLiteral("Sonivo - ") + first, &titles)) << titles.toStdString();

    QProcess later;
    open(later, second, x.environment(QProcessEnvironment::systemEnvironment()));
    ASSERT_TRUE(later.waitForFinished(20000));
    EXPECT_EQ(later.exitCode(), 0) << later.readAllStandardError().toStdString();
    EXPECT_TRUE(x.waitForTitle(QStringLiteral("Sonivo - ") + second, &titles)) << titles.toStdString();
    EXPECT_FALSE(running.waitForFinished(100)) << "the first program goes on";
    running.kill();
    running.waitForFinished(5000);
}

TEST_F(HandOffTest, AClientThatSendsMoreThanAPathOrNothingIsDroppedAndTheNextIsServed)
{
    const QString socket = runtime() + QStringLiteral("/sonivo.socket");
    ListHandOff handOff(std::chrono::milliseconds(300));
    ASSERT_TRUE(handOff.listen(socket));
    QStringList arrived;
    QObject::connect(&handOff, &ListHandOff::listArrived, [&](const QString& path) { arrived << path; });

    QLocalSocket flood;
    QLocalSocket silent;
    flood.connectToServer(socket);
    silent.connectToServer(socket);
    ASSERT_TRUE(flood.waitForConnected(5000));
    ASSERT_TRUE(silent.waitForConnected(5000));
    flood.write(QByteArray(1 << 20, 'a'));  // no path ends
    EXPECT_TRUE(disconnects(flood));
    EXPECT_TRUE(disconnects(silent));

    const QString path = QStringLiteral("/music/") + QString(4000, QLatin1Char('x'));
    EXPECT_EQ(handOffFromAnotherThread(socket, path), QString());
    QApplication::processEvents();
    EXPECT_EQ(arrived, QStringList(path));
    EXPECT_EQ(handOffFromAnotherThread(socket, QStringLiteral("/") + QString(4095, QLatin1Char('x'))),
        QStringLiteral("Il nome della lista è più lungo dei 4095 byte di un percorso"));
}

TEST_F(HandOffTest, ASocketOfAnotherUserIsNeverConnectedTo)
{
    const QString socket = runtime() + QStringLiteral("/sonivo.socket");
    QLocalServer other;
    ASSERT_TRUE(other.listen(socket));
    if (::lchown(toNativePath(socket).constData(), 65534, 65534) != 0)
        GTEST_SKIP() << "handing a socket to another user needs root";
    EXPECT_EQ(ListHandOff::handOff(socket, QStringLiteral("/music/list.svl")),
        QStringLiteral("Il socket ") + socket + QStringLiteral(" non è usato: appartiene a un altro utente"));
    EXPECT_FALSE(other.waitForNewConnection(200));
}

}  // namespace
