#include "mainwindow/ListHandOff.h"

#include "common/NativePath.h"
#include "platform/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <climits>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace sonivo {
namespace {

const QByteArray kTaken = "ok\n";
constexpr int kConnectMs = 5000;  // the running program may still be starting
constexpr int kReplyMs = 10000;
constexpr qsizetype kMaxMessage = PATH_MAX;  // a path's bytes and its NUL

// The running program has another working folder.
QString absolutePath(const QString& path)
{
    if (path.isEmpty() || path.startsWith(QLatin1Char('/')))
        return path;
    const std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), &std::free);
    return folder ? QDir::cleanPath(fromNativePath(QByteArray(folder.get())) + QLatin1Char('/') + path) : path;
}

}  // namespace

ListHandOff::ListHandOff(std::chrono::milliseconds idleLimit, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), idleLimit_(idleLimit)
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &ListHandOff::accept);
}

bool ListHandOff::listen(const QString& socket)
{
    // Whoever holds the lock owns the name: a socket left there by a program that died goes.
    QLocalServer::removeServer(socket);
    return server_->listen(socket);
}

void ListHandOff::accept()
{
    while (QLocalSocket* client = server_->nextPendingConnection()) {
        client->setReadBufferSize(kMaxMessage);
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] { read(client); });
        QTimer::singleShot(idleLimit_, client, [client] {
            client->abort();
            client->deleteLater();
        });
    }
}

void ListHandOff::read(QLocalSocket* client)
{
    const QByteArray received = client->peek(kMaxMessage);
    const qsizetype end = received.indexOf('\0');
    if (end < 0) {
        if (received.size() >= kMaxMessage) {  // longer than any path
            client->abort();
            client->deleteLater();
        }
        return;
    }
    disconnect(client, &QLocalSocket::readyRead, this, nullptr);
    const QString path = fromNativePath(received.left(end));
    client->write(kTaken);
    client->disconnectFromServer();  // once the reply is written
    // After the reply, so the later start ends while the save prompt may be asked here.
    QMetaObject::invokeMethod(this, [this, path] { Q_EMIT listArrived(path); }, Qt::QueuedConnection);
}

QString ListHandOff::handOff(const QString& socket, const QString& path)
{
    QByteArray message = toNativePath(absolutePath(path));
    if (message.size() >= kMaxMessage)
        return QStringLiteral("Il nome della lista è più lungo dei %1 byte di un percorso").arg(kMaxMessage - 1);
    message += '\0';
    const QString noAnswer = QStringLiteral("Sonivo è già in esecuzione ma non risponde");
    QLocalSocket client;
    const QDeadlineTimer deadline(kConnectMs);
    for (;;) {
        if (const QString unfit = unfitFile(socket, FileKind::Socket); !unfit.isEmpty())
            return QStringLiteral("Il socket ") + unfit;
        client.connectToServer(socket);
        if (client.waitForConnected(200))
            break;
        if (deadline.hasExpired())
            return noAnswer;
        QThread::msleep(100);
    }
    client.write(message);
    if (!client.waitForBytesWritten(kReplyMs))
        return noAnswer;
    QByteArray reply;
    while (!reply.endsWith('\n') && client.waitForReadyRead(kReplyMs))
        reply += client.readAll();
    return reply == kTaken ? QString() : noAnswer;
}

}  // namespace sonivo
