#include "mainwindow/FileIcons.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>

#include <algorithm>
#include <optional>

namespace sonivo {
namespace {

bool hasOwnIcon(const QString& lowerName)
{
    // The patterns "*.scr", "*.exe", ... are each a star and an extension.
    static const QStringList kExtensions = {
        QStringLiteral(".scr"),
        QStringLiteral(".exe"),
        QStringLiteral(".ico"),
        QStringLiteral(".lnk"),
        QStringLiteral(".cpl"),
        QStringLiteral(".msc"),
        QStringLiteral(".desktop"),
    };
    return std::any_of(kExtensions.begin(), kExtensions.end(), [&](const QString& e) { return lowerName.endsWith(e); });
}

// The desktop's icon for a key: the theme icon of its type, else a generic one.
QIcon makeIcon(const QString& key)
{
    static const QFileIconProvider provider;
    if (key == QLatin1String(".folder"))
        return provider.icon(QFileIconProvider::Folder);
    const QMimeDatabase mime;
    const QMimeType type = key.startsWith(QLatin1Char('.')) ? mime.mimeTypeForFile(QStringLiteral("x") + key, QMimeDatabase::MatchExtension)
                                                            : mime.mimeTypeForFile(key);
    const QIcon themed = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    return themed.isNull() ? provider.icon(QFileIconProvider::File) : themed;
}

bool endsWithMp3(QByteArrayView name)
{
    return name.size() >= 4 && QByteArrayView(name.last(4)).compare(".mp3", Qt::CaseInsensitive) == 0;
}

}  // namespace

QString iconKey(const QString& name, bool isFolder)
{
    const QString lower = name.toLower();
    if (hasOwnIcon(lower))
        return lower;
    if (isFolder)
        return QStringLiteral(".folder");
    const qsizetype dot = lower.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? lower : lower.mid(dot);
}

quint32 FileIcons::iconFor(const QString& key)
{
    for (size_t i = 0; i < keys_.size(); ++i) {
        if (keys_[i] == key)
            return quint32(i + 1);
    }
    images_.push_back(makeIcon(key));
    keys_.push_back(key);
    return quint32(images_.size());
}

qsizetype FileIcons::refreshIcons(Catalogue& catalogue)
{
    std::optional<quint32> songIcon;
    return catalogue.assignIcons([&](const SongRecord& row) {
        // Songs, nearly every row, share one key: no path is built for them.
        if (endsWithMp3(row.stored(ColFileName))) {
            if (!songIcon)
                songIcon = iconFor(QStringLiteral(".mp3"));
            return *songIcon;
        }
        const QString name = row.fullName();
        // Songs are files: only a row naming something else needs the file system.
        const bool folder = !name.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive) && QFileInfo(name).isDir();
        return iconFor(iconKey(name, folder));
    });
}

void FileIcons::clear()
{
    images_.clear();
    keys_.clear();
}

}  // namespace sonivo
