#include "tests/support/FolderSnapshot.h"

#include "tests/support/TempFiles.h"

#include <QDirIterator>
#include <QFileInfo>

#include <sys/stat.h>

namespace sonivo::test {

FolderSnapshot snapshot(const QString& folder)
{
    FolderSnapshot entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat st {};
        ::lstat(QFile::encodeName(path).constData(), &st);
        FolderEntry e;
        e.mode = st.st_mode & 07777;
        if (S_ISLNK(st.st_mode)) {
            e.kind = QStringLiteral("link");
            e.content = QFile::encodeName(QFileInfo(path).symLinkTarget());
        } else if (S_ISDIR(st.st_mode)) {
            e.kind = QStringLiteral("folder");
        } else {
            e.kind = QStringLiteral("file");
            e.content = TempFiles::read(path);
        }
        entries[path.mid(folder.size())] = e;
    }
    return entries;
}

QString differences(const FolderSnapshot& before, const FolderSnapshot& after)
{
    QString text;
    for (const auto& [path, entry] : before) {
        const auto found = after.find(path);
        if (found == after.end())
            text += QStringLiteral("gone: ") + path + QLatin1Char('\n');
        else if (!(found->second == entry))
            text += QStringLiteral("changed: ") + path + QLatin1Char('\n');
    }
    for (const auto& [path, entry] : after) {
        if (!before.count(path))
            text += QStringLiteral("new: ") + path + QLatin1Char('\n');
    }
    return text;
}

}  // namespace sonivo::test
