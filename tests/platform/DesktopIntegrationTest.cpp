#include "platform/DesktopEntry.h"
#include "platform/DesktopIntegration.h"
#include "platform/KeyValueStore.h"
#include "tests/support/DesktopHome.h"
#include "tests/support/FolderSnapshot.h"
#include "tests/support/TempFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

constexpr DesktopOption kAllOptions[]
    = {DesktopOption::Association, DesktopOption::DesktopLauncher, DesktopOption::MenuLauncher, DesktopOption::StartMaximized};

const QByteArray kOtherMimeApps
    = "# chosen by the user\n"
      "[Default Applications]\n"
      "text/html=firefox.desktop;\n"
      "# keep this comment\n"
      "audio/mpeg=vlc.desktop;mpv.desktop;\n"
      "\n"
      "[Added Associations]\n"
      "image/png=gimp.desktop;\n";

// The desktop user's home, with the program's own settings and other programs'
// file associations; the caches refreshed are noted.
class DesktopIntegrationTest : public ::testing::Test, protected DesktopHome {
protected:
    DesktopIntegrationTest() : DesktopHome(QStringLiteral("/opt/Sonivo 1.3/bin/sonivo"))
    {
        files.write(QStringLiteral("home/.config/sonivo/sonivo.ini"), "[Opzioni]\nWidth=9000\n");
        files.write(QStringLiteral("home/.config/mimeapps.list"), kOtherMimeApps);
        setup.runTool = [this](const QString& tool, const QStringList& arguments) { ran << tool + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')); };
    }

    QString read(const QString& path) const { return QString::fromUtf8(TempFiles::read(path)); }

    QStringList ran;
};

TEST_F(DesktopIntegrationTest, TickingThenUntickingEveryBoxLeavesTheFoldersAsTheyWereAndReadingTheStateWritesNothing)
{
    const FolderSnapshot before = snapshot(home());
    DesktopIntegration desktop(setup);
    for (DesktopOption option : kAllOptions) {
        EXPECT_FALSE(desktop.isOn(option));
        EXPECT_EQ(desktop.set(option, true), QString());
    }
    const FolderSnapshot on = snapshot(home());
    EXPECT_NE(on, before);
    ran.clear();
    for (DesktopOption option : kAllOptions)
        EXPECT_TRUE(desktop.isOn(option));
    EXPECT_EQ(snapshot(home()), on);
    EXPECT_TRUE(ran.isEmpty()) << "no cache refreshed either";
    for (size_t k = 0; k < std::size(kAllOptions); ++k) {
        EXPECT_EQ(desktop.set(kAllOptions[k], false), QString());
        for (size_t other = 0; other < std::size(kAllOptions); ++other)
            EXPECT_EQ(desktop.isOn(kAllOptions[other]), other > k) << "removing one role leaves the others: " << k << ", " << other;
    }
    const FolderSnapshot after = snapshot(home());
    EXPECT_EQ(after, before) << differences(before, after).toStdString();
}

TEST_F(DesktopIntegrationTest, TheAssociationWritesTheStoreEntriesAndTheFreedesktopOnes)
{
    DesktopIntegration desktop(setup);
    ASSERT_EQ(desktop.set(DesktopOption::Association, true), QString());

    const KeyValueStore store(setup.registryFile);
    EXPECT_EQ(store.value(QStringLiteral(".svl"), {}), QStringLiteral("Sonivo.file"));
    EXPECT_EQ(store.value(QStringLiteral("Sonivo.file"), {}), QStringLiteral("Sonivo file"));
    EXPECT_EQ(store.value(QStringLiteral("Sonivo.file\\shell\\open\\command"), {}), QStringLiteral("/opt/Sonivo 1.3/bin/sonivo %1"));
    EXPECT_EQ(store.value(QStringLiteral("Sonivo.file\\DefaultIcon"), {}), QStringLiteral("/opt/Sonivo 1.3/bin/sonivo,0"));

    const QString xml = read(desktop.mimeInfoFile());
    EXPECT_EQ(desktop.mimeInfoFile(), home() + QStringLiteral("/.local/share/mime/packages/sonivo-list.xml"));
    EXPECT_TRUE(xml.contains(QStringLiteral("<mime-type type=\"application/x-sonivo-list\">")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<glob pattern=\"*.svl\"/>")));

