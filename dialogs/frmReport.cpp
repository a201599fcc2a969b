#include "dialogs/frmReport.h"

#include "dialogs/Twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace sonivo {
namespace {

// Where each control goes, in twips: left, top, width and height in the dialog or
// in the frame holding the control.
constexpr int kClientWidth = 4425;
constexpr int kClientHeight = 3345;
constexpr QRect kFrame1(240, 90, 3930, 885);
constexpr QRect kOption1(210, 360, 1680, 300);
constexpr QRect kOption2(1980, 360, 1890, 300);
constexpr QRect kFrame2(240, 1020, 3930, 825);
constexpr QRect kCheck1(195, 345, 1380, 210);
constexpr QRect kCheck2(2010, 345, 1245, 270);
constexpr QRect kFrame3(240, 1875, 3945, 810);
constexpr QRect kOption3(195, 360, 1185, 285);
constexpr QRect kOption4(2025, 360, 1185, 270);
constexpr QRect kCommand1(225, 2790, 1800, 400);
constexpr QRect kCommand2(2355, 2790, 1800, 400);
// A shortened dialog is as tall as its buttons' top plus this, title bar and
// borders included; the client area is that less the title bar's share, which
// leaves below the buttons the room the full dialog leaves.
constexpr int kShortenedHeight = 850;
constexpr int kTitleBar = kShortenedHeight - (kClientHeight - kCommand1.top());

QString captionOf(ReportKind kind)
{
    switch (kind) {
    case ReportKind::TextList: return QStringLiteral("Stampa lista brani");
    case ReportKind::HtmlPage: return QStringLiteral("Crea HTML lista brani");
    case ReportKind::Playlist: break;
    }
    return QStringLiteral("Crea playlist brani");
}

QString actionOf(ReportKind kind)
{
    switch (kind) {
    case ReportKind::TextList: return QStringLiteral("&Stampa");
    case ReportKind::HtmlPage: return QStringLiteral("Crea &HTML");
    case ReportKind::Playlist: break;
    }
    return QStringLiteral("Crea &Playlist");
}

template <typename W> W* named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

frmReport::frmReport(ReportKind kind, const Catalogue& catalogue, const QString& list, const std::vector<RowId>& queue, const QString& folder,
    DesktopDialogs& dialogs,
    QWidget* parent, const QLocale& locale)
    : QDialog(parent), kind_(kind), catalogue_(catalogue), list_(list), queue_(queue), folder_(folder), dialogs_(dialogs), locale_(locale)
{
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(captionOf(kind));
    frame1_ = named(new QGroupBox(QStringLiteral("Selezione brani:"), this), "Frame1");
    option1_ = named(new QRadioButton(QStringLiteral("Tutti i brani in lista"), frame1_), "Option1");
    option2_ = named(new QRadioButton(QStringLiteral("Solo brani selezionati"), frame1_), "Option2");
    frame2_ = named(new QGroupBox(QStringLiteral("Altre dati aggiuntivi:"), this), "Frame2");
    check1_ = named(new QCheckBox(QStringLiteral("Durata brano"), frame2_), "Check1");
    check2_ = named(new QCheckBox(QStringLiteral("Grandezza"), frame2_), "Check2");
    frame3_ = named(new QGroupBox(QStringLiteral("Invia a:"), this), "Frame3");
    option3_ = named(new QRadioButton(QStringLiteral("Stampante"), frame3_), "Option3");
    option4_ = named(new QRadioButton(QStringLiteral("File di testo"), frame3_), "Option4");
    command1_ = named(new QPushButton(actionOf(kind), this), "Command1");
    command2_ = named(new QPushButton(QStringLiteral("&Chiudi"), this), "Command2");

    option1_->setChecked(true);
    option3_->setChecked(true);
    // The queued songs can be chosen only when there are some.
    option2_->setEnabled(!queue_.empty());
    frame2_->setVisible(kind == ReportKind::TextList || kind == ReportKind::HtmlPage);
    frame3_->setVisible(kind == ReportKind::TextList);
    layOut(kind);

    connect(command1_, &QPushButton::clicked, this, &frmReport::runChosen);
    connect(command2_, &QPushButton::clicked, this, &QDialog::reject);
}

ReportChoice frmReport::choice() const
{
    ReportChoice c;
    c.kind = kind_;
    c.queueOnly = option2_->isChecked();
    c.options.withDuration = check1_->isChecked();
    c.options.withSize = check2_->isChecked();
    c.toPrinter = option3_->isChecked();
    return c;
}

void frmReport::runChosen()
{
    written_ = runReport(choice(), catalogue_, list_, queue_, folder_, dialogs_, locale_);
    accept();
}

void frmReport::layOut(ReportKind kind)
{
    const std::pair<QWidget*, QRect> controls[] = {{option1_, kOption1}, {option2_, kOption2}, {check1_, kCheck1}, {check2_, kCheck2},
        {option3_, kOption3}, {option4_, kOption4}, {command1_, kCommand1}, {command2_, kCommand2}};
    const std::pair<QWidget*, QRect> frames[] = {{frame1_, kFrame1}, {frame2_, kFrame2}, {frame3_, kFrame3}};
    const double twipsPerPx = twipsPerPixel(logicalDpiX());
    // Every caption whole: the twips scaled up until the widest one fits, and a
    // control lower than its font needs made taller about its middle.
    double scale = 1;
    for (const auto& [control, twips] : controls)
        scale = std::max(scale, control->sizeHint().width() * twipsPerPx / twips.width());
    const auto px = [&](int twips) { return int(std::lround(twips * scale / twipsPerPx)); };
    const auto place = [&](QWidget* w, const QRect& r, int minHeight) {
        const int plannedHeight = px(r.height());
        const int height = std::max(plannedHeight, minHeight);
        w->setGeometry(px(r.left()), px(r.top()) - (height - plannedHeight) / 2, px(r.width()), height);
    };
    for (const auto& [frame, twips] : frames)
        place(frame, twips, 0);
    // The buttons go up under the last frame shown.
    int buttonsTop = kCommand1.top();
    if (kind == ReportKind::HtmlPage)
        buttonsTop = kFrame3.top() + 50;
    else if (kind == ReportKind::Playlist)
        buttonsTop = kFrame2.top() + 50;
    for (const auto& [control, twips] : controls) {
        const bool button = control == command1_ || control == command2_;
        place(control, twips.translated(0, button ? buttonsTop - twips.top() : 0), control->sizeHint().height());
    }
    const int height = kind == ReportKind::TextList ? kClientHeight : buttonsTop + kShortenedHeight - kTitleBar;
    setFixedSize(px(kClientWidth), px(height));
}

}  // namespace sonivo
