#pragma once
// The report dialog: which songs (all rows, or only the queued ones), which extra
// data and, for the text list, printer or file; its action button then writes the
// report chosen in the Report menu and closes it. It opens with its defaults
// every time and is laid out in twips, scaled up as a whole when the font in
// use needs more room than the twips give its captions.

#include "reports/ReportCommand.h"

#include <QDialog>
#include <QLocale>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace sonivo {

class DesktopDialogs;

class frmReport final : public QDialog {
    Q_OBJECT
public:
    // list: the list file the catalogue was read from ("" for a new list);
    // folder: where the file dialog starts.
    frmReport(ReportKind kind, const Catalogue& catalogue, const QString& list, const std::vector<RowId>& queue, const QString& folder,
        DesktopDialogs& dialogs, QWidget* parent = nullptr, const QLocale& locale = QLocale());

    // What the controls say now.
    ReportChoice choice() const;
    // The action button: writes or prints the report chosen, then closes.
    void runChosen();
    // The file the action button wrote, "" when it wrote none.
    const QString& writtenFile() const { return written_; }

private:
    void layOut(ReportKind kind);

    const ReportKind kind_;
    const Catalogue& catalogue_;
    const QString list_;
    const std::vector<RowId>& queue_;  // the play queue's rows, as it is when a report runs
    const QString folder_;
    DesktopDialogs& dialogs_;
    const QLocale locale_;
    QString written_;
    QGroupBox* frame1_;
    QGroupBox* frame2_;
    QGroupBox* frame3_;
    QRadioButton* option1_;
    QRadioButton* option2_;
    QCheckBox* check1_;
    QCheckBox* check2_;
    QRadioButton* option3_;
    QRadioButton* option4_;
    QPushButton* command1_;
    QPushButton* command2_;
};

}  // namespace sonivo
