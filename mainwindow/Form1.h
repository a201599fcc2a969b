#pragma once
// The main window: the catalogue view, the menus and toolbar, the status line and
// the document state (the current list file and whether the catalogue differs
// from it). Everything it asks the user goes through DesktopDialogs.

#include "catalogue/Catalogue.h"
#include "catalogue/DriveInfo.h"
#include "mainwindow/FileIcons.h"

#include <QMainWindow>
#include <array>

class QAction;
class QGroupBox;
class QLabel;
class QListView;
class QListWidget;
class QMenu;
class QStackedWidget;
class QTableView;
class QTimer;
class QToolButton;

namespace sonivo {

class CatalogueModel;
class DesktopDialogs;
class ScanProgressFrame;

// What the window is given from outside, so that tests can replace it.
struct FormServices {
    DesktopDialogs* dialogs = nullptr;  // the Qt dialogs of the window when null
    QString settingsFile;               // sonivo.ini in the user's configuration folder when empty
    QString registryFile;               // the key/value store's default file when empty
    const MountTable* mounts = nullptr; // the machine's mounts when null
};

class Form1 final : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(FormServices services = {}, QWidget* parent = nullptr);
    ~Form1() override;

    // The start-up sequence after construction: placement, styles, the registry's
    // start option and the list file named by the command line ("" for none).
    void start(const QString& commandLine);

    // The file commands; each returns false when it was cancelled or failed.
    bool newList();
    bool openList();
    bool saveList();
    bool saveListAs();
    void addFolder(bool withSubfolders);
    // Asks whether to save changes: false when the user cancelled or the save
    // failed, so that whatever asked must not go on.
    bool savePrompt();

    // The view's commands.
    void setReportMode(bool report);
    void sortAscending(bool ascending);
    void sortByMenu(int column);
    void headerClicked(int column);
    void checkAll();
    void uncheckAll();
    void invertChecks();
    void toggleOption(int index);
    void resizeColumnHeaders();
    void refreshIcons();
    void statusRefresh();
    void applyEnablingRules();

    // For the tests and the queue: state that the window keeps.
    Catalogue& catalogue() { return catalogue_; }
    const QString& listPath() const { return listPath_; }
    bool isModified() const { return modified_; }
    int sortColumn() const { return sortColumn_; }
    bool sortIsAscending() const { return ascending_; }
    QTableView* reportView() const { return table_; }
    QListView* listView() const { return list_; }
    QString statusText(int panel) const;
    QAction* fileEntry(int index) const { return mnuFile_[size_t(index)]; }
    QAction* optionEntry(int index) const { return mnuOption_[size_t(index)]; }
    QAction* orderEntry(int index) const { return mnuOrder_[size_t(index)]; }
    QAction* menuEntry(const QString& caption) const;
    QToolButton* toolButton(const QString& key) const;
    const FileIcons& fileIcons() const { return icons_; }
    ScanProgressFrame* progressFrame() const { return framain_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void buildSortMenu();
    void applyLayout();
    void restorePlacement();
    void savePlacement();
    void fitOuterSize();
    void setTitle();
    void setStartStatus();
    void showLoading();
    void loadList(const QString& path);
    bool writeList(const QString& path);
    void sortView();
    void setOrderMarks();
    void checkOrderEntry(int index);
    void rowClicked(const QModelIndex& index);
    int toPixels(int twips) const;
    int toTwips(int pixels) const;

    FormServices services_;
    std::unique_ptr<DesktopDialogs> ownDialogs_;
    DesktopDialogs& dialogs_;
    DriveInfo drives_;
    Catalogue catalogue_;
    FileIcons icons_;
    CatalogueModel* model_;

    QString listPath_;
    bool modified_ = false;
    int sortColumn_ = 0;
    bool ascending_ = true;
    int currentOrderEntry_ = 0;
    bool showAllEnabled_ = false;
    bool scanning_ = false;  // a close must wait for the scan to end
    std::optional<QSize> restoredOuterSize_;  // from the settings, until the frame is known

    QStackedWidget* views_;
    QTableView* table_;
    QListView* list_;
    QGroupBox* frame1_;
    QListWidget* lstPlay_;
    ScanProgressFrame* framain_;
    std::array<QLabel*, 3> panels_{};
    QLabel* loadingPicture_ = nullptr;
    QTimer* timer_;

    std::array<QAction*, 9> mnuFile_{};
    std::array<QAction*, 2> mnuTag_{};
    std::array<QAction*, 2> mnuView_{};
    QAction* mnuSortAZ_ = nullptr;
    QAction* mnuSortZA_ = nullptr;
    QMenu* orderMenu_ = nullptr;
    std::array<QAction*, 22> mnuOrder_{};
    std::array<QAction*, 4> mnuCopy_{};
    std::array<QAction*, 5> mnuRicerca_{};
    std::array<QAction*, 8> mnuOption_{};
    std::array<QAction*, 9> mnuPlayer_{};
    std::array<QAction*, 3> mnuReport_{};
    std::array<QAction*, 6> mnuHelp_{};
    std::array<QAction*, 2> mnuPop_{};  // the play queue's right-button menu
    QMenu* editMenu_ = nullptr;
    std::map<QString, QToolButton*> buttons_;
};

// "Sonivo - Versione 1.3.0".
QString versionText();

}  // namespace sonivo
