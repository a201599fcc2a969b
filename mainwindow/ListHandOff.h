#pragma once
// A list opened while Sonivo already runs goes to the running program: the
// first program listens on a socket in the user's runtime folder; a later
// start sends it the list's path (or nothing, only to bring its window up) and
// ends once the running program has confirmed it.

#include <QObject>
#include <QString>

class QLocalServer;

namespace sonivo {

class ListHandOff final : public QObject {
    Q_OBJECT
public:
    explicit ListHandOff(QObject* parent = nullptr);

    // The running program's side; false when the socket could not be made.
    bool listen(const QString& socket);
    // The later start's side: true once the running program took the path.
    static bool handOff(const QString& socket, const QString& path);
    // $XDG_RUNTIME_DIR/sonivo.socket, beside the single-instance lock.
    static QString defaultSocket();

Q_SIGNALS:
    // A later start handed over this list ("" for none).
    void listArrived(const QString& path);

private:
    void accept();

    QLocalServer* server_;
};

}  // namespace sonivo
