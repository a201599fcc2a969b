#pragma once
// A private X server (Xvfb) for tests that look at the real program as a
// window manager sees it, and the window titles on it.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

namespace sonivo::test {

class XServer {
public:
    // Starts Xvfb; running() is false when Xvfb or xwininfo is not installed or
    // the server did not start.
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool running() const { return !display_.isEmpty(); }
    // The environment with DISPLAY set to this server and Qt on X.
    QProcessEnvironment environment(QProcessEnvironment base) const;
    // Waits up to 20 s for a window of that exact title; the titles seen last.
    bool waitForTitle(const QString& title, QString* seen = nullptr) const;

private:
    QProcess server_;
    QString display_;
    QString xwininfo_;
};

}  // namespace sonivo::test
