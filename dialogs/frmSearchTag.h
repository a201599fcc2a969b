#pragma once
// "Ricerca per Album": the albums of the catalogue, each with its artist, and
// the queueing of every song of one album. Modal; it shows the catalogue as it
// was when opened.

#include "catalogue/SongSearch.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QListView;
class QPushButton;
class QStringListModel;

namespace sonivo {

class DesktopDialogs;
class Transport;

class frmSearchTag final : public QDialog {
    Q_OBJECT
public:
    frmSearchTag(const Catalogue& catalogue, Transport& transport, DesktopDialogs& dialogs, QWidget* parent = nullptr);

    // "Seleziona": every song of the selected album into the queue.
    void queueAlbum();

protected:
    void showEvent(QShowEvent* event) override;

private:
    int selectedAlbum() const;
    void showArtist();

    Transport& transport_;
    DesktopDialogs& dialogs_;
    std::vector<AlbumEntry> albums_;
    QStringListModel* albumNames_;
    QLabel* label2_;
    QListView* list1_;
    QPushButton* command1_;
    QPushButton* command2_;
    QCheckBox* check1_;
    bool shown_ = false;
};

}  // namespace sonivo
