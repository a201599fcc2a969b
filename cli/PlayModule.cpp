#include "cli/PlayModule.h"

#include "cli/Output.h"

#include <QFileInfo>
#include <dlfcn.h>

namespace sonivo::cli {
namespace {

QString moduleFile()
{
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return QFileInfo(program).absolutePath() + QStringLiteral("/sonivo-cli-play.so");
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
