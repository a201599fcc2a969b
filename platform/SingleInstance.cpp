#include "platform/SingleInstance.h"

#include "common/ErrorText.h"
#include "common/NativePath.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace sonivo {
namespace {

QString ownerText(const struct stat& st)
{
    return st.st_uid == ::geteuid() ? QString() : QStringLiteral("appartiene a un altro utente");
}

// Why the folder is no folder of the user's that only the user may enter, "" when it is.
QString whyNotPrivate(const QString& folder)
{
    struct stat st {};
    if (::lstat(toNativePath(folder).constData(), &st) != 0)
        return errorText(errno);
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("è un collegamento");
    if (!S_ISDIR(st.st_mode))
        return QStringLiteral("non è una cartella");
    if (const QString owner = ownerText(st); !owner.isEmpty())
        return owner;
    if ((st.st_mode & 0777) != 0700)
        return QStringLiteral("i suoi permessi non sono 0700");
    return {};
}

}  // namespace

SingleInstance::SingleInstance()
{
    folder_ = privateFolder(fromNativePath(qgetenv("XDG_RUNTIME_DIR")), QDir::tempPath(), &error_);
    if (error_.isEmpty())
        take(folder_ + QStringLiteral("/sonivo.lock"));
}

SingleInstance::SingleInstance(const QString& lockFile) : folder_(QFileInfo(lockFile).absolutePath())
{
    take(lockFile);
}

void SingleInstance::take(const QString& lockFile)
{
    error_ = unfitFile(lockFile, FileKind::Regular);
    if (!error_.isEmpty())
        return;
    lock_ = std::make_unique<QLockFile>(lockFile);
    first_ = lock_->tryLock(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::privateFolder(const QString& runtimeDir, const QString& tempDir, QString* error)
{
    if (!runtimeDir.isEmpty() && whyNotPrivate(runtimeDir).isEmpty())
        return runtimeDir;
    const QString own = tempDir + QStringLiteral("/sonivo-") + QString::number(::geteuid());
    QString why;
    if (::mkdir(toNativePath(own).constData(), 0700) != 0 && errno != EEXIST)
        why = errorText(errno);
    else
        why = whyNotPrivate(own);
    if (why.isEmpty())
        return own;
    *error = QStringLiteral("la cartella ") + own + QStringLiteral(" non è usata: ") + why;
    return {};
}

QString unfitFile(const QString& path, FileKind kind)
{
    struct stat st {};
    if (::lstat(toNativePath(path).constData(), &st) != 0)
        return {};
    const bool fits = kind == FileKind::Socket ? S_ISSOCK(st.st_mode) : S_ISREG(st.st_mode);
    QString why = fits ? ownerText(st) : QStringLiteral("non è un file del tipo atteso");
    return why.isEmpty() ? why : path + QStringLiteral(" non è usato: ") + why;
}

}  // namespace sonivo
