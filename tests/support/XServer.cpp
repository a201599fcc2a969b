#include "tests/support/XServer.h"

#include <QStandardPaths>
#include <QThread>

namespace sonivo::test {

XServer::XServer()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    xwininfo_ = QStandardPaths::findExecutable(QStringLiteral("xwininfo"));
    if (xvfb.isEmpty() || xwininfo_.isEmpty())
        return;
    server_.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (server_.waitForReadyRead(20000))
        display_ = QLatin1Char(':') + QString::fromLatin1(server_.readLine().trimmed());
}

XServer::~XServer()
{
    server_.kill();
    server_.waitForFinished(5000);
}

QProcessEnvironment XServer::environment(QProcessEnvironment base) const
{
    base.insert(QStringLiteral("DISPLAY"), display_);
    base.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return base;
}

bool XServer::waitForTitle(const QString& title, QString* seen) const
{
    const QString quoted = QLatin1Char('"') + title + QLatin1Char('"');
    QString titles;
    for (int attempt = 0; attempt < 200 && !titles.contains(quoted); ++attempt) {
        QProcess info;
        info.setProcessEnvironment(environment(QProcessEnvironment::systemEnvironment()));
        info.start(xwininfo_, {QStringLiteral("-root"), QStringLiteral("-tree")});
        info.waitForFinished(5000);
        titles = QString::fromUtf8(info.readAllStandardOutput());
        if (!titles.contains(quoted))
            QThread::msleep(100);
    }
    if (seen)
        *seen = titles;
    return titles.contains(quoted);
}

}  // namespace sonivo::test
