#pragma once
// The tag editor window "MPEG Informazioni e MP3 IDTag": one song's row data, its
// ID3v1 tag fields, and the actions save, remove tag and rename from the tag.
// Modeless; opening it again for another row reloads it for that row. What the
// actions do is TagEditor's; the window shows its fields and results.

#include "application/TagEditor.h"

#include <QWidget>
#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace sonivo {

class frmTag final : public QWidget {
    Q_OBJECT
public:
    frmTag(ListDocument& document, Transport& transport, DesktopDialogs& dialogs, QWidget* parent = nullptr);

    // Shows the song of the row; false, with nothing changed, when the row is gone.
    bool open(RowId row);
    RowId row() const { return editor_.row(); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Escape closes the window, as it closes a dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* addField(const char* name, int maxLength);
    void showFields(const TagEdit& fields);
    TagEdit fields() const;
    void showRecord();
    void showFileName(const QString& name);
    void save();
    void removeTag();
    void rename();

    TagEditor editor_;
    QString fileName_;  // in full; the label may show it cut
    QLabel* tagSource_ = nullptr;
    QLabel* fileNameValue_;
    QLabel* folderValue_;
    QLineEdit* txtTitle_;
    QLineEdit* txtArtist_;
    QLineEdit* txtAlbum_;
    QLineEdit* txtYear_;
    QLineEdit* txtComment_;
    QComboBox* cboGenra_;
    QPushButton* cmdSave_;
    QGroupBox* frame1_;
    std::array<QLabel*, 14> lblInfo_{};  // the panel's values, top to bottom
    QPushButton* command1_;
    QPushButton* command2_;
    QGroupBox* frame2_;
    std::array<QRadioButton*, 6> option1_{};
};

}  // namespace sonivo
