#include "dialogs/frmAbout.h"

#include "dialogs/ShadowTitle.h"
#include "dialogs/Website.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace sonivo {

frmAbout::frmAbout(const QString& version, DesktopDialogs& dialogs, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Informazioni su Sonivo"));
    const QIcon icon = parent ? parent->window()->windowIcon() : QApplication::windowIcon();
    setWindowIcon(icon);

    auto* layout = new QGridLayout(this);
    auto* image1 = new QLabel(this);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setPixmap(icon.pixmap(48, 48));
    image1->setAccessibleName(QStringLiteral("Icona di Sonivo"));
    layout->addWidget(image1, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(new ShadowTitle(Qt::red, Qt::white, this), 0, 1);
    auto* purpose = new QLabel(QStringLiteral("Programma per la gestione dei file MP3"), this);
    layout->addWidget(purpose, 1, 1);
    auto* versionLabel = new QLabel(version, this);
    versionLabel->setObjectName(QStringLiteral("lblVersion"));
    layout->addWidget(versionLabel, 2, 1);

    auto* image3 = new QToolButton(this);
    image3->setObjectName(QStringLiteral("Image3"));
    image3->setIcon(QIcon::fromTheme(QStringLiteral("internet-web-browser"), style()->standardIcon(QStyle::SP_DriveNetIcon)));
    image3->setIconSize(QSize(32, 32));
    image3->setAutoRaise(true);
    image3->setToolTip(QStringLiteral("Sito Sonivo"));
    image3->setAccessibleName(image3->toolTip());
    connect(image3, &QToolButton::clicked, this, [&dialogs] { openWebsite(dialogs); });
    layout->addWidget(image3, 3, 0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Chiudi"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons, 3, 1);
}

}  // namespace sonivo
