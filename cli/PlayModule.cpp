#include "cli/PlayModule.h"

#include "cli/Output.h"

#include <QDir>
#include <QFileInfo>
#include <dlfcn.h>

namespace sonivo::cli {
namespace {

// The module beside the program (the build tree), else in the private folder
// the install puts it in, reached from the program's own folder so that any
// install prefix works.
QString moduleFile()
{
    const QString name = QStringLiteral("sonivo-cli-play.so");
    const QDir programFolder = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absoluteDir();
    const QString beside = programFolder.filePath(name);
    if (QFileInfo::exists(beside))
        return beside;
    return QDir::cleanPath(programFolder.filePath(QStringLiteral(SONIVO_MODULE_FOLDER_FROM_PROGRAM "/") + name));
}

}  // namespace

int runPlayModule(const QStringList& args)
{
    const QString file = moduleFile();
    void* module = dlopen(QFile::encodeName(file).constData(), RTLD_NOW | RTLD_LOCAL);
    using PlayCommand = int (*)(const QStringList*);
    const auto play = module ? reinterpret_cast<PlayCommand>(dlsym(module, "sonivoPlayCommand")) : nullptr;
    if (!play) {
        printError(QStringLiteral("impossibile caricare il lettore (%1)").arg(QString::fromLocal8Bit(dlerror())));
        return 1;
    }
    return play(&args);  // the module stays loaded: its threads may outlive the call
}

}  // namespace sonivo::cli
