#include "shell/CopiaFile.h"

#include "common/ErrorText.h"
#include "common/NativePath.h"
#include "platform/NativeFile.h"
#include "shell/FileCopy.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sonivo {
namespace {

const QString kStopped = QStringLiteral("copia interrotta");
const QString kChanged = QStringLiteral("il file è cambiato durante la copia");

// Puts the finished file in place: over the old file when replacing, else only
// where no file has appeared meanwhile.
int moveIntoPlace(const QString& temporary, const QString& target, bool replacing)
{
    if (!replacing)
        return renameNoReplace(temporary, target);
    return ::rename(toNativePath(temporary).constData(), toNativePath(target).constData()) == 0 ? 0 : errno;
}

// Why no file can be copied into the folder (ending with "/"): "" when it is one.
QString folderProblem(const QString& folder)
{
    struct stat st;
    if (::stat(toNativePath(folder).constData(), &st) == 0)
        return QString();
    if (errno == ENOENT)
        return QStringLiteral("la cartella di destinazione non esiste");
    return errno == ENOTDIR ? QStringLiteral("la destinazione non è una cartella") : errorText(errno);
}

// True when the file open on fd is no longer as it was when looked at: written
// to, grown or shortened meanwhile.
bool changedSince(int fd, const struct stat& before)
{
    struct stat now;
    return ::fstat(fd, &now) != 0 || now.st_size != before.st_size || now.st_mtim.tv_sec != before.st_mtim.tv_sec
        || now.st_mtim.tv_nsec != before.st_mtim.tv_nsec;
}

}  // namespace

CopiaFile::CopiaFile(DesktopDialogs& dialogs, Progress progress) : dialogs_(dialogs), progress_(std::move(progress)) {}

CopyOutcome CopiaFile::copy(const QStringList& sources, const QString& folder)
{
    CopyOutcome outcome;
    std::vector<qint64> sizes;
    QStringList refusals;  // why a file is not even tried, "" for those that are
    qsizetype missing = 0;
    qint64 total = 0;
    for (const QString& source : sources) {
        struct stat st;
        const bool exists = ::stat(toNativePath(source).constData(), &st) == 0;
        const bool regular = exists && S_ISREG(st.st_mode);
        sizes.push_back(regular ? qint64(st.st_size) : 0);
        refusals << (regular ? QString() : exists ? errorText(kNotRegularFile) : QStringLiteral("il file non esiste"));
        total += sizes.back();
        missing += exists ? 0 : 1;
    }
    if (missing == sources.size())
        return outcome;  // nothing to copy: nothing to say either

    const QString into = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    state_ = {0, qsizetype(sources.size()), {}, 0, total};
    stopAsked_ = false;
    madeHere_.clear();
    replaceExisting_.reset();
    replaceSameName_.reset();
    QString intoProblem = folderProblem(into);
    qint64 before = 0;
    for (qsizetype i = 0; i < sources.size(); ++i) {
        const QString name = QFileInfo(sources[i]).fileName();
        state_.file = i;
        state_.name = name;
        state_.bytesDone = before;
        QString why;
        if (!refusals[i].isEmpty())
            why = refusals[i];
        else if (!intoProblem.isEmpty())
            why = intoProblem;
        else if (stopAsked_ || !progress_(state_))
            why = kStopped;
        else if (const Step step = copyOne(sources[i], into, why); step == Step::Stop)
            why = kStopped;
        if (why == kStopped)
            stopAsked_ = true;
        if (!why.isEmpty() && intoProblem.isEmpty()) {
            intoProblem = folderProblem(into);  // a folder gone meanwhile is what is said
            if (!intoProblem.isEmpty())
                why = intoProblem;
        }
        if (why.isEmpty())
            outcome.copied << into + name;
        else
            outcome.notCopied << name + QStringLiteral(": ") + why;
        before += sizes[size_t(i)];
    }
    outcome.stopped = stopAsked_;
    return outcome;
}

bool CopiaFile::confirmReplace(const QString& name, const QString& folder, bool fromThisCopy)
{
    std::optional<bool>& toAll = fromThisCopy ? replaceSameName_ : replaceExisting_;
    if (toAll)
        return *toAll;
    const QString question = fromThisCopy
        ? QStringLiteral("Il file %1 è già stato copiato in %2 da un altro brano con lo stesso nome.\nSostituirlo?").arg(name, folder)
        : QStringLiteral("Il file %1 esiste già in %2.\nSostituirlo?").arg(name, folder);
    switch (dialogs_.askYesNoToAll(question)) {
    case DesktopDialogs::Answer::Yes:
        return true;
    case DesktopDialogs::Answer::YesToAll:
        return *(toAll = true);
    case DesktopDialogs::Answer::NoToAll:
        return *(toAll = false);
    case DesktopDialogs::Answer::Cancel:
        stopAsked_ = true;
        return false;
    case DesktopDialogs::Answer::No:
        break;
    }
    return false;
}

