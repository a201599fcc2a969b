#include "cli/ExportCommand.h"

#include "catalogue/ListFile.h"
#include "cli/Output.h"
#include "reports/ReportFile.h"

#include <optional>
#include <map>

namespace sonivo::cli {
namespace {

const QString kExportUsage = QStringLiteral("uso: sonivo-cli export html|text|m3u [--duration] [--size] FILE.svl USCITA");

const std::map<QString, ReportKind> kKinds = {
    {QStringLiteral("html"), ReportKind::HtmlPage},
    {QStringLiteral("text"), ReportKind::TextList},
    {QStringLiteral("m3u"), ReportKind::Playlist},
};

struct ExportArgs {
    ReportKind kind = ReportKind::TextList;
    ReportOptions options;
    QString list;
    QString output;
};

std::optional<ExportArgs> parse(const QStringList& args)
{
    ExportArgs parsed;
    const auto kind = args.isEmpty() ? kKinds.end() : kKinds.find(args.first());
    if (kind == kKinds.end())
        return std::nullopt;
    parsed.kind = kind->second;
    QStringList files;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--duration"))
            parsed.options.withDuration = true;
        else if (a == QLatin1String("--size"))
            parsed.options.withSize = true;
        else if (a.startsWith(QLatin1String("--")))
            return std::nullopt;
        else
            files << a;
    }
    if (files.size() != 2)
        return std::nullopt;
    parsed.list = files.at(0);
    parsed.output = files.at(1);
    return parsed;
}

}  // namespace

int exportCommand(const QStringList& args)
{
    const std::optional<ExportArgs> parsed = parse(args);
    if (!parsed) {
        printError(kExportUsage);
        return 2;
    }
    Catalogue catalogue;
    const ListFileResult loaded = ApriLista(parsed->list, catalogue);
    if (!loaded.ok) {
        printError(QStringLiteral("%1: impossibile leggere la lista (%2)").arg(parsed->list, loaded.error));
        return 1;
    }
    const ReportResult saved = saveReport(parsed->output, parsed->kind, ReportSource(catalogue), parsed->options, QLocale(), parsed->list);
    if (!saved.ok) {
        printError(QStringLiteral("%1: impossibile scrivere il file (%2)").arg(parsed->output, saved.error));
        return 1;
    }
    // The rows that could be read are written, as the window shows them; the
    // ones left out fail the command.
    if (loaded.damagedLines > 0) {
        printError(QStringLiteral("%1: %2 righe danneggiate, non esportate").arg(parsed->list).arg(loaded.damagedLines));
        return 1;
    }
    return 0;
}

}  // namespace sonivo::cli
