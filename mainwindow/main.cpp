// The Sonivo program: one main window. A later start hands its list to the
// running program and ends once that took it.

#include "common/NativePath.h"
#include "dialogs/Translations.h"
#include "mainwindow/Form1.h"
#include "mainwindow/ListHandOff.h"
#include "platform/SingleInstance.h"

#include <QApplication>

#include <csignal>
#include <cstdio>

int main(int argc, char** argv)
{
    // A write beyond the file-size limit fails with EFBIG and is reported, instead
    // of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("sonivo"));
    // No display name: the window manager would append it to every title.
    QApplication::setDesktopFileName(QStringLiteral("org.example.sonivo"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/sonivo/sonivo.png")));
    sonivo::installItalianTranslations();

    // The whole command line is the path of a list file to open, its bytes as
    // given (QApplication took out its own options).
    QByteArray commandLine;
    for (int i = 1; i < argc; ++i)
        commandLine += (i > 1 ? " " : "") + QByteArray(argv[i]);
    const QString list = sonivo::fromNativePath(commandLine);
    const sonivo::SingleInstance instance;
    const QString socket = instance.folder() + QStringLiteral("/sonivo.socket");
    if (!instance.error().isEmpty()) {
        std::fprintf(stderr, "Sonivo: %s. Le liste aperte più tardi apriranno un'altra finestra.\n",
            sonivo::toNativePath(instance.error()).constData());
    } else if (!instance.isFirst()) {
        const QString error = sonivo::ListHandOff::handOff(socket, list);
        if (error.isEmpty())
            return 0;
        const QByteArray lost = list.isEmpty() ? QByteArray() : ": la lista " + commandLine + " non è stata aperta";
        std::fprintf(stderr, "%s%s.\n", sonivo::toNativePath(error).constData(), lost.constData());
        return 1;
    }

    sonivo::Form1 window;
    sonivo::ListHandOff handOff;
    QObject::connect(&handOff, &sonivo::ListHandOff::listArrived, &window, &sonivo::Form1::openFromOutside);
    if (instance.isFirst() && !handOff.listen(socket))
        std::fprintf(stderr, "Sonivo: impossibile ricevere le liste aperte più tardi (%s).\n", sonivo::toNativePath(socket).constData());
    window.start(list);
    window.show();
    return QApplication::exec();
}
