#include "dialogs/Website.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOption.h"
#include "platform/KeyValueStore.h"
#include "tests/support/DesktopHome.h"
#include "tests/support/FolderSnapshot.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TempFiles.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QImage>
#include <QIcon>
#include <QToolButton>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class OptionsTest : public testing::Test, protected DesktopHome {
protected:
    ScriptedDialogs dialogs;
};

TEST_F(OptionsTest, TheDialogShowsItsCaptionsAndNamesEveryControl)
{
    DesktopIntegration desktop(setup);
    frmOption dialog(desktop, dialogs, [] {});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Sonivo - Opzioni"));
    EXPECT_EQ(dialog.box(DesktopOption::Association)->text(), QStringLiteral("Associa i file con estensione .SVL a Sonivo"));
    EXPECT_EQ(dialog.box(DesktopOption::DesktopLauncher)->text(), QStringLiteral("Crea un collegamento di Sonivo sul Desktop"));
    EXPECT_EQ(dialog.box(DesktopOption::MenuLauncher)->text(), QStringLiteral("Crea un collegamento di Sonivo nel menu Applicazioni"));
    EXPECT_EQ(dialog.box(DesktopOption::StartMaximized)->text(), QStringLiteral("Massimizza dimensioni di Sonivo all'avvio"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("Command1"))->text(), QStringLiteral("Chiudi"));
    const auto* help = dialog.findChild<QToolButton*>(QStringLiteral("imgHelp"));
    EXPECT_EQ(help->toolTip(), QStringLiteral("Guida in linea"));
    EXPECT_EQ(help->accessibleName(), QStringLiteral("Guida in linea"));
    if (!QIcon::hasThemeIcon(QStringLiteral("help-contents"))) {
        const QImage lifeBuoy = dialog.style()->standardIcon(QStyle::SP_DialogHelpButton).pixmap(16, 16).toImage();
        EXPECT_NE(help->icon().pixmap(16, 16).toImage(), lifeBuoy) << "the style's help picture, a life buoy, is not read as help";
    }
    const auto* title = dialog.findChild<QLabel*>();
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->accessibleName(), QStringLiteral("SONIVO"));
}

TEST_F(OptionsTest, OpeningPointsTheTickedBoxesAtAMovedProgramAndSaysWhatItCouldNot)
{
    DesktopIntegration installed(setup);
    ASSERT_EQ(installed.set(DesktopOption::Association, true), QString());
    ASSERT_EQ(installed.set(DesktopOption::DesktopLauncher, true), QString());
    const QByteArray oldLauncher = TempFiles::read(installed.desktopLauncherFile());
    setup.program = QStringLiteral("/opt/sonivo/sonivo");
    DesktopIntegration moved(setup);
    const QByteArray desktopFolder = QFile::encodeName(home() + QStringLiteral("/Desktop"));
    PermissionsEnforced enforced;
    ::chmod(desktopFolder.constData(), 0555);

    frmOption dialog(moved, dialogs, [] {});
    dialog.show();
    ::chmod(desktopFolder.constData(), 0755);
    EXPECT_TRUE(TempFiles::read(moved.listOpenerFile()).contains("\nExec=/opt/sonivo/sonivo %f\n"))
        << "the association follows the program";
    EXPECT_EQ(TempFiles::read(moved.desktopLauncherFile()), oldLauncher) << "a launcher that could not be written stays";
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_TRUE(dialogs.notices[0].startsWith(QStringLiteral("warn: Impossibile scrivere il file ") + moved.desktopLauncherFile()))
        << dialogs.notices[0].toStdString();
    EXPECT_TRUE(dialog.box(DesktopOption::Association)->isChecked());
    EXPECT_TRUE(dialog.box(DesktopOption::DesktopLauncher)->isChecked()) << "the launcher found is shown";
    EXPECT_FALSE(dialog.box(DesktopOption::MenuLauncher)->isChecked());
    EXPECT_FALSE(QFileInfo::exists(moved.menuLauncherFile())) << "a clear box stays clear";
    dialog.close();

    // Changed behind the dialog's back: the next opening shows it.
    QFile::remove(moved.desktopLauncherFile());
    dialog.show();
    EXPECT_FALSE(dialog.box(DesktopOption::DesktopLauncher)->isChecked());
    dialog.close();
}

TEST_F(OptionsTest, AClickActsAtOnceAndAFailureIsSaidWithTheRealStateShown)
{
    DesktopIntegration desktop(setup);
    frmOption dialog(desktop, dialogs, [] {});
    dialog.show();
    dialog.box(DesktopOption::StartMaximized)->click();
    EXPECT_EQ(KeyValueStore(setup.registryFile).value(QStringLiteral("Sonivo"), QStringLiteral("Max")), QStringLiteral("1"));
    dialog.box(DesktopOption::StartMaximized)->click();
    EXPECT_FALSE(KeyValueStore(setup.registryFile).keyExists(QStringLiteral("Sonivo")));
    // Reading ID3v2 tags is kept apart: turning the start option off leaves it.
    dialog.box(DesktopOption::ReadId3v2)->click();
    dialog.box(DesktopOption::StartMaximized)->click();
    dialog.box(DesktopOption::StartMaximized)->click();
    EXPECT_TRUE(desktop.isOn(DesktopOption::ReadId3v2));
    EXPECT_EQ(dialog.box(DesktopOption::ReadId3v2)->text(), QStringLiteral("Leggi i tag ID3v2 dei file senza tag ID3v1"));
    dialog.box(DesktopOption::ReadId3v2)->click();
    EXPECT_FALSE(desktop.isOn(DesktopOption::ReadId3v2));

    QDir(home() + QStringLiteral("/Desktop")).removeRecursively();
    dialog.box(DesktopOption::DesktopLauncher)->click();
    EXPECT_FALSE(dialog.box(DesktopOption::DesktopLauncher)->isChecked()) << "the box never shows what is not there";
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_TRUE(dialogs.notices[0].startsWith(QStringLiteral("warn: La cartella del desktop "))) << dialogs.notices[0].toStdString();
    dialog.close();
}

TEST_F(OptionsTest, TheHelpPictureClosesTheDialogAndOpensTheContents)
{
    DesktopIntegration desktop(setup);
    int opened = 0;
    frmOption dialog(desktop, dialogs, [&] { ++opened; });
    dialog.show();
    dialog.findChild<QToolButton*>(QStringLiteral("imgHelp"))->click();
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(About, CaptionTextsAndTheSitePicture)
{
    ScriptedDialogs dialogs;
    frmAbout about(QStringLiteral("Sonivo - Versione 1.3.0"), dialogs);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Informazioni su Sonivo"));
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("SONIVO")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Programma per la gestione dei file MP3")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Sonivo - Versione 1.3.0")));

    auto* site = about.findChild<QToolButton*>(QStringLiteral("Image3"));
    EXPECT_EQ(site->accessibleName(), QStringLiteral("Sito Sonivo"));
    site->click();
    EXPECT_EQ(dialogs.opened, QStringList(QString::fromLatin1(kWebsite)));
    dialogs.desktopOpens = false;
    site->click();
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_TRUE(dialogs.notices[0].contains(QString::fromLatin1(kWebsite))) << "a failure names what could not be opened";
}

}  // namespace
