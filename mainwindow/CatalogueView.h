#pragma once
// The catalogue view: the report and list views over one model, and what the
// user does to them from the "&Modifica" and "&Opzioni" menus and with the
// mouse and keyboard: view modes, sorting with its menu marks, display
// options, check marks, file-type icons and column widths.

#include "application/SonivoApp.h"
#include "mainwindow/Command.h"
#include "mainwindow/FileIcons.h"

#include <QObject>
#include <array>
#include <optional>

class QAction;
class QListView;
class QModelIndex;
class QStackedWidget;
class QTableView;
class QTimer;
class QWidget;

namespace sonivo {

class CatalogueModel;
class Commands;

class CatalogueView final : public QObject {
    Q_OBJECT
public:
    CatalogueView(SonivoApp& app, QWidget* parent);
    ~CatalogueView() override;

    QStackedWidget* widget() const { return stack_; }
    QTableView* reportView() const { return table_; }
    QListView* listView() const { return list_; }
    CatalogueModel* model() const { return model_; }
    const FileIcons& icons() const { return icons_; }
    // Connects the view's commands of the "&Modifica" and "&Opzioni" menus; their
    // marks follow the view's state, and "Apri brano con player esterno..." the
    // clicked row.
    void setCommands(Commands& commands);
    // The "&Ordina per..." entries, built again when the columns move.
    void setOrderEntries(const std::array<QAction*, kColumnCount>& entries) { orderEntries_ = entries; }

    // The current row when it is selected, else -1.
    qsizetype selectedCurrentRow() const;
    int sortColumn() const { return sortColumn_; }
    bool isAscending() const { return ascending_; }

    // Initial styles: grid lines on, report mode.
    void applyInitialStyle();
    // The rows' icons, then the columns' widths.
    void refreshIcons();
    void resizeColumnHeaders();
    void clearIcons();

Q_SIGNALS:
    // A row was double-clicked, or Enter pressed on it: its song is to be opened.
    void openRequested();

public:
    // Menu entries.
    void showListMode() { setReportMode(false); }
    void showReportMode() { setReportMode(true); }
    void sortAscending() { setOrder(true); }
    void sortDescending() { setOrder(false); }
    void sortByEntry(int entry);
    void headerClicked(int column);
    void applyGrid();
    void applyTracking();
    void applyHeaderStyle();
protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* command(Command c) const;
    void setReportMode(bool report);
    void setOrder(bool ascending);
    void sortView();
    void setOrderMarks();
    void checkOrderEntry(int entry);
    void rowClicked(const QModelIndex& index);
    void toggleCurrentCheck();
    void rememberSelection();
    void restoreSelection();

    SonivoApp& app_;
    Catalogue& catalogue_;
    FileIcons icons_;
    CatalogueModel* model_;
    QStackedWidget* stack_;
    QTableView* table_;
    QListView* list_;
    Commands* commands_ = nullptr;
    std::array<QAction*, kColumnCount> orderEntries_{};

    int sortColumn_ = 0;
    bool ascending_ = true;
    int currentOrderEntry_ = 0;
    // The selected and current rows across a reset of the model.
    std::optional<RowId> selectedId_, currentId_;
    bool dropSelection_ = false;  // the selected row is being removed
    QTimer* keyMoveDone_;         // the row a key moved to counts as clicked once the keys rest
};

}  // namespace sonivo
