#pragma once
// The main window: it builds the menus, the toolbar, the status line, the
// catalogue view and the player's widgets on the application object, places them
// by the layout rules and keeps its placement in the settings file. It shows the
// application's state and forwards the user's actions; what the commands do lives
// with the application and the window's command objects.

#include "application/SonivoApp.h"
#include "platform/DesktopIntegration.h"
#include "reports/ReportOptions.h"
#include "audio/AudioOptions.h"
#include "mainwindow/Command.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <map>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QToolBar;
class QToolButton;

namespace sonivo {

class CatalogueView;
class Commands;
class DesktopDialogs;
class frmTag;
class FileCommands;
class HelpCommands;
class PlayerPanel;
class ScanProgressFrame;
class StatusLine;

// What the window is given from outside, so that tests can replace it.
struct FormServices {
    DesktopDialogs* dialogs = nullptr;   // the Qt dialogs of the window when null
    QString settingsFile;                // sonivo.ini in the user's configuration folder when empty
    QString registryFile;                // the key/value store's default file when empty
    const MountTable* mounts = nullptr;  // the machine's mounts when null
    AudioOptions audio;                  // where the internal player plays
    std::optional<DesktopSetup> desktop;  // this user's desktop and this program when unset
};

class Form1 final : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(FormServices services = {}, QWidget* parent = nullptr);
    ~Form1() override;

    // The start-up sequence after construction: placement, styles, the registry's
    // start option and the list file named by the command line ("" for none).
    void start(const QString& commandLine);
    // Enables and disables the commands by the state of the catalogue and player;
    // run at every tick and after each change.
    void applyEnablingRules();
    // A list handed over by a later start ("" for none): the window comes up
    // and, after the save prompt, reads it.
    void openFromOutside(const QString& path);

    SonivoApp& app() { return *app_; }
    ListDocument& document() { return app_->document(); }
    Transport& transport() { return app_->transport(); }
    CatalogueView& view() { return *view_; }
    StatusLine& statusLine() { return *status_; }
    PlayerPanel& player() { return *player_; }
    HelpCommands& helpCommands() { return *help_; }
    ScanProgressFrame* progressFrame() const { return framain_; }
    // A command's one action, as the menus and the toolbar show it.
    QAction* command(Command command) const;
    // A command's action by its object name ("newList", "addFolderTree", ...), or null.
    QAction* action(const QString& name) const;
    // A toolbar button by its key ("Apri", "Salva", ...), or null.
    QToolButton* toolButton(const QString& key) const;
    // The "&Ordina per..." entry at a position.
    QAction* orderEntry(int index) const { return mnuOrder_[size_t(index)]; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    // What the window's own commands run; the view and the player panel connect theirs.
    void connectCommands();
    void connectMediaKeys();
    // The tag editor and the search dialogs.
    void connectSearchAndTag();
    void openTagEditor();
    void openSearch(bool byAlbum);
    void openReport(ReportKind kind);
    // What the window redoes after a change of the rows: icons, column widths,
    // the status line and the commands.
    void showRowsChange(RowsChange change);
    // The tick's part that draws: the player's widgets and the commands.
    void showTick();
    void buildToolbar();
    void buildSortMenu();
    void connectView();
    void orderTabStops();
    void applyLayout();
    // While a scan runs only its "Annulla" and the window's frame answer the user.
    void setScanning(bool scanning);
    void restorePlacement();
    void savePlacement();
    void fitOuterSize();
    int toPixels(int twips) const;
    int toTwips(int pixels) const;

    FormServices services_;
    std::unique_ptr<DesktopDialogs> ownDialogs_;
    DesktopDialogs& dialogs_;
    SonivoApp* app_;
    DesktopIntegration desktop_;
    CatalogueView* view_;
    std::unique_ptr<StatusLine> status_;
    FileCommands* files_;
    HelpCommands* help_;

    bool closeAfterWork_ = false;             // the user closed the window during a scan or a read
    QPointer<QWidget> focusBeforeScan_;       // where the keyboard was when the scan began
    std::optional<QSize> restoredOuterSize_;  // from the settings, until the frame is known

    PlayerPanel* player_;
    ScanProgressFrame* framain_;

    Commands* commands_;
    QMenu* orderMenu_ = nullptr;
    std::array<QAction*, kColumnCount> mnuOrder_{};  // "&Ordina per...", by display position
    QMenu* editMenu_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    std::map<QString, QToolButton*> buttons_;
    QPointer<frmTag> tagEditor_;  // while it is open
};

}  // namespace sonivo
