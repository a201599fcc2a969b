#pragma once
// "Ricerca per cartelle": the folders and CDs of the catalogue in a drop-down;
// "Seleziona cartella" keeps only the chosen one's songs, "Elimina dalla lista"
// takes them out, and on "Tutti i brani" both restore the whole list. The
// dialog stays open; after each command its choices are those of the catalogue
// as it is then, none chosen.

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace sonivo {

class FolderNarrowing;

class frmFolder final : public QDialog {
    Q_OBJECT
public:
    // Builds the choices from the catalogue, with the busy pointer meanwhile.
    explicit frmFolder(FolderNarrowing& filter, QWidget* parent = nullptr);
    // The filter keeps no choices once nothing shows them.
    ~frmFolder() override;

    QComboBox* choiceList() const { return Combo1_; }
    QLabel* cdLabel() const { return lblCD_; }
    QPushButton* selectButton() const { return Command1_; }
    QPushButton* removeButton() const { return Command2_; }

private:
    void showChoices();
    void choiceClicked(int index);
    void showCdName(const QString& name);
    // Runs a command of the filter on the chosen entry, with the busy pointer.
    template <typename Command> void run(Command command);

    FolderNarrowing& filter_;
    QComboBox* Combo1_;
    QLabel* lblCD_;
    QPushButton* Command1_;
    QPushButton* Command2_;
};

}  // namespace sonivo
