#pragma once
// Where the main window's parts go, in twips (1/1440 inch), from the window's
// outer width and height: the rules that keep the catalogue view, the player
// frame, the play queue and the status panels filling a resized window.

#include <QRect>
#include <QSize>

namespace sonivo {

// Design sizes, in twips.
constexpr int kMinWindowWidth = 10005;
constexpr int kMinWindowHeight = 7110;
constexpr int kToolbarHeight = 810;
constexpr int kStatusBarHeight = 345;
constexpr int kFrameHeight = 1395;

struct WindowLayout {
    QRect catalogueView;  // in the client area, below the menu bar
    QRect playerFrame;
    QRect playQueue;
    int statusPanel[3] = {};  // widths
};

// W and H: the outer size, including frame, title bar and menu bar; clientBottom:
// where the status line begins, counted from the client area's top.
WindowLayout layoutFor(int outerWidth, int outerHeight, int clientBottom);

// The first window's size, in pixels, on a screen with this much room: most of
// it, so that the catalogue shows its columns, and never below the minimum.
QSize firstWindowSize(QSize available, QSize minimum);

}  // namespace sonivo
