#pragma once
// A list opened while Sonivo already runs goes to the running program: the
// first program listens on a socket beside its single-instance lock; a later
// start sends it the list's path (or nothing, only to bring its window up) and
// ends once the running program has confirmed it. A message is the path's bytes
// as the file system has them and a NUL, which no path holds; the running
// program drops a client that sends more than a path can be, or too slowly.

#include <QObject>
#include <QString>

#include <chrono>

class QLocalServer;
class QLocalSocket;

namespace sonivo {

class ListHandOff final : public QObject {
    Q_OBJECT
public:
    // How long a client may take to send its message.
    static constexpr std::chrono::milliseconds kIdleLimit{10000};

    explicit ListHandOff(std::chrono::milliseconds idleLimit = kIdleLimit, QObject* parent = nullptr);

    // The running program's side; false when the socket could not be made.
    bool listen(const QString& socket);
    // The later start's side: "" once the running program took the path, else
    // why not. A socket that is not the user's is never connected to.
    static QString handOff(const QString& socket, const QString& path);

Q_SIGNALS:
    // A later start handed over this list ("" for none).
    void listArrived(const QString& path);

private:
    void accept();
    void read(QLocalSocket* client);

    QLocalServer* server_;
    std::chrono::milliseconds idleLimit_;
};

}  // namespace sonivo
