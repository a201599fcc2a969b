#include "platform/DesktopFolders.h"

#include <QDir>
#include <QFile>

namespace sonivo {
namespace {

// A base directory from its variable; relative values are ignored, as the rules say.
QString baseFolder(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : fallback;
}

// The text between the quotes of a user-dirs.dirs value, its backslash escapes undone.
QString unquoted(QStringView value)
{
    if (value.size() < 2 || !value.startsWith(u'"') || !value.endsWith(u'"'))
        return {};
    QString text;
    for (qsizetype i = 1; i + 1 < value.size(); ++i) {
        if (value[i] == u'\\' && i + 2 < value.size())
            ++i;
        text += value[i];
    }
    return text;
}

}  // namespace

DesktopFolders DesktopFolders::fromEnvironment()
{
    DesktopFolders f;
    f.home = baseFolder("HOME", QDir::homePath());
    f.configHome = baseFolder("XDG_CONFIG_HOME", f.home + QStringLiteral("/.config"));
    f.dataHome = baseFolder("XDG_DATA_HOME", f.home + QStringLiteral("/.local/share"));
    f.desktop = desktopFolder(f.home, f.configHome);
    return f;
}

QString desktopFolder(const QString& home, const QString& configHome)
{
    const QString fallback = home + QStringLiteral("/Desktop");
    QFile file(configHome + QStringLiteral("/user-dirs.dirs"));
    if (!file.open(QIODevice::ReadOnly))
        return fallback;
    QString found;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (!line.startsWith(QLatin1String("XDG_DESKTOP_DIR=")))
            continue;
        const QString path = unquoted(QStringView(line).mid(qsizetype(sizeof("XDG_DESKTOP_DIR=") - 1)));
        if (path == QLatin1String("$HOME") || path.startsWith(QLatin1String("$HOME/")))
            found = home + path.mid(5);
        else if (path.startsWith(QLatin1Char('/')))
            found = path;
    }
    return found.isEmpty() ? fallback : QDir::cleanPath(found);
}

}  // namespace sonivo
