#include "tests/support/MediaFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <thread>

namespace sonivo::test {

QString fixture(const char* name)
{
    return QStringLiteral(SONIVO_FIXTURES "/playback/") + QLatin1String(name);
}

SongRecord toneRow(const QString& fullName, const char* copyOf)
{
    const QFileInfo file(fullName);
    QDir().mkpath(file.path());
    if (copyOf)
        QFile::copy(fixture(copyOf), fullName);
    SongRecord r;
    r.setColumn(ColFileName, file.fileName());
    r.setColumn(ColFolder, file.path() + QLatin1Char('/'));
    r.setColumn(ColBitRate, QStringLiteral("24"));
    r.setColumn(ColDuration, QStringLiteral("00.03"));
    return r;
}

bool eventually(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);  // a guard against hanging, generous for a loaded machine
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

QString SilentPlayback::status(const char* item)
{
    return media.send(QStringLiteral("status ") + alias + QLatin1Char(' ') + QLatin1String(item)).text;
}

bool SilentPlayback::playFor(qint64 ms)
{
    const qint64 target = status("position").toLongLong() + ms;
    clock->advanceMs(ms);
    return eventually([&] { return status("position").toLongLong() >= target; });
}

}  // namespace sonivo::test