    const QString opener = read(desktop.listOpenerFile());
    EXPECT_TRUE(opener.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(opener.contains(QStringLiteral("\nExec=\"/opt/Sonivo 1.3/bin/sonivo\" %f\n"))) << opener.toStdString();
    EXPECT_TRUE(opener.contains(QStringLiteral("\nMimeType=application/x-sonivo-list;\n")));
    EXPECT_TRUE(opener.contains(QStringLiteral("\nNoDisplay=true\n"))) << "the opener is no second menu entry";

    // Ours first in the default applications; every other line as it was.
    const QString apps = read(desktop.mimeAppsFile());
    QString expected = QString::fromUtf8(kOtherMimeApps);
    expected.replace(QStringLiteral("mpv.desktop;\n"), QStringLiteral("mpv.desktop;\napplication/x-sonivo-list=sonivo-list.desktop;\n"));
    EXPECT_EQ(apps, expected);

    EXPECT_EQ(ran,
        QStringList({QStringLiteral("update-mime-database ") + home() + QStringLiteral("/.local/share/mime"),
            QStringLiteral("update-desktop-database ") + home() + QStringLiteral("/.local/share/applications")}));
}

TEST_F(DesktopIntegrationTest, AnAssociationWithoutAMimeAppsListLeavesNoneBehind)
{
    QFile::remove(home() + QStringLiteral("/.config/mimeapps.list"));
    DesktopIntegration desktop(setup);
    ASSERT_EQ(desktop.set(DesktopOption::Association, true), QString());
    EXPECT_EQ(TempFiles::read(desktop.mimeAppsFile()), "[Default Applications]\napplication/x-sonivo-list=sonivo-list.desktop;\n");
    ASSERT_EQ(desktop.set(DesktopOption::Association, false), QString());
    EXPECT_FALSE(QFileInfo::exists(desktop.mimeAppsFile()));
    EXPECT_FALSE(QFileInfo::exists(home() + QStringLiteral("/.local/share/mime"))) << "folders made for the type alone go too";
}

TEST_F(DesktopIntegrationTest, ALinkedMimeAppsListStaysALinkAndItsFileHoldsTheEntry)
{
    // The user keeps the file with other settings and links it into place.
    QDir().mkpath(files.path(QStringLiteral("dotfiles")));
    const QString kept = files.write(QStringLiteral("dotfiles/mimeapps.list"), QByteArray());
    DesktopIntegration desktop(setup);
    QFile::remove(desktop.mimeAppsFile());
    ASSERT_TRUE(QFile::link(kept, desktop.mimeAppsFile()));
    ASSERT_EQ(desktop.set(DesktopOption::Association, true), QString());
    EXPECT_TRUE(desktop.isOn(DesktopOption::Association));
    EXPECT_EQ(TempFiles::read(kept), "[Default Applications]\napplication/x-sonivo-list=sonivo-list.desktop;\n");
    ASSERT_EQ(desktop.set(DesktopOption::Association, false), QString());
    EXPECT_FALSE(desktop.isOn(DesktopOption::Association));
    EXPECT_TRUE(QFileInfo(desktop.mimeAppsFile()).isSymLink());
    EXPECT_EQ(TempFiles::read(kept), QByteArray());
}

// Each file's inode: a file written again is a new one, even with the same bytes.
std::vector<ino_t> inodes(const QStringList& paths)
{
    std::vector<ino_t> numbers;
    for (const QString& path : paths) {
        struct stat status {};
        numbers.push_back(::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0);
    }
    return numbers;
}

TEST_F(DesktopIntegrationTest, ARefreshWritesAgainOnlyWhatIsOnAndDiffers)
{
    DesktopIntegration installed(setup);
    ASSERT_EQ(installed.set(DesktopOption::Association, true), QString());
    ASSERT_EQ(installed.set(DesktopOption::DesktopLauncher, true), QString());
    const QStringList programFree = {installed.mimeInfoFile(), installed.mimeAppsFile()};
    const QStringList namingTheProgram = {setup.registryFile, installed.listOpenerFile(), installed.desktopLauncherFile()};
    const std::vector<ino_t> programFreeBefore = inodes(programFree);
    const std::vector<ino_t> namingBefore = inodes(namingTheProgram);
    const FolderSnapshot unchanged = snapshot(home());
    ran.clear();

    EXPECT_EQ(installed.refresh(), QString());
    EXPECT_EQ(snapshot(home()), unchanged);
    EXPECT_EQ(inodes(programFree), programFreeBefore) << "an unchanged desktop is not rewritten";
    EXPECT_EQ(inodes(namingTheProgram), namingBefore);
    EXPECT_TRUE(ran.isEmpty()) << "nor its caches";

    setup.program = QStringLiteral("/home/user/Sonivo moved/sonivo");
    DesktopIntegration moved(setup);
    EXPECT_EQ(moved.refresh(), QString());
    EXPECT_EQ(KeyValueStore(setup.registryFile).value(QStringLiteral("Sonivo.file\\shell\\open\\command"), {}),
        QStringLiteral("/home/user/Sonivo moved/sonivo %1"));
    EXPECT_TRUE(read(moved.listOpenerFile()).contains(QStringLiteral("\nExec=\"/home/user/Sonivo moved/sonivo\" %f\n")));
    EXPECT_TRUE(read(moved.desktopLauncherFile()).contains(QStringLiteral("\nExec=\"/home/user/Sonivo moved/sonivo\"\n")));
    EXPECT_TRUE(QFileInfo(moved.desktopLauncherFile()).isExecutable());
    EXPECT_EQ(inodes(programFree), programFreeBefore) << "what does not name the program stays as it was";
    EXPECT_TRUE(moved.isOn(DesktopOption::Association));
    EXPECT_FALSE(moved.isOn(DesktopOption::MenuLauncher)) << "an option that is off stays off";
    EXPECT_FALSE(moved.isOn(DesktopOption::StartMaximized));
    EXPECT_TRUE(ran.contains(QStringLiteral("update-desktop-database ") + home() + QStringLiteral("/.local/share/applications")));
    EXPECT_TRUE(ran.contains(QStringLiteral("gio set ") + moved.desktopLauncherFile() + QStringLiteral(" metadata::trusted true")));
}

TEST_F(DesktopIntegrationTest, APartialAssociationShowsOffAndIsRemovedWhole)
{
    DesktopIntegration desktop(setup);
    ASSERT_EQ(desktop.set(DesktopOption::Association, true), QString());
    // Another program took the type over: the association is no longer ours.
    files.write(QStringLiteral("home/.config/mimeapps.list"), "[Default Applications]\napplication/x-sonivo-list=editor.desktop;\n");
    EXPECT_FALSE(desktop.isOn(DesktopOption::Association));

    ASSERT_EQ(desktop.set(DesktopOption::Association, false), QString());
    EXPECT_FALSE(QFileInfo::exists(desktop.mimeInfoFile()));
    EXPECT_FALSE(QFileInfo::exists(desktop.listOpenerFile()));
    EXPECT_FALSE(KeyValueStore(setup.registryFile).keyExists(QStringLiteral(".svl")));
    EXPECT_FALSE(KeyValueStore(setup.registryFile).keyExists(QStringLiteral("Sonivo.file\\shell\\open\\command")));
    EXPECT_FALSE(QFileInfo::exists(setup.registryFile));
    EXPECT_EQ(TempFiles::read(desktop.mimeAppsFile()), "[Default Applications]\napplication/x-sonivo-list=editor.desktop;\n")
        << "another program's choice stays";
}

TEST_F(DesktopIntegrationTest, LaunchersAreExecutableAtThePathTheyAreLookedForAt)
{
    DesktopIntegration desktop(setup);
    ASSERT_EQ(desktop.set(DesktopOption::DesktopLauncher, true), QString());
    ASSERT_EQ(desktop.set(DesktopOption::MenuLauncher, true), QString());
    EXPECT_EQ(desktop.desktopLauncherFile(), home() + QStringLiteral("/Desktop/Sonivo.desktop"));
    EXPECT_EQ(desktop.menuLauncherFile(), home() + QStringLiteral("/.local/share/applications/sonivo-menu.desktop"));
    for (const QString& file : {desktop.desktopLauncherFile(), desktop.menuLauncherFile()}) {
        EXPECT_TRUE(QFileInfo(file).isExecutable()) << file.toStdString();
        const QString text = read(file);
        EXPECT_TRUE(text.contains(QStringLiteral("\nExec=\"/opt/Sonivo 1.3/bin/sonivo\"\n"))) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("NoDisplay")));
    }
    EXPECT_TRUE(ran.contains(QStringLiteral("gio set ") + desktop.desktopLauncherFile() + QStringLiteral(" metadata::trusted true")));
}

