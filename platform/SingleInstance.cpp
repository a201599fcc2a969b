#include "platform/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace sonivo {

SingleInstance::SingleInstance(const QString& lockFile) : lock_(std::make_unique<QLockFile>(lockFile))
{
    QDir().mkpath(QFileInfo(lockFile).absolutePath());
    first_ = lock_->tryLock(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultLockFile()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/sonivo.lock");
}

}  // namespace sonivo
