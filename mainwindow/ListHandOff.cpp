#include "mainwindow/ListHandOff.h"

#include "platform/SingleInstance.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace sonivo {
namespace {

const QByteArray kTaken = "ok\n";
constexpr int kConnectMs = 5000;  // the running program may still be starting
constexpr int kReplyMs = 10000;

}  // namespace

ListHandOff::ListHandOff(QObject* parent) : QObject(parent), server_(new QLocalServer(this))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &ListHandOff::accept);
}

QString ListHandOff::defaultSocket()
{
    return QFileInfo(SingleInstance::defaultLockFile()).absolutePath() + QStringLiteral("/sonivo.socket");
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
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] {
            if (!client->canReadLine())
                return;
            const QString path = QString::fromUtf8(client->readLine()).chopped(1);
            client->write(kTaken);
            client->flush();
            // After the reply, so the later start ends while the save prompt may be asked here.
            QMetaObject::invokeMethod(this, [this, path] { Q_EMIT listArrived(path); }, Qt::QueuedConnection);
        });
    }
}

bool ListHandOff::handOff(const QString& socket, const QString& path)
{
    QString line = path;
    if (!line.isEmpty())
        line = QFileInfo(line).absoluteFilePath();  // the running program has another working folder
    if (line.contains(QLatin1Char('\n')))
        return false;
    QLocalSocket client;
    const QDeadlineTimer deadline(kConnectMs);
    for (client.connectToServer(socket); !client.waitForConnected(200); client.connectToServer(socket)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    client.write(line.toUtf8() + '\n');
    if (!client.waitForBytesWritten(kReplyMs))
        return false;
    QByteArray reply;
    while (!reply.endsWith('\n') && client.waitForReadyRead(kReplyMs))
        reply += client.readAll();
    return reply == kTaken;
}

}  // namespace sonivo
