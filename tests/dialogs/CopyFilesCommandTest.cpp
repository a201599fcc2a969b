#include "dialogs/CopyFilesCommand.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TempFiles.h"

#include <QApplication>
#include <QDir>
#include <QProgressDialog>

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

TEST(CopyFilesCommand, TheFolderIsAskedAndTheProgressIsTitledWithIt)
{
    TempFiles files;
    QDir().mkpath(files.path(QStringLiteral("dest")));
    const QString one = files.write(QStringLiteral("1.mp3"), "one");
    const QString two = files.write(QStringLiteral("2.mp3"), "two");
    files.write(QStringLiteral("dest/2.mp3"), "old");
    const QString dest = files.path(QStringLiteral("dest/"));
    ScriptedDialogs dialogs;
    dialogs.folders = {dest};
    dialogs.answers = {DesktopDialogs::Answer::No};
    QString progressTitle;
    dialogs.whileAskingYesNo = [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* progress = qobject_cast<QProgressDialog*>(w); progress && progress->isVisible())
                progressTitle = progress->windowTitle();
        }
    };

    EXPECT_EQ(copyFilesToFolder(nullptr, dialogs, {one, two}, QString()), dest);

    EXPECT_EQ(dialogs.asked.value(0), QStringLiteral("Seleziona la crtella di destinazione:"));
    EXPECT_EQ(progressTitle, QStringLiteral("Copia ") + dest);
    EXPECT_EQ(TempFiles::read(dest + QStringLiteral("1.mp3")), "one");
    EXPECT_EQ(TempFiles::read(dest + QStringLiteral("2.mp3")), "old");
    EXPECT_EQ(dialogs.notices, QStringList(QStringLiteral("warn: 1 file copiato in %1.\nQuesti file non sono stati copiati:\n"
                                                          "2.mp3: esiste già e non è stato sostituito")
                                   .arg(dest)))
        << "how many went where, then what was left behind";
}

TEST(CopyFilesCommand, ACancelledFolderOrAnEmptyQueueDoesNothing)
{
    TempFiles files;
    const QString one = files.write(QStringLiteral("1.mp3"), "one");
    ScriptedDialogs dialogs;
    dialogs.folders = {QString()};
    EXPECT_EQ(copyFilesToFolder(nullptr, dialogs, {one}, QString()), QString());
    EXPECT_TRUE(dialogs.notices.isEmpty());
    copyFilesToFolder(nullptr, dialogs, {}, QString());
    EXPECT_TRUE(dialogs.folders.empty() && dialogs.notices.isEmpty()) << "no folder asked for an empty queue";
}

}  // namespace
