#pragma once
// The help window: the program's own pages from a Qt Help collection, with the
// contents ("Sommario") and the keyword index with its search line ("Indice"),
// beside the page shown.

#include <QUrl>
#include <QWidget>

class QHelpEngine;
class QLineEdit;
class QTabWidget;
class QTextBrowser;

namespace sonivo {

class HelpWindow final : public QWidget {
public:
    // The collection file (.qhc); a missing one gives a window that says so.
    explicit HelpWindow(const QString& collection, QWidget* parent = nullptr);
    ~HelpWindow() override;

    // share/sonivo/help/sonivo.qhc beside the program's bin folder.
    static QString installedCollection();

    // "&Guida in linea": the contents and the first page.
    void showContents();
    // "&Cerca...": the keyword index, its search line ready for typing.
    void showSearch();

    // The page shown ("qthelp://.../index.html"), for tests.
    QUrl page() const;
    QTextBrowser* browser() const { return browser_; }
    QLineEdit* searchLine() const { return search_; }

private:
    void open(const QUrl& url);

    QHelpEngine* engine_;
    QTabWidget* tabs_;
    QLineEdit* search_;
    QTextBrowser* browser_;
    bool ready_ = false;  // the collection was found and read
};

}  // namespace sonivo
