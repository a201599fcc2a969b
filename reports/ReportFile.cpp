#include "reports/ReportFile.h"

#include "common/ErrorText.h"
#include "platform/ReplacingFile.h"
#include "reports/HtmlPage.h"
#include "reports/Playlist.h"
#include "reports/TextList.h"

namespace sonivo {
namespace {

// Runs the writer into the file; the folder the file goes into must exist.
template <typename Writer> ReportResult saveThrough(const QString& file, Writer writer)
{
    ReplacingFile target;
    const ReportOutput output = [&target](QByteArrayView piece) { return target.write(piece); };
    if (!target.open(file, ReplacingFile::Folders::MustExist) || !writer(output) || !target.commit())
        return {false, errorText(target.error())};
    return {};
}

}  // namespace

ReportResult saveReport(const QString& file, ReportKind kind, const ReportSource& songs, ReportOptions options, const QLocale& locale)
{
    return saveThrough(file, [&](const ReportOutput& output) {
        switch (kind) {
        case ReportKind::TextList: return writeTextList(songs, options, output);
        case ReportKind::HtmlPage: return writeHtmlPage(songs, options, locale, output);
        case ReportKind::Playlist: return writePlaylist(songs, LineEnd::CrLf, output);
        }
        return false;
    });
}

ReportResult savePlaylist(const QString& file, const ReportSource& songs, LineEnd lineEnd)
{
    return saveThrough(file, [&](const ReportOutput& output) { return writePlaylist(songs, lineEnd, output); });
}

}  // namespace sonivo
