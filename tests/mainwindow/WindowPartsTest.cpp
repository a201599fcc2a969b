#include "dialogs/Twips.h"
#include "mainwindow/ColumnWidths.h"
#include "mainwindow/FileIcons.h"
#include "mainwindow/ScanProgressFrame.h"
#include "mainwindow/WindowLayout.h"
#include "tests/support/TempFiles.h"
#include "tests/support/XServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

TEST(WindowLayout, RulesAtTheMinimumSizeAndWhenGrown)
{
    // With room enough below, the rules as they stand.
    const WindowLayout l = layoutFor(kMinWindowWidth, kMinWindowHeight, 99999);
    const int frameTop = 7110 - 345 - 1395 - 800;
    EXPECT_EQ(l.playerFrame, QRect(75, frameTop, 3360, 1395));
    EXPECT_EQ(l.playQueue, QRect(3510, frameTop + 100, 10005 - 200 - 3510, 1395));
    EXPECT_EQ(l.catalogueView, QRect(45, 810, 10005 - 200, frameTop - 900));
    EXPECT_EQ(l.statusPanel[0], 10005 - 7200);
    EXPECT_EQ(l.statusPanel[1], 5000);
    EXPECT_EQ(l.statusPanel[2], 2200);

    const WindowLayout big = layoutFor(30000, 20000, 99999);
    EXPECT_EQ(big.catalogueView.width(), 29800);
    EXPECT_EQ(big.playerFrame.bottom() + 1, 20000 - 345 - 800) << "the frame sits above the status bar";
    EXPECT_EQ(big.playQueue.width(), 30000 - 200 - 3510);

    // Smaller than anything sensible: no negative sizes.
    const WindowLayout tiny = layoutFor(100, 100, 0);
    EXPECT_GE(tiny.catalogueView.height(), 0);
    EXPECT_GE(tiny.playQueue.width(), 0);
    EXPECT_GE(tiny.statusPanel[0], 0);
}

TEST(WindowLayout, TheQueueEndsAboveTheStatusLine)
{
    // At the design size the queue would reach 110 twips into a status line
    // starting at 5955; everything above it moves up by that much.
    const WindowLayout l = layoutFor(kMinWindowWidth, kMinWindowHeight, 5955);
    EXPECT_LE(l.playQueue.bottom() + 1, 5955 - 45);
    EXPECT_EQ(l.playQueue.height(), 1395);
    EXPECT_EQ(l.playerFrame.top() + 100, l.playQueue.top());
    EXPECT_EQ(l.catalogueView.bottom() + 1 + 900, l.playerFrame.top() + 810) << "the view keeps its gap to the frame";
}

TEST(WindowLayout, TwipsPerPixel)
{
    EXPECT_EQ(twipsPerPixel(96), 15);
    EXPECT_EQ(twipsPerPixel(120), 12);
    EXPECT_EQ(twipsPerPixel(192), 8);
    EXPECT_EQ(twipsPerPixel(0), 15);
    EXPECT_EQ(10005 / twipsPerPixel(96), 667);
    EXPECT_EQ(7110 / twipsPerPixel(96), 474);
}

TEST(FileIcons, KeysAndSharedImages)
{
    EXPECT_EQ(iconKey(QStringLiteral("/m/Song.MP3"), false), QStringLiteral(".mp3"));
    EXPECT_EQ(iconKey(QStringLiteral("/m/noext"), false), QStringLiteral("/m/noext"));
    EXPECT_EQ(iconKey(QStringLiteral("/m/Setup.EXE"), false), QStringLiteral("/m/setup.exe"));
    EXPECT_EQ(iconKey(QStringLiteral("/m/a.lnk"), false), QStringLiteral("/m/a.lnk"));
    EXPECT_EQ(iconKey(QStringLiteral("/m/album.2001"), true), QStringLiteral(".folder"));

    Catalogue c;
    for (const char* name : {"a.mp3", "b.MP3", "c.wav"}) {
        SongRecord r;
        r.setColumn(ColFileName, QString::fromLatin1(name));
        r.setColumn(ColFolder, QStringLiteral("/nonexistent/"));
        c.append(r);
    }
    FileIcons icons;
    EXPECT_EQ(icons.refreshIcons(c), 3);
    EXPECT_EQ(icons.images().size(), 2u);
    EXPECT_EQ(c.icon(0), c.icon(1));
    EXPECT_NE(c.icon(0), c.icon(2));
    EXPECT_EQ(icons.refreshIcons(c), 0) << "rows that have an icon get no new image";
    EXPECT_EQ(icons.images().size(), 2u);
}

TEST(ColumnWidths, TheWidestTextIsAmongTheLongest)
{
    Catalogue c;
    const QFontMetrics metrics{QFont()};
    for (int i = 0; i < 500; ++i) {
        SongRecord r;
        r.setColumn(ColTitle, QString(i % 7 + 1, QLatin1Char('i')));
        c.append(r);
    }
    SongRecord wide;
    wide.setColumn(ColTitle, QStringLiteral("WWWWWWWWWW"));
    c.append(wide);
    EXPECT_EQ(widestRows(c, metrics)[ColTitle], 500);
    EXPECT_EQ(widestRows(c, metrics, 1)[ColTitle], 500) << "the longest by length is also the widest";
    EXPECT_EQ(widestRows(Catalogue(), metrics)[ColTitle], -1);
}

TEST(ScanProgressFrame, CountAndPercentage)
{
    ScanProgressFrame frame;
    frame.showProgress(3, 2);
    EXPECT_EQ(frame.foundText(), QStringLiteral("Totale brani individuati: 3"));
    EXPECT_EQ(frame.levelText(), QStringLiteral("67%"));
    frame.showProgress(0, 0);
    EXPECT_EQ(frame.levelText(), QStringLiteral("0%"));
}

TEST(WindowTitle, TheWindowManagerIsGivenExactlyTheListPath)
{
    // The real program on a real X server: the title X receives, not only the
    // one the window holds.
    const XServer x;
    if (!x.running())
        GTEST_SKIP() << "Xvfb and xwininfo are needed (packages xvfb, x11-utils)";

    TempFiles files;
    for (const char* folder : {"run", "config", "data"})
        ASSERT_TRUE(QDir().mkpath(files.path(QString::fromLatin1(folder))));
    QFile::setPermissions(files.path(QStringLiteral("run")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString list = files.write(QStringLiteral("my list.svl"), QByteArray());
    QProcessEnvironment env = x.environment(QProcessEnvironment::systemEnvironment());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), files.path(QStringLiteral("run")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), files.path(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), files.path(QStringLiteral("data")));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(SONIVO_PROGRAM), {list});

    // The title is set once the list is read.
    QString titles;
    const bool shown = x.waitForTitle(QStringLiteral("Sonivo - ") + list, &titles);
    program.kill();
    program.waitForFinished(5000);
    EXPECT_TRUE(shown) << titles.toStdString();
    EXPECT_FALSE(titles.contains(QStringLiteral(" — "))) << "nothing appended to the title";
}
