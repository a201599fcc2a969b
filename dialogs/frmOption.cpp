#include "dialogs/frmOption.h"

#include "common/DesktopDialogs.h"
#include "dialogs/ShadowTitle.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace sonivo {
namespace {

// A question mark in a disc, for desktops whose icon theme has no help picture
// (the style's own is a life buoy, which few read as help).
QIcon questionMark(const QPalette& palette)
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette.color(QPalette::Highlight));
    painter.drawEllipse(picture.rect().adjusted(1, 1, -1, -1));
    QFont font;
    font.setBold(true);
    font.setPixelSize(24);
    painter.setFont(font);
    painter.setPen(palette.color(QPalette::HighlightedText));
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("?"));
    return QIcon(picture);
}

}  // namespace


frmOption::frmOption(DesktopIntegration& desktop, DesktopDialogs& dialogs, std::function<void()> openHelp, QWidget* parent)
    : QDialog(parent), desktop_(desktop), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(QStringLiteral("Sonivo - Opzioni"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new ShadowTitle(Qt::gray, Qt::yellow, this), 0, Qt::AlignHCenter);

    const std::pair<DesktopOption, const char*> captions[] = {
        {DesktopOption::Association, "Associa i file con estensione .SVL a Sonivo"},
        {DesktopOption::DesktopLauncher, "Crea un collegamento di Sonivo sul Desktop"},
        {DesktopOption::MenuLauncher, "Crea un collegamento di Sonivo nel menu Applicazioni"},
        {DesktopOption::StartMaximized, "Massimizza dimensioni di Sonivo all'avvio"},
        {DesktopOption::ReadId3v2, "Leggi i tag ID3v2 dei file senza tag ID3v1"},
    };
    const char* names[] = {"chkAssocia", "chkDesktop", "chkQuick", "chkDimension", "chkId3v2"};
    for (size_t i = 0; i < std::size(captions); ++i) {
        const auto [option, caption] = captions[i];
        auto* box = new QCheckBox(QString::fromUtf8(caption), this);
        box->setObjectName(QString::fromLatin1(names[i]));
        connect(box, &QCheckBox::clicked, this, [this, option](bool on) { clicked(option, on); });
        layout->addWidget(box);
        boxes_[option] = box;
    }

    auto* buttons = new QHBoxLayout;
    auto* help = new QToolButton(this);
    help->setObjectName(QStringLiteral("imgHelp"));
    help->setIcon(QIcon::hasThemeIcon(QStringLiteral("help-contents")) ? QIcon::fromTheme(QStringLiteral("help-contents")) : questionMark(palette()));
    help->setToolTip(QStringLiteral("Guida in linea"));
    help->setAccessibleName(help->toolTip());
    help->setAutoRaise(true);
    connect(help, &QToolButton::clicked, this, [this, openHelp] {
        close();
        openHelp();
    });
    auto* close = new QPushButton(QStringLiteral("Chiudi"), this);
    close->setObjectName(QStringLiteral("Command1"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
}

void frmOption::showEvent(QShowEvent* event)
{
    const QString failure = desktop_.refresh();
    showState();
    QDialog::showEvent(event);
    if (!failure.isEmpty())
        dialogs_.warn(failure);
}

void frmOption::showState()
{
    for (const auto& [option, box] : boxes_)
        box->setChecked(desktop_.isOn(option));
}

void frmOption::clicked(DesktopOption option, bool on)
{
    const QString failure = desktop_.set(option, on);
    boxes_.at(option)->setChecked(desktop_.isOn(option));
    if (!failure.isEmpty())
        dialogs_.warn(failure);
}

}  // namespace sonivo
