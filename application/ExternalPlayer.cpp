#include "application/ExternalPlayer.h"

#include "common/DesktopDialogs.h"
#include "reports/ReportFile.h"

#include <QStandardPaths>

namespace sonivo {

ExternalPlayer::ExternalPlayer(const Catalogue& catalogue, DesktopDialogs& dialogs) : catalogue_(catalogue), dialogs_(dialogs) {}

ExternalPlayer::~ExternalPlayer() = default;

QString ExternalPlayer::playlistPath() const
{
    return folder_ ? folder_->filePath(QStringLiteral("templist.m3u")) : QString();
}

void ExternalPlayer::openSong(qsizetype row)
{
    if (row >= 0 && row < catalogue_.size())
        handOff(catalogue_.row(row).fullName());
}

void ExternalPlayer::openQueue()
{
    if (!folder_) {
        // QTemporaryDir makes the folder with mode 0700 and a name nobody can guess.
        const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        folder_ = std::make_unique<QTemporaryDir>(runtime + QStringLiteral("/sonivo-XXXXXX"));
        if (!folder_->isValid()) {
            dialogs_.warn(QStringLiteral("Impossibile creare la cartella della lista temporanea in ") + runtime + QStringLiteral(": ")
                + folder_->errorString());
            folder_.reset();
            return;
        }
    }
    std::vector<RowId> rows;
    for (qsizetype i = 0; i < catalogue_.size(); ++i)
        if (catalogue_.isChecked(i) && !catalogue_.row(i).isEmpty(ColFileName))
            rows.push_back(catalogue_.id(i));
    // The M3U report of the rows, as the Report menu writes it.
    const ReportResult saved = saveReport(playlistPath(), ReportKind::Playlist, ReportSource(catalogue_, rows), {}, QLocale());
    if (!saved.ok) {
        dialogs_.warn(QStringLiteral("Impossibile scrivere la lista temporanea ") + playlistPath() + QStringLiteral(": ") + saved.error);
        return;
    }
    handOff(playlistPath());
}

void ExternalPlayer::handOff(const QString& file)
{
    openWithDesktopOrWarn(dialogs_, file);
}

}  // namespace sonivo