CopiaFile::Step CopiaFile::copyOne(const QString& source, const QString& folder, QString& why)
{
    const QString name = QFileInfo(source).fileName();
    const QString target = folder + name;
    // O_NONBLOCK: a pipe put in the file's place is refused, not waited on.
    const int in = ::open(toNativePath(source).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    struct stat st;
    if (in < 0 || ::fstat(in, &st) != 0) {
        why = errorText(errno);
        if (in >= 0)
            ::close(in);
        return Step::Skipped;
    }
    struct stat there;
    const bool replacing = ::stat(toNativePath(target).constData(), &there) == 0;
    if (!S_ISREG(st.st_mode))
        why = errorText(kNotRegularFile);
    else if (replacing && there.st_dev == st.st_dev && there.st_ino == st.st_ino)
        why = QStringLiteral("la destinazione è il file stesso");
    else if (replacing && !S_ISREG(there.st_mode))
        why = QStringLiteral("nella cartella c'è già una cartella o un file speciale con questo nome");
    else if (replacing && !confirmReplace(name, folder, madeHere_.contains(name)))
        why = stopAsked_ ? kStopped : QStringLiteral("esiste già e non è stato sostituito");
    else
        why = writeCopy(in, st, folder, target, replacing ? &there : nullptr);
    ::close(in);
    if (!why.isEmpty())
        return stopAsked_ ? Step::Stop : Step::Skipped;
    madeHere_ << name;
    return Step::Done;
}

QString CopiaFile::writeCopy(int in, const struct stat& st, const QString& folder, const QString& target, const struct stat* replaced)
{
    // Short, so that a name near the file system's limit still has a temporary one.
    const QString temporary = folder + QStringLiteral(".sonivo-")
        + QString::number(QRandomGenerator::global()->generate(), 36) + QStringLiteral(".part");
    // The song's permissions from the first byte, as cp gives a new file; a file
    // replaced keeps its owner, group and permissions, as cp keeps them.
    const int out = ::open(toNativePath(temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 0777);
    if (out < 0)
        return errorText(errno);
    int error = replaced ? takeOwnerAndMode(out, *replaced) : 0;
    if (error == 0) {
        const qint64 base = state_.bytesDone;
        error = copyBytes(in, out, qint64(st.st_size), [&](qint64 done) {
            state_.bytesDone = base + done;
            stopAsked_ = !progress_(state_) || stopAsked_;
        });
    }
    // The song keeps its date; a replaced file's new content is on disk
    // before the old one goes.
    const timespec times[2] = {st.st_atim, st.st_mtim};
    if (error == 0 && ::futimens(out, times) != 0)
        error = errno;
    if (error == 0 && replaced && ::fsync(out) != 0)
        error = errno;
    if (::close(out) != 0 && error == 0)
        error = errno;
    // Bytes written to the song meanwhile are not all in the copy.
    const bool changed = error == 0 && changedSince(in, st);
    if (error == 0 && !changed)
        error = moveIntoPlace(temporary, target, replaced != nullptr);
    if (error != 0 || changed)
        ::unlink(toNativePath(temporary).constData());
    return changed ? kChanged : error != 0 ? errorText(error) : QString();
}

QString notCopiedMessage(const CopyOutcome& outcome)
{
    if (outcome.notCopied.isEmpty())
        return {};
    return QStringLiteral("Questi file non sono stati copiati:\n") + outcome.notCopied.join(QLatin1Char('\n'));
}

QString copyOutcomeMessage(const CopyOutcome& outcome, const QString& folder)
{
    const qsizetype n = outcome.copied.size();
    QString text = n == 1 ? QStringLiteral("1 file copiato in %1.").arg(folder) : QStringLiteral("%1 file copiati in %2.").arg(n).arg(folder);
    if (outcome.stopped)
        text = QStringLiteral("Copia interrotta: ") + text;
    if (!outcome.notCopied.isEmpty())
        text += QLatin1Char('\n') + notCopiedMessage(outcome);
    return text;
}

}  // namespace sonivo
