#include "mainwindow/WindowLayout.h"

#include <algorithm>

namespace sonivo {
namespace {

// Design positions that the rules keep.
constexpr int kViewLeft = 45;
constexpr int kViewTop = 810;
constexpr int kFrameLeft = 75;
constexpr int kFrameWidth = 3360;
constexpr int kQueueLeft = 3510;
constexpr int kBottomGap = 45;  // between the queue and the status line

}  // namespace

WindowLayout layoutFor(int w, int h, int clientBottom)
{
    WindowLayout l;
    int frameTop = h - kStatusBarHeight - kFrameHeight - 800;
    // The queue sits 100 below the frame's top and is as high as the frame: it
    // ends above the status line however high the status line really is.
    frameTop -= std::max(0, frameTop + 100 + kFrameHeight - (clientBottom - kBottomGap));
    l.playerFrame = QRect(kFrameLeft, frameTop, kFrameWidth, kFrameHeight);
    l.playQueue = QRect(kQueueLeft, frameTop + 100, std::max(0, w - 200 - kQueueLeft), kFrameHeight);
    l.catalogueView = QRect(kViewLeft, kViewTop, std::max(0, w - 200), std::max(0, frameTop - 900));
    l.statusPanel[0] = std::max(0, w - 7200);
    l.statusPanel[1] = 5000;
    l.statusPanel[2] = 2200;
    return l;
}

QSize firstWindowSize(QSize available, QSize minimum)
{
    return QSize(available.width() * 3 / 4, available.height() * 4 / 5).expandedTo(minimum);
}

}  // namespace sonivo
