#include "dialogs/frmFolder.h"

#include "catalogue/FolderNarrowing.h"
#include "dialogs/BusyPointer.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace sonivo {

frmFolder::frmFolder(FolderNarrowing& filter, QWidget* parent)
    : QDialog(parent), filter_(filter), Combo1_(new QComboBox(this)), lblCD_(new QLabel(this)),
      Command1_(new QPushButton(QStringLiteral("Seleziona cartella"), this)),
      Command2_(new QPushButton(QStringLiteral("Elimina dalla lista"), this))
{
    setObjectName(QStringLiteral("frmFolder"));
    setWindowTitle(QStringLiteral("Ricerca per cartelle"));

    auto* label1 = new QLabel(QStringLiteral("Seleziona una cartella o CD:"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setBuddy(Combo1_);
    Combo1_->setObjectName(QStringLiteral("Combo1"));
    Combo1_->setAccessibleName(label1->text());
    Combo1_->setEditable(false);
    Combo1_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Combo1_->setMinimumContentsLength(40);
    lblCD_->setObjectName(QStringLiteral("lblCD"));
    lblCD_->setMinimumWidth(1);
    Command1_->setObjectName(QStringLiteral("Command1"));
    Command2_->setObjectName(QStringLiteral("Command2"));
    for (QPushButton* b : {Command1_, Command2_}) {
        b->setAutoDefault(false);
        b->setAccessibleName(b->text());
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1);
    layout->addWidget(Combo1_);
    layout->addWidget(lblCD_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1_);
    buttons->addWidget(Command2_);
    layout->addLayout(buttons);

    connect(&filter_, &FolderNarrowing::choicesChanged, this, &frmFolder::showChoices);
    connect(Combo1_, &QComboBox::activated, this, &frmFolder::choiceClicked);
    connect(Command1_, &QPushButton::clicked, this, [this] { run([this](const FolderChoice& c) { filter_.keepOnly(c); }); });
    connect(Command2_, &QPushButton::clicked, this, [this] { run([this](const FolderChoice& c) { filter_.takeOut(c); }); });

    const BusyPointer busy;
    filter_.refresh();
}

frmFolder::~frmFolder()
{
    filter_.release();
}

void frmFolder::showChoices()
{
    Combo1_->clear();
    for (const FolderChoice& choice : filter_.choices())
        Combo1_->addItem(choice.caption);
    Combo1_->setCurrentIndex(-1);
    showCdName(QString());
    Command1_->setEnabled(false);
    Command2_->setEnabled(false);
}

void frmFolder::choiceClicked(int index)
{
    if (index < 0 || size_t(index) >= filter_.choices().size())
        return;
    showCdName(filter_.choices()[size_t(index)].cdName);
    Command1_->setEnabled(true);
    Command2_->setEnabled(true);
}

void frmFolder::showCdName(const QString& name)
{
    lblCD_->setText(name);
    lblCD_->setAccessibleName(name.isEmpty() ? QStringLiteral("Nessun CD") : name);
}

template <typename Command> void frmFolder::run(Command command)
{
    const int index = Combo1_->currentIndex();
    if (index < 0 || size_t(index) >= filter_.choices().size())
        return;
    const FolderChoice chosen = filter_.choices()[size_t(index)];  // the choices are built again meanwhile
    if (chosen.wholeList) {
        command(chosen);  // the list's loading shows its own busy pointer, and a message box none
        return;
    }
    const BusyPointer busy;
    command(chosen);
}

}  // namespace sonivo
