#pragma once
// "Ricerca brani": finds songs by a piece of their file name as the user types
// and queues or plays them. Modal; it shows the catalogue as it was when opened.

#include "catalogue/SongSearch.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QLineEdit;
class QListView;
class QPushButton;

namespace sonivo {

class DesktopDialogs;
class FileNameFilterModel;
class SongNamesModel;
class Transport;

class frmSearch final : public QDialog {
    Q_OBJECT
public:
    frmSearch(const Catalogue& catalogue, Transport& transport, DesktopDialogs& dialogs, QWidget* parent = nullptr);
    ~frmSearch() override;

    // "Aggiungi alla lista": the selected songs into the queue, top to bottom.
    void addSelected();

private:
    void play(const QModelIndex& index);

    Transport& transport_;
    DesktopDialogs& dialogs_;
    FileNameSearch search_;
    SongNamesModel* names_;
    FileNameFilterModel* filter_;
    QLineEdit* text1_;
    QListView* list1_;
    QPushButton* command1_;
    QPushButton* command2_;
    QCheckBox* check1_;
};

}  // namespace sonivo