TEST_F(DesktopIntegrationTest, TheDesktopFolderComesFromTheUserDirs)
{
    files.write(QStringLiteral("home/.config/user-dirs.dirs"), "# xdg-user-dirs\nXDG_DESKTOP_DIR=\"$HOME/Scrivania\"\nXDG_MUSIC_DIR=\"$HOME/Musica\"\n");
    EXPECT_EQ(desktopFolder(home(), home() + QStringLiteral("/.config")), home() + QStringLiteral("/Scrivania"));
    files.write(QStringLiteral("home/.config/user-dirs.dirs"), "XDG_DESKTOP_DIR=\"/srv/desk top\"\n");
    EXPECT_EQ(desktopFolder(home(), home() + QStringLiteral("/.config")), QStringLiteral("/srv/desk top"));
    files.write(QStringLiteral("home/.config/user-dirs.dirs"), "XDG_DESKTOP_DIR=\"$HOMEWORK/x\"\n");
    EXPECT_EQ(desktopFolder(home(), home() + QStringLiteral("/.config")), home() + QStringLiteral("/Desktop"));
    QFile::remove(home() + QStringLiteral("/.config/user-dirs.dirs"));
    EXPECT_EQ(desktopFolder(home(), home() + QStringLiteral("/.config")), home() + QStringLiteral("/Desktop"));
}

