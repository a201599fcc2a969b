// The tag editor and the search dialogs over a large list: each dialog from
// opening to drawn, each keystroke of a search to the list drawn again, and a
// tag saved from the editor to the row shown again.
//   bench-dialogs FILE.svl     (make one with: bench-listfile save FILE.svl)
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise; the
// song whose tag is saved is a copy of a test song in a temporary folder.

#include "bench/BenchWindow.h"
#include "bench/Timed.h"
#include "catalogue/RowRefresh.h"
#include "dialogs/QtDesktopDialogs.h"
#include "dialogs/frmSearch.h"
#include "dialogs/frmSearchTag.h"
#include "dialogs/frmTag.h"
#include "mainwindow/CatalogueView.h"
#include "mainwindow/Form1.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace sonivo;

namespace {

void drawn(QWidget& w)
{
    w.show();
    w.grab();
    QApplication::processEvents();
}

// One key typed into the field, to the list drawn again; the seconds it took.
double keystroke(QLineEdit& field, QListView& list, int key, const QString& text)
{
    QElapsedTimer timer;
    timer.start();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&field, &press);
    QApplication::sendEvent(&field, &release);
    QApplication::processEvents();
    list.viewport()->repaint();
    return double(timer.nsecsElapsed()) / 1e9;
}

void typeInSearch(frmSearch& dialog)
{
    auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* list = dialog.findChild<QListView*>(QStringLiteral("List1"));
    field->setFocus();
    std::vector<double> times;
    for (const char c : QByteArrayView("amore")) {
        times.push_back(keystroke(*field, *list, Qt::Key_A + (c - 'a'), QString(QLatin1Char(c))));
        std::printf("  typed \"%s\": %d songs in %.3f s\n", field->text().toUtf8().constData(), list->model()->rowCount(), times.back());
    }
    while (!field->text().isEmpty()) {
        times.push_back(keystroke(*field, *list, Qt::Key_Backspace, QString()));
        std::printf("  erased to \"%s\": %d songs in %.3f s\n", field->text().toUtf8().constData(), list->model()->rowCount(), times.back());
    }
    std::sort(times.begin(), times.end());
    std::printf("%-32s %8.3f s (slowest %.3f s)\n", "keystroke to list, median", times[times.size() / 2], times.back());
}

// A row for a copy of the test song, added after the list's rows.
RowId addSong(Catalogue& catalogue, const QString& path)
{
    catalogue.append(SongRecord());
    const RowId id = catalogue.id(catalogue.size() - 1);
    refreshRow(catalogue, id, path);
    return id;
}

}  // namespace

int main(int argc, char** argv)
{
    offscreenUnlessAsked();
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench-dialogs FILE.svl\n");
        return 2;
    }
    const QTemporaryDir temp;
    const FormServices services = servicesIn(temp);
    Form1 window(services);
    window.start(QString::fromLocal8Bit(argv[1]));
    drawn(window);
    Catalogue& catalogue = window.document().catalogue();
    const QString song = temp.filePath(QStringLiteral("Brano di prova.mp3"));
    if (!QFile::copy(QStringLiteral(SONIVO_SONG), song)) {
        std::fprintf(stderr, "cannot copy %s\n", SONIVO_SONG);
        return 1;
    }
    const RowId songRow = addSong(catalogue, song);
    std::printf("rows                         %8lld\n", qlonglong(catalogue.size()));
    QtDesktopDialogs dialogs(&window);

    {
        std::unique_ptr<frmSearch> search;
        timed("open Ricerca brani", [&] {
            search = std::make_unique<frmSearch>(catalogue, window.transport(), dialogs, &window);
            drawn(*search);
        });
        typeInSearch(*search);
    }
    timed("open Ricerca per Album", [&] {
        frmSearchTag albums(catalogue, window.transport(), dialogs, &window);
        drawn(albums);
    });

    QTableView* table = window.view().reportView();
    const QModelIndex songIndex = table->model()->index(int(catalogue.position(songRow)), ColFileName);
    table->setCurrentIndex(songIndex);
    frmTag* editor = nullptr;
    timed("open the tag editor", [&] {
        Q_EMIT table->doubleClicked(songIndex);
        editor = window.findChild<frmTag*>();
        drawn(*editor);
    });
    editor->findChild<QLineEdit*>(QStringLiteral("txtTitle"))->setText(QStringLiteral("Titolo nuovo"));
    timed("save tag to the row shown", [&] {
        editor->findChild<QPushButton*>(QStringLiteral("cmdSave"))->click();
        QApplication::processEvents();
        table->viewport()->repaint();
    });
    const QString title = catalogue.row(catalogue.position(songRow)).text(ColTitle);
    std::printf("row's title after the save   %s\n", title.toUtf8().constData());
    window.document().setModified(false);
    return title == QStringLiteral("Titolo nuovo") ? 0 : 1;
}
