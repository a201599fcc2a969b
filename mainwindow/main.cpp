// The Sonivo program: one main window; a second start ends at once.

#include "dialogs/Translations.h"
#include "mainwindow/Form1.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QStringList>

#include <csignal>

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

    const sonivo::SingleInstance instance;
    if (!instance.isFirst())
        return 0;

    // The whole command line is the path of a list file to open.
    const QString commandLine = QApplication::arguments().mid(1).join(QLatin1Char(' '));
    sonivo::Form1 window;
    window.start(commandLine);
    window.show();
    return QApplication::exec();
}