TEST_F(DesktopIntegrationTest, AMissingDesktopFolderIsSaidAndNothingIsMade)
{
    setup.folders.desktop = home() + QStringLiteral("/Scrivania");
    DesktopIntegration desktop(setup);
    const FolderSnapshot before = snapshot(home());
    const QString message = desktop.set(DesktopOption::DesktopLauncher, true);
    EXPECT_TRUE(message.contains(QStringLiteral("non esiste"))) << message.toStdString();
    EXPECT_FALSE(desktop.isOn(DesktopOption::DesktopLauncher));
    EXPECT_EQ(snapshot(home()), before);
}

TEST_F(DesktopIntegrationTest, AHomeWithoutWritePermissionLeavesNothingHalfWritten)
{
    PermissionsEnforced enforced;
    const QString applications = home() + QStringLiteral("/.local/share/applications");
    ::chmod(QFile::encodeName(applications).constData(), 0555);
    DesktopIntegration desktop(setup);
    const FolderSnapshot before = snapshot(home());

    const QString message = desktop.set(DesktopOption::Association, true);
    EXPECT_TRUE(message.contains(QStringLiteral("permesso negato"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("non è stata fatta")));
    EXPECT_FALSE(desktop.isOn(DesktopOption::Association));
    const FolderSnapshot after = snapshot(home());
    EXPECT_EQ(after, before) << differences(before, after).toStdString();

    EXPECT_FALSE(desktop.set(DesktopOption::MenuLauncher, true).isEmpty());
    EXPECT_FALSE(desktop.isOn(DesktopOption::MenuLauncher));
    ::chmod(QFile::encodeName(home() + QStringLiteral("/.config/sonivo")).constData(), 0555);
    EXPECT_FALSE(desktop.set(DesktopOption::StartMaximized, true).isEmpty());
    EXPECT_FALSE(desktop.isOn(DesktopOption::StartMaximized));
}

TEST_F(DesktopIntegrationTest, AnUnreadableMimeAppsListIsNeverWrittenOver)
{
    PermissionsEnforced enforced;
    ::chmod(QFile::encodeName(home() + QStringLiteral("/.config/mimeapps.list")).constData(), 0200);
    DesktopIntegration desktop(setup);
    EXPECT_TRUE(desktop.set(DesktopOption::Association, true).contains(QStringLiteral("Impossibile leggere")));
    ::chmod(QFile::encodeName(home() + QStringLiteral("/.config/mimeapps.list")).constData(), 0600);
    EXPECT_EQ(TempFiles::read(home() + QStringLiteral("/.config/mimeapps.list")), kOtherMimeApps);
    EXPECT_FALSE(QFileInfo::exists(desktop.mimeInfoFile()));
}

TEST(DesktopEntry, ExecArgumentsAreQuotedAsTheDesktopEntryRulesSay)
{
    EXPECT_EQ(execArgument(QStringLiteral("/usr/bin/sonivo")), QStringLiteral("/usr/bin/sonivo"));
    EXPECT_EQ(execArgument(QStringLiteral("/opt/my apps/sonivo")), QStringLiteral("\"/opt/my apps/sonivo\""));
    // Inside quotes: \" \` \$ \\; then every backslash doubled for the string value.
    EXPECT_EQ(execArgument(QStringLiteral("/a\"b")), QStringLiteral("\"/a\\\\\"b\""));
    EXPECT_EQ(execArgument(QStringLiteral("/a$b`c")), QStringLiteral("\"/a\\\\$b\\\\`c\""));
    EXPECT_EQ(execArgument(QStringLiteral("/a\\b")), QStringLiteral("\"/a\\\\\\\\b\""));
    EXPECT_EQ(execArgument(QStringLiteral("/100%/sonivo")), QStringLiteral("/100%%/sonivo")) << "a field code is never made of a path";
    EXPECT_EQ(execArgument(QStringLiteral("/a'b")), QStringLiteral("\"/a'b\""));
    EXPECT_EQ(execArgument(QStringLiteral("/a\nb")), QString());
    EXPECT_EQ(desktopEntryText({QStringLiteral("/a\nb"), QStringLiteral("sonivo"), true, true}), QByteArray());
}

}  // namespace
