#include "dialogs/CopyFilesCommand.h"

#include "common/DesktopDialogs.h"
#include "shell/CopiaFile.h"

#include <QApplication>
#include <QProgressDialog>

namespace sonivo {
namespace {

constexpr int kSteps = 1000;

}  // namespace

QString copyFilesToFolder(QWidget* owner, DesktopDialogs& dialogs, const QStringList& files, const QString& startFolder)
{
    if (files.isEmpty())
        return {};
    const QString folder = dialogs.chooseFolder(QStringLiteral("Seleziona la crtella di destinazione:"), startFolder);
    if (folder.isEmpty())
        return {};
    QProgressDialog progress(owner);
    progress.setObjectName(QStringLiteral("copyProgress"));
    progress.setWindowTitle(QStringLiteral("Copia ") + folder);
    progress.setCancelButtonText(QStringLiteral("Annulla"));
    progress.setRange(0, kSteps);
    progress.setMinimumDuration(0);
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    CopiaFile copier(dialogs, [&progress](const CopyProgress& p) {
        progress.setLabelText(QStringLiteral("%1 (%2 di %3)").arg(p.name).arg(p.file + 1).arg(p.files));
        progress.setValue(p.bytesTotal > 0 ? int(p.bytesDone * kSteps / p.bytesTotal) : 0);
        QApplication::processEvents();
        return !progress.wasCanceled();
    });
    const CopyOutcome outcome = copier.copy(files, folder);
    progress.close();
    const QString message = copyOutcomeMessage(outcome, folder);
    if (outcome.notCopied.isEmpty())
        dialogs.inform(message);
    else
        dialogs.warn(message);
    return folder;
}

}  // namespace sonivo
