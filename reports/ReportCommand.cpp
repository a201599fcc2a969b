#include "reports/ReportCommand.h"

#include "common/DesktopDialogs.h"
#include "reports/ReportFile.h"
#include "reports/TextList.h"

namespace sonivo {
namespace {

const QString kDefaultName = QStringLiteral("Lista mp3");

struct FileQuestion {
    QString title;
    FileFilter filter;
};

FileQuestion questionFor(ReportKind kind)
{
    switch (kind) {
    case ReportKind::TextList:
        return {QStringLiteral("Salva lista MP3"), {QStringLiteral("File di testo"), QStringLiteral("*.txt"), QStringLiteral("txt")}};
    case ReportKind::HtmlPage:
        return {QStringLiteral("Salva lista HTML"), {QStringLiteral("File Html"), QStringLiteral("*.htm"), QStringLiteral("htm")}};
    case ReportKind::Playlist: break;
    }
    return {QStringLiteral("Salva Playlist"), {QStringLiteral("File M3U"), QStringLiteral("*.m3u"), QStringLiteral("m3u")}};
}

void print(const ReportSource& songs, ReportOptions options, DesktopDialogs& dialogs)
{
    switch (dialogs.printText(QStringLiteral("Sonivo - Lista brani"), textList(songs, options))) {
    case DesktopDialogs::PrintOutcome::Printed: return;
    case DesktopDialogs::PrintOutcome::NoPrinter:
        dialogs.warn(QStringLiteral("Nessuna stampante predefinita: la lista non è stata stampata. "
                                    "Impostare una stampante predefinita nel sistema e riprovare."));
        return;
    case DesktopDialogs::PrintOutcome::Failed: dialogs.critical(QStringLiteral("Impossibile stampare la lista brani.")); return;
    case DesktopDialogs::PrintOutcome::Cancelled: dialogs.inform(QStringLiteral("Stampa annullata.")); return;
    case DesktopDialogs::PrintOutcome::CancelledPartlySent:
        dialogs.warn(QStringLiteral("Stampa annullata. La stampante non permette di ritirare il lavoro: "
                                    "le pagine preparate prima dell'annullamento sono state inviate."));
        return;
    }
}

}  // namespace

QString runReport(const ReportChoice& choice, const Catalogue& catalogue, const QString& list, std::span<const RowId> queue,
    const QString& folder, DesktopDialogs& dialogs, const QLocale& locale)
{
    const ReportSource songs = choice.queueOnly ? ReportSource(catalogue, queue) : ReportSource(catalogue);
    if (choice.kind == ReportKind::TextList && choice.toPrinter) {
        print(songs, choice.options, dialogs);
        return {};
    }
    const FileQuestion question = questionFor(choice.kind);
    const QString file = dialogs.saveFileNamed(question.title, question.filter, folder, kDefaultName);
    if (file.isEmpty())
        return {};
    const ReportResult saved = [&] {
        const std::unique_ptr<WorkProgress> progress = dialogs.showProgress(QStringLiteral("Scrittura di ") + file + QStringLiteral("..."));
        return saveReport(file, choice.kind, songs, choice.options, locale, list, progress.get());
    }();
    if (saved.cancelled) {
        dialogs.inform(QStringLiteral("Scrittura annullata: il file ") + file + QStringLiteral(" non è stato scritto né modificato."));
        return {};
    }
    if (!saved.ok) {
        dialogs.critical(QStringLiteral("Impossibile scrivere il file ") + file + QStringLiteral(": ") + saved.error);
        return {};
    }
    // The file is there whatever happens next: not being opened is no failure of the report.
    if (!dialogs.openWithDesktop(file))
        dialogs.inform(QStringLiteral("Il file ") + file + QStringLiteral(" è stato salvato, ma nessun programma lo ha aperto."));
    return file;
}

}  // namespace sonivo
