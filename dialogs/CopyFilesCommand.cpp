#include "dialogs/CopyFilesCommand.h"

#include "common/DesktopDialogs.h"
#include "dialogs/ProgressLook.h"
#include "shell/CopiaFile.h"

#include <QApplication>
#include <QProgressDialog>

namespace sonivo {

QString copyFilesToFolder(QWidget* owner, DesktopDialogs& dialogs, const QStringList& files, const QString& startFolder)
{
    if (files.isEmpty())
        return {};
    const QString folder = dialogs.chooseFolder(QStringLiteral("Seleziona la crtella di destinazione:"), startFolder);
    if (folder.isEmpty())
        return {};
    QProgressDialog progress(owner);
    progress.setObjectName(QStringLiteral("copyProgress"));
    giveProgressLook(progress, QStringLiteral("Copia ") + folder, QString(), 0);
    CopiaFile copier(dialogs, [&progress](const CopyProgress& p) {
        progress.setLabelText(QStringLiteral("%1 (%2 di %3)").arg(p.name).arg(p.file + 1).arg(p.files));
        showDone(progress, p.bytesDone, p.bytesTotal);
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
