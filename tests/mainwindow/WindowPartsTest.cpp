#include "mainwindow/ColumnWidths.h"
#include "mainwindow/FileIcons.h"
#include "tests/mainwindow/WindowTest.h"

#include <QApplication>

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

using WindowLayoutTest = WindowTest;

// The catalogue, the player's frame and the play queue where the user sees them,
// in the central widget's coordinates.
std::array<QRect, 3> partsOf(const Form1& w)
{
    const QWidget* central = w.centralWidget();
    const auto placed = [central](const QWidget* part) { return QRect(part->mapTo(central, QPoint()), part->size()); };
    return {placed(w.findChild<QWidget*>(QStringLiteral("ListView1"))->parentWidget()), placed(w.findChild<QWidget*>(QStringLiteral("Frame1"))),
        placed(w.findChild<QWidget*>(QStringLiteral("lstPlay")))};
}

void expectApartAndInside(const std::array<QRect, 3>& parts, const QRect& room)
{
    for (size_t i = 0; i < parts.size(); ++i) {
        EXPECT_TRUE(room.contains(parts[i])) << "part " << i << " leaves the window";
        for (size_t j = i + 1; j < parts.size(); ++j)
            EXPECT_FALSE(parts[i].intersects(parts[j])) << "parts " << i << " and " << j << " overlap";
    }
}

}  // namespace

TEST_F(WindowLayoutTest, ThePartsStayApartAndWhatTheWindowGrowsGoesToTheList)
{
    Form1 w(services());
    w.start(QString());
    w.show();
    w.resize(667, 474);  // the design's smallest window
    QApplication::processEvents();
    const std::array<QRect, 3> small = partsOf(w);
    expectApartAndInside(small, w.centralWidget()->rect());

    w.resize(667 + 120, 474 + 100);  // still inside the test screen of 800 x 600
    QApplication::processEvents();
    const std::array<QRect, 3> grown = partsOf(w);
    expectApartAndInside(grown, w.centralWidget()->rect());
    EXPECT_NEAR(grown[0].width() - small[0].width(), 120, 1);
    EXPECT_NEAR(grown[0].height() - small[0].height(), 100, 1);
    EXPECT_EQ(grown[1].size(), small[1].size()) << "the player's frame keeps its size";
    EXPECT_NEAR(grown[2].width() - small[2].width(), 120, 1) << "the queue widens with the window";
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
