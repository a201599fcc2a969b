#include "dialogs/QtDesktopDialogs.h"

#include "dialogs/ProgressLook.h"
#include "dialogs/TextPrinter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QUrl>

namespace sonivo {
namespace {

const QString kTitle = QStringLiteral("Sonivo");

QString filterText(const FileFilter& filter)
{
    return filter.description + QStringLiteral(" (") + filter.pattern + QLatin1Char(')');
}

// The chosen file, or "" when cancelled. Saving confirms replacing an existing file.
QString chooseFile(
    QWidget* owner, bool save, const QString& title, const FileFilter& filter, const QString& folder, const QString& name = QString())
{
    QFileDialog dialog(owner, title, folder, filterText(filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(filter.defaultExtension);
    if (!name.isEmpty())
        dialog.selectFile(name);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

// A progress dialog modal to the window the work was started from, shown once
// the work has taken half a second. The window repaints and "Annulla" is heard
// at each step told, at most twenty times a second so that showing the progress
// costs the work nothing.
class ProgressDialog final : public WorkProgress {
public:
    ProgressDialog(QWidget* parent, const QString& text) : dialog_(parent)
    {
        dialog_.setObjectName(QStringLiteral("progressDialog"));
        giveProgressLook(dialog_, kTitle, text, 500);
    }

    bool step(qint64 done, qint64 total) override
    {
        if (sinceShown_.isValid() && !sinceShown_.hasExpired(kStepMs))
            return !dialog_.wasCanceled();
        sinceShown_.start();
        showDone(dialog_, done, total);
        QCoreApplication::processEvents();
        return !dialog_.wasCanceled();
    }

private:
    static constexpr qint64 kStepMs = 50;
    QProgressDialog dialog_;
    QElapsedTimer sinceShown_;
};

}  // namespace

QWidget* QtDesktopDialogs::parentWindow() const
{
    // The active window when it is the owner's or one of its own (the tag editor,
    // a dialog), so that the box returns to the window it was raised from.
    QWidget* active = QApplication::activeWindow();
    for (const QWidget* w = active; w; w = w->parentWidget())
        if (w == owner_->window())
            return active;
    return owner_;
}

QString QtDesktopDialogs::openFile(const QString& title, const FileFilter& filter, const QString& folder)
{
    return chooseFile(parentWindow(), false, title, filter, folder);
}

QString QtDesktopDialogs::saveFile(const QString& title, const FileFilter& filter, const QString& folder)
{
    return chooseFile(parentWindow(), true, title, filter, folder);
}

QString QtDesktopDialogs::chooseFolder(const QString& title, const QString& start)
{
    const QString shown = title.isEmpty() ? QStringLiteral("Seleziona la directory o il drive per la ricerca:") : title;
    const QString folder = QFileDialog::getExistingDirectory(parentWindow(), shown, start);
    if (folder.isEmpty())
        return {};
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

DesktopDialogs::Answer QtDesktopDialogs::askYesNoCancel(const QString& text)
{
    switch (QMessageBox::question(parentWindow(), kTitle, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

DesktopDialogs::Answer QtDesktopDialogs::askYesNoToAll(const QString& text)
{
    QMessageBox box(
        QMessageBox::Question, kTitle, text, QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::NoToAll, parentWindow());
    box.button(QMessageBox::YesToAll)->setText(QStringLiteral("Sì a tutti"));
    box.button(QMessageBox::NoToAll)->setText(QStringLiteral("No a tutti"));
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::YesToAll: return Answer::YesToAll;
    case QMessageBox::NoToAll: return Answer::NoToAll;
    default: return Answer::No;
    }
}

std::optional<QString> QtDesktopDialogs::inputText(const QString& prompt, const QString& title, const QString& text)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parentWindow(), title, prompt, QLineEdit::Normal, text, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

void QtDesktopDialogs::inform(const QString& text)
{
    QMessageBox::information(parentWindow(), kTitle, text);
}

void QtDesktopDialogs::warn(const QString& text)
{
    QMessageBox::warning(parentWindow(), kTitle, text);
}

void QtDesktopDialogs::critical(const QString& text)
{
    QMessageBox::critical(parentWindow(), kTitle, text);
}

bool QtDesktopDialogs::openWithDesktop(const QString& file)
{
    // xdg-open says by its exit status whether a program took the file, which
    // QDesktopServices, starting it detached, cannot: a desktop's own opener
    // returns at once, a generic one once it has started the program.
    auto* opener = new QProcess(owner_);
    opener->start(QStringLiteral("xdg-open"), {file});
    if (!opener->waitForStarted(3000)) {
        delete opener;
        return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    }
    if (!opener->waitForFinished(5000)) {
        // Still at work, so it found a program: it is left to finish.
        QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
        return true;
    }
    const bool opened = opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
    delete opener;
    return opened;
}

QString QtDesktopDialogs::saveFileNamed(const QString& title, const FileFilter& filter, const QString& folder, const QString& name)
{
    return chooseFile(parentWindow(), true, title, filter, folder, name);
}

DesktopDialogs::PrintOutcome QtDesktopDialogs::printText(const QString& jobName, const QString& text)
{
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull())
        return PrintOutcome::NoPrinter;
    QPrinter device(printer, QPrinter::HighResolution);
    device.setDocName(jobName);
    const std::unique_ptr<WorkProgress> progress = showProgress(QStringLiteral("Stampa della lista brani in corso..."));
    return sonivo::printText(device, text, progress.get());
}

std::unique_ptr<WorkProgress> QtDesktopDialogs::showProgress(const QString& text)
{
    return std::make_unique<ProgressDialog>(parentWindow(), text);
}

bool QtDesktopDialogs::openAddress(const QString& url)
{
    return QDesktopServices::openUrl(QUrl(url));
}

}  // namespace sonivo
