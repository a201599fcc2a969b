#include "dialogs/QtDesktopDialogs.h"
#include "dialogs/Translations.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTranslator>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace sonivo;

namespace {

// The window a message box was raised over, once it is closed.
QWidget* boxParent(QtDesktopDialogs& dialogs)
{
    QWidget* parent = nullptr;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            parent = box->parentWidget();
            box->reject();
        }
    });
    dialogs.inform(QStringLiteral("Fatto."));
    return parent;
}

void activate(QWidget& window)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

}  // namespace

TEST(QtDesktopDialogsTest, ABoxReturnsToTheProgramsWindowItWasRaisedFrom)
{
    QWidget main;
    QtDesktopDialogs dialogs(&main);
    activate(main);
    EXPECT_EQ(boxParent(dialogs), &main);

    QWidget editor(&main, Qt::Window);  // as the tag editor is
    activate(editor);
    EXPECT_EQ(boxParent(dialogs), &editor) << "closing the box brings back the editor, not the main window";

    QWidget stranger;  // a window that is not the program's main window's
    activate(stranger);
    EXPECT_EQ(boxParent(dialogs), &main);
}

TEST(QtDesktopDialogsTest, AFileNoProgramTookIsReportedAsNotOpened)
{
    // xdg-open stands in for the desktop: its exit status says whether a program took the file.
    const QTemporaryDir bin;
    ASSERT_TRUE(bin.isValid());
    const QString opener = bin.filePath(QStringLiteral("xdg-open"));
    const auto writeOpener = [&](const char* script) {
        QFile f(opener);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(script);
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit() + ':' + path);
    QWidget main;
    QtDesktopDialogs dialogs(&main);

    writeOpener("#!/bin/sh\necho \"$1\" > \"$(dirname \"$0\")/asked\"\nexit 0\n");
    EXPECT_TRUE(dialogs.openWithDesktop(QStringLiteral("/music/a b.mp3")));
    QFile asked(bin.filePath(QStringLiteral("asked")));
    ASSERT_TRUE(asked.open(QIODevice::ReadOnly));
    EXPECT_EQ(asked.readAll(), "/music/a b.mp3\n");

    writeOpener("#!/bin/sh\nexit 4\n");  // "no method available for opening"
    EXPECT_FALSE(dialogs.openWithDesktop(QStringLiteral("/music/a.mp3")));
    qputenv("PATH", path);
}

TEST(QtDesktopDialogsTest, TheFileDialogNamesAFolderInItalian)
{
    if (!installItalianTranslations())
        GTEST_SKIP() << "Qt's Italian translations are not installed";
    const QString type = QAbstractFileIconProvider().type(QFileInfo(QDir::tempPath()));
    const QString yes = QCoreApplication::translate("QPlatformTheme", "&Yes");
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    EXPECT_EQ(type, QStringLiteral("Cartella"));
    EXPECT_EQ(yes, QStringLiteral("&Sì")) << "Qt's own catalogue is there too";
}

TEST(QtDesktopDialogsTest, LongWorkShowsItsProgressOverTheWindowWithAnnulla)
{
    QWidget main;
    QtDesktopDialogs dialogs(&main);
    std::unique_ptr<WorkProgress> progress = dialogs.showProgress(QStringLiteral("Stampa della lista brani in corso..."));
    auto* shown = main.findChild<QProgressDialog*>();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->windowTitle(), QStringLiteral("Sonivo"));
    EXPECT_EQ(shown->windowModality(), Qt::WindowModal);
    EXPECT_EQ(shown->findChild<QLabel*>(QStringLiteral("progressText"))->text(), QStringLiteral("Stampa della lista brani in corso..."));
    EXPECT_EQ(shown->findChild<QProgressBar*>(QStringLiteral("progressBar"))->accessibleName(), QStringLiteral("Avanzamento"));
    auto* cancel = shown->findChild<QPushButton*>(QStringLiteral("progressCancel"));
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QStringLiteral("Annulla"));

    EXPECT_TRUE(progress->step(250, 1000));
    EXPECT_EQ(shown->value(), 250);
    cancel->click();
    EXPECT_FALSE(progress->step(300, 1000)) << "the work is told to stop";
    progress.reset();
    EXPECT_EQ(main.findChild<QProgressDialog*>(), nullptr) << "gone with the work";
}
