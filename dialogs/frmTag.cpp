#include "dialogs/frmTag.h"

#include "analysis/Genres.h"
#include "catalogue/SongInfo.h"
#include "dialogs/FitToLabel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace sonivo {
namespace {

// The panel's value labels by their place, top to bottom, as the program numbers them.
constexpr int kInfoIndex[14] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 14, 15, 10, 11};

QLabel* valueLabel(const QString& objectName, const QString& caption)
{
    auto* label = new QLabel;
    label->setObjectName(objectName);
    label->setAccessibleDescription(caption);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

frmTag::frmTag(ListDocument& document, Transport& transport, DesktopDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), editor_(document, transport, dialogs)
{
    setObjectName(QStringLiteral("frmTag"));
    setWindowTitle(QStringLiteral("MPEG Informazioni e MP3 IDTag"));

    auto* files = new QGridLayout;
    fileNameValue_ = valueLabel(QStringLiteral("lblInfo12"), QStringLiteral("Nome file:"));
    folderValue_ = valueLabel(QStringLiteral("lblInfo13"), QStringLiteral("Cartella:"));
    fileNameValue_->setMinimumWidth(100);
    fileNameValue_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    folderValue_->setWordWrap(true);
    files->addWidget(new QLabel(QStringLiteral("Nome file:")), 0, 0);
    files->addWidget(fileNameValue_, 0, 1);
    files->addWidget(new QLabel(QStringLiteral("Cartella:")), 1, 0);
    files->addWidget(folderValue_, 1, 1);
    files->setColumnStretch(1, 1);

    auto* tag = new QGridLayout;
    tag->setObjectName(QStringLiteral("tagFields"));
    txtTitle_ = addField("txtTitle", 30);
    txtArtist_ = addField("txtArtist", 30);
    txtAlbum_ = addField("txtAlbum", 30);
    txtYear_ = addField("txtYear", 4);
    txtComment_ = addField("txtComment", 30);
    txtYear_->setMaximumWidth(txtYear_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    cboGenra_ = new QComboBox;
    cboGenra_->setObjectName(QStringLiteral("cboGenra"));
    cboGenra_->setEditable(true);
    cboGenra_->setInsertPolicy(QComboBox::NoInsert);
    cboGenra_->addItems(ListaGeneri());
    cboGenra_->setMaxVisibleItems(20);
    const std::pair<QString, QWidget*> rows[] = {
        {QStringLiteral("Titolo:"), txtTitle_},
        {QStringLiteral("Artista:"), txtArtist_},
        {QStringLiteral("Album:"), txtAlbum_},
        {QStringLiteral("Anno:"), txtYear_},
        {QStringLiteral("Commento:"), txtComment_},
        {QStringLiteral("Genere:"), cboGenra_},
    };
    for (int r = 0; r < 6; ++r) {
        auto* caption = new QLabel(rows[r].first);
        caption->setBuddy(rows[r].second);
        tag->addWidget(caption, r, 0);
        tag->addWidget(rows[r].second, r, 1, Qt::AlignLeft);
        rows[r].second->setAccessibleName(rows[r].first.chopped(1));
    }
    cboGenra_->lineEdit()->setAccessibleName(cboGenra_->accessibleName());  // where the genre is typed
    // Which tag the fields came from; the save writes an ID3v1 tag whatever it was.
    tagSource_ = valueLabel(QStringLiteral("lblTagSource"), QStringLiteral("Campi dal tag:"));
    tag->addWidget(new QLabel(QStringLiteral("Campi dal tag:")), 6, 0);
    tag->addWidget(tagSource_, 6, 1);
    for (QWidget* wide : {static_cast<QWidget*>(txtTitle_), static_cast<QWidget*>(txtArtist_), static_cast<QWidget*>(txtAlbum_),
             static_cast<QWidget*>(txtComment_), static_cast<QWidget*>(cboGenra_)})
        wide->setMinimumWidth(wide->fontMetrics().horizontalAdvance(QString(30, QLatin1Char('x'))));
    tag->setColumnStretch(1, 1);
    cmdSave_ = new QPushButton(QStringLiteral("Salva MP3 ID Tag"));
    cmdSave_->setObjectName(QStringLiteral("cmdSave"));

    frame1_ = new QGroupBox(QStringLiteral("MPEG Informazioni"));
    frame1_->setObjectName(QStringLiteral("Frame1"));
    auto* info = new QGridLayout(frame1_);
    info->setVerticalSpacing(2);
    const std::vector<SongInfoLine> captions = songInfo(SongRecord());
    for (int r = 0; r < 14; ++r) {
        lblInfo_[size_t(r)] = valueLabel(QStringLiteral("lblInfo%1").arg(kInfoIndex[r]), captions[size_t(r)].caption);
        info->addWidget(new QLabel(captions[size_t(r)].caption), r, 0);
        info->addWidget(lblInfo_[size_t(r)], r, 1);
    }
    info->setColumnStretch(1, 1);

    auto* left = new QVBoxLayout;
    left->addLayout(tag);
    left->addWidget(cmdSave_);
    left->addWidget(frame1_);
    left->addStretch();

    command1_ = new QPushButton(QStringLiteral("Rimuovi Tag"));
    command1_->setObjectName(QStringLiteral("Command1"));
    command2_ = new QPushButton(QStringLiteral("Rinomina file"));
    command2_->setObjectName(QStringLiteral("Command2"));
    frame2_ = new QGroupBox(QStringLiteral("Nuovo nome"));
    frame2_->setObjectName(QStringLiteral("Frame2"));
    auto* names = new QVBoxLayout(frame2_);
    for (size_t k = 0; k < option1_.size(); ++k) {
        option1_[k] = new QRadioButton(QLatin1String(renameArrangements()[k].caption));
        option1_[k]->setObjectName(QStringLiteral("Option1_%1").arg(k));
        names->addWidget(option1_[k]);
    }
    auto* right = new QVBoxLayout;
    right->addWidget(command1_);
    right->addWidget(command2_);
    right->addWidget(frame2_);
    right->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right);
    auto* all = new QVBoxLayout(this);
    all->addLayout(files);
    all->addLayout(columns);

    connect(cmdSave_, &QPushButton::clicked, this, &frmTag::save);
    connect(command1_, &QPushButton::clicked, this, &frmTag::removeTag);
    connect(command2_, &QPushButton::clicked, this, &frmTag::rename);
}

QLineEdit* frmTag::addField(const char* name, int maxLength)
{
    auto* field = new QLineEdit;
    field->setObjectName(QLatin1String(name));
    field->setMaxLength(maxLength);
    return field;
}

bool frmTag::open(RowId row)
{
    if (!editor_.open(row))
        return false;
    showFields(editor_.rowFields());
    showRecord();
    option1_[0]->setChecked(true);
    const bool editable = editor_.isEditable();
    for (QWidget* w : std::initializer_list<QWidget*>{txtTitle_, txtArtist_, txtAlbum_, txtYear_, txtComment_, cboGenra_, cmdSave_,
             command1_, command2_, frame2_})
        w->setEnabled(editable);
    return true;
}

void frmTag::showFields(const TagEdit& f)
{
    txtTitle_->setText(f.title);
    txtArtist_->setText(f.artist);
    txtAlbum_->setText(f.album);
    txtYear_->setText(f.year);
    txtComment_->setText(f.comment);
    cboGenra_->setEditText(f.genre);
}

TagEdit frmTag::fields() const
{
    return {txtTitle_->text(), txtArtist_->text(), txtAlbum_->text(), txtYear_->text(), txtComment_->text(), cboGenra_->currentText()};
}

void frmTag::showRecord()
{
    const SongRecord& record = editor_.record();
    const std::vector<SongInfoLine> lines = songInfo(record);
    for (size_t r = 0; r < lines.size(); ++r)
        lblInfo_[r]->setText(lines[r].value);
    const QString folder = record.text(ColFolder);
    folderValue_->setText(folder.left(folder.size() - 1));
    showFileName(record.text(ColFileName));
    tagSource_->setText(editor_.fieldsSource());
}

void frmTag::showFileName(const QString& name)
{
    fileName_ = name;
    fitToLabel(fileName_, *fileNameValue_);
    fileNameValue_->setAccessibleName(fileName_);
}

void frmTag::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}

void frmTag::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitToLabel(fileName_, *fileNameValue_);
}

void frmTag::save()
{
    if (const std::optional<TagEdit> written = editor_.save(fields())) {
        showFields(*written);
        showRecord();
    }
}

void frmTag::removeTag()
{
    if (const std::optional<TagEdit> now = editor_.removeTag()) {
        showFields(*now);
        showRecord();
    }
}

void frmTag::rename()
{
    size_t chosen = 0;
    while (chosen + 1 < option1_.size() && !option1_[chosen]->isChecked())
        ++chosen;
    if (const std::optional<QString> name = editor_.rename(int(chosen), txtArtist_->text(), txtTitle_->text())) {
        showRecord();
        showFileName(*name);
    }
}

}  // namespace sonivo
