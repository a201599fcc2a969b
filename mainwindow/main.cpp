// The Sonivo program: one main window. A later start hands its list to the
// running program and ends once that took it.

#include "dialogs/Translations.h"
#include "mainwindow/Form1.h"
#include "mainwindow/ListHandOff.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QStringList>

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
    QApplication::setDesktopFileName(QStringLiteral("sonivo"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/sonivo/sonivo.png")));
    sonivo::installItalianTranslations();

    // The whole command line is the path of a list file to open.
    const QString commandLine = QApplication::arguments().mid(1).join(QLatin1Char(' '));
    const QString socket = sonivo::ListHandOff::defaultSocket();
    const sonivo::SingleInstance instance;
    if (!instance.isFirst()) {
        if (sonivo::ListHandOff::handOff(socket, commandLine))
            return 0;
        const QString lost = commandLine.isEmpty() ? QString() : QStringLiteral(": la lista %1 non è stata aperta").arg(commandLine);
        std::fprintf(stderr, "Sonivo è già in esecuzione ma non risponde%s.\n", lost.toLocal8Bit().constData());
        return 1;
    }

    sonivo::Form1 window;
    sonivo::ListHandOff handOff;
    QObject::connect(&handOff, &sonivo::ListHandOff::listArrived, &window, &sonivo::Form1::openFromOutside);
    if (!handOff.listen(socket))
        std::fprintf(stderr, "Sonivo: impossibile ricevere le liste aperte più tardi (%s).\n", socket.toLocal8Bit().constData());
    window.start(commandLine);
    window.show();
    return QApplication::exec();
}
