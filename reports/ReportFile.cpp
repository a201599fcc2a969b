#include "reports/ReportFile.h"

#include "common/ErrorText.h"
#include "common/NativePath.h"
#include "platform/ReplacingFile.h"
#include "reports/HtmlPage.h"
#include "reports/Playlist.h"
#include "reports/TextList.h"

#include <sys/stat.h>

namespace sonivo {
namespace {

// Whether the two names are one file, as the file system tells by its device
// and inode: a name through a bind mount or a hard link is the same file. The
// names reach the file system byte for byte, also when they are not UTF-8.
bool sameFile(const QString& a, const QString& b)
{
    struct stat first {};
    struct stat second {};
    return ::stat(toNativePath(a).constData(), &first) == 0 && ::stat(toNativePath(b).constData(), &second) == 0
        && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// Passes the steps on and keeps whether the user cancelled, which stops a
// writer as a failed write does.
class CancelWatch final : public WorkProgress {
public:
    explicit CancelWatch(WorkProgress* progress) : progress_(progress) {}
    WorkProgress* given() { return progress_ ? this : nullptr; }
    bool cancelled() const { return cancelled_; }
    bool step(qint64 done, qint64 total) override
    {
        cancelled_ = !progress_->step(done, total);
        return !cancelled_;
    }

private:
    WorkProgress* const progress_;
    bool cancelled_ = false;
};

// Runs the writer into the file, unless the file is the list; the folder the
// file goes into must exist.
template <typename Writer> ReportResult saveThrough(const QString& file, const QString& list, WorkProgress* progress, Writer writer)
{
    if (!list.isEmpty() && sameFile(file, list))
        return {false, false, QStringLiteral("è la lista da cui vengono i brani, che non viene sostituita")};
    ReplacingFile target;
    CancelWatch watch(progress);
    const ReportOutput output = [&target](QByteArrayView piece) { return target.write(piece); };
    if (!target.open(file, ReplacingFile::Folders::MustExist) || !writer(output, watch.given()) || !target.commit())
        return {false, watch.cancelled(), watch.cancelled() ? QString() : errorText(target.error())};
    return {};
}

}  // namespace

ReportResult saveReport(const QString& file, ReportKind kind, const ReportSource& songs, ReportOptions options, const QLocale& locale,
    const QString& list, WorkProgress* progress)
{
    return saveThrough(file, list, progress, [&](const ReportOutput& output, WorkProgress* steps) {
        switch (kind) {
        case ReportKind::TextList: return writeTextList(songs, options, output, steps);
        case ReportKind::HtmlPage: return writeHtmlPage(songs, options, locale, output, steps);
        case ReportKind::Playlist: return writePlaylist(songs, output, steps);
        }
        return false;
    });
}

}  // namespace sonivo
