// sonivo-cli: Sonivo's command-line companion, on the same core as the window.

#include "cli/AnalysisCommands.h"
#include "cli/CatalogueCommands.h"
#include "cli/ExportCommand.h"
#include "cli/Output.h"
#include "cli/PlayModule.h"
#include "common/NativePath.h"

#include <csignal>
#include <map>

namespace {

const char* const kUsage = "uso: sonivo-cli COMANDO ...\n"
                           "  info FILE...                 le proprieta' di ogni file\n"
                           "  tag FILE [--title T] [--artist A] [--album A] [--year Y] [--comment C] [--genre G]\n"
                           "  untag FILE                   toglie il tag ID3v1\n"
                           "  rename FILE PATTERN          rinomina dal tag (%a %t %n %y %g %c %b %f %s %m %x %l %v)\n"
                           "  scan [--recursive] [--id3v2] [--cd-name NOME] CARTELLA [--list FILE.svl]\n"
                           "                               i brani della cartella, o aggiunti alla lista;\n"
                           "                               --id3v2: i campi dal tag ID3v2 dei file senza tag ID3v1\n"
                           "  list FILE.svl                le righe della lista\n"
                           "  export html|text|m3u [--duration] [--size] FILE.svl USCITA\n"
                           "                               la pagina HTML, la lista di testo o la playlist\n"
                           "                               di tutte le righe della lista\n"
                           "  play [--output null|default] FILE...\n"
                           "                               suona i file uno dopo l'altro; per ognuno, alla fine:\n"
                           "                               file, durata e posizione raggiunta in ms";

}  // namespace

int main(int argc, char** argv)
{
    using namespace sonivo;
    // Over the file-size limit a write fails with EFBIG and is reported, instead
    // of the process being killed half-way through it.
    std::signal(SIGXFSZ, SIG_IGN);
    using Command = int (*)(const QStringList&);
    const std::map<QString, Command> commands = {
        {QStringLiteral("info"), cli::infoCommand},
        {QStringLiteral("tag"), cli::tagCommand},
        {QStringLiteral("untag"), cli::untagCommand},
        {QStringLiteral("rename"), cli::renameCommand},
        {QStringLiteral("scan"), cli::scanCommand},
        {QStringLiteral("list"), cli::listCommand},
        {QStringLiteral("export"), cli::exportCommand},
        {QStringLiteral("play"), cli::runPlayModule},
    };
    QStringList args;
    for (int i = 2; i < argc; ++i)
        args << fromNativePath(QByteArray(argv[i]));
    const auto command = argc >= 2 ? commands.find(fromNativePath(QByteArray(argv[1]))) : commands.end();
    if (command == commands.end()) {
        cli::printError(QString::fromUtf8(kUsage));
        return 2;
    }
    cli::bufferOutput();
    const int status = command->second(args);
    return cli::flushOutput() ? status : 1;
}
