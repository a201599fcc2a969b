#pragma once
// The window's status line: the version in panel 1, the song count and size in
// panel 2 (or what the program is busy with; an hourglass while a list loads), the total
// playing time in panel 3. A panel is never narrower than its text: when room
// is short the others give up their width beyond their texts first. A screen
// reader reads each panel as its text.

#include <QtGlobal>
#include <array>

class QLabel;
class QStatusBar;
class QString;

namespace sonivo {

class Catalogue;

class StatusLine {
public:
    explicit StatusLine(QStatusBar* bar);

    QString text(int panel) const;  // panel 1 to 3
    void showStart();
    void showLoading();
    void showScanning(qint64 total);
    // The count, size and time of every row; the hourglass goes.
    void refresh(const Catalogue& catalogue);
    // The widths panels 2 and 3 take when there is room, in pixels; panel 1
    // takes what is left.
    void setWidths(int second, int third);

private:
    class Panel;

    std::array<Panel*, 3> panels_{};
    QLabel* hourglass_;
};

}  // namespace sonivo
