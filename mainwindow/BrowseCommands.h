#pragma once
// The "&Ricerca" menu's "&Cartella" and "&Mostra tutti" as the window carries
// them out: the browse filter narrows or restores the rows, this opens the folder
// chooser and brings the status line and the icons up to date after each change.
// The play queue follows the rows through the catalogue view's model.

#include <QObject>

class QWidget;

namespace sonivo {

class BrowseFilter;
class CatalogueView;
class ListDocument;
class StatusLine;

class BrowseCommands final : public QObject {
    Q_OBJECT
public:
    BrowseCommands(ListDocument& document, CatalogueView& view, StatusLine& status, QWidget* window);

    // "&Cartella": the folder chooser, modal; it stays open until its close box.
    void chooseFolder();
    // "&Mostra tutti".
    void showAll();

Q_SIGNALS:
    // The rows or the modified flag changed: the commands' rules are to be applied.
    void rowsChanged();

private:
    ListDocument& document_;
    CatalogueView& view_;
    StatusLine& status_;
    QWidget* window_;
    BrowseFilter* filter_;
};

}  // namespace sonivo
