#include "shell/CopiaFile.h"

#include "common/ErrorText.h"
#include "common/NativePath.h"
#include "shell/FileCopy.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sonivo {
namespace {

const QString kStopped = QStringLiteral("copia interrotta");
const QString kFolderGone = QStringLiteral("la cartella di destinazione non esiste");

// Puts the finished file in place: over the old file when replacing, else only
// where no file has appeared meanwhile.
int moveIntoPlace(const QByteArray& temporary, const QByteArray& target, bool replacing)
{
    if (replacing)
        return ::rename(temporary.constData(), target.constData()) == 0 ? 0 : errno;
    if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system without the flag: a second name fails if the target exists.
    if (::link(temporary.constData(), target.constData()) != 0)
        return errno;
    ::unlink(temporary.constData());
    return 0;
}

bool isFolder(const QString& folder)
{
    struct stat st;
    return ::stat(toNativePath(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

CopiaFile::CopiaFile(DesktopDialogs& dialogs, Progress progress) : dialogs_(dialogs), progress_(std::move(progress)) {}

CopyOutcome CopiaFile::copy(const QStringList& sources, const QString& folder)
{
    CopyOutcome outcome;
    std::vector<qint64> sizes;
    qint64 total = 0;
    for (const QString& source : sources) {
        struct stat st;
        const bool present = ::stat(toNativePath(source).constData(), &st) == 0 && S_ISREG(st.st_mode);
        sizes.push_back(present ? qint64(st.st_size) : -1);
        total += present ? qint64(st.st_size) : 0;
    }
    if (std::count(sizes.begin(), sizes.end(), -1) == qsizetype(sizes.size()))
        return outcome;  // nothing to copy: nothing to say either

    const QString into = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    state_ = {0, qsizetype(sources.size()), {}, 0, total};
    stopAsked_ = false;
    madeHere_.clear();
    replaceExisting_.reset();
    replaceSameName_.reset();
    bool folderGone = !isFolder(into);
    qint64 before = 0;
    for (qsizetype i = 0; i < sources.size(); ++i) {
        const QString name = QFileInfo(sources[i]).fileName();
        state_.file = i;
        state_.name = name;
        state_.bytesDone = before;
        QString why;
        if (sizes[size_t(i)] < 0)
            why = QStringLiteral("il file non esiste");
        else if (folderGone)
            why = kFolderGone;
        else if (stopAsked_ || !progress_(state_))
            why = kStopped;
        else if (const Step step = copyOne(sources[i], into, why); step == Step::Stop)
            why = kStopped;
        if (why == kStopped)
            stopAsked_ = true;
        if (!why.isEmpty() && !isFolder(into)) {
            folderGone = true;
            why = kFolderGone;
        }
        if (why.isEmpty())
            outcome.copied << into + name;
        else
            outcome.notCopied << name + QStringLiteral(": ") + why;
        before += std::max<qint64>(sizes[size_t(i)], 0);
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
    const QByteArray target = toNativePath(folder + name);
    const int in = ::open(toNativePath(source).constData(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (in < 0 || ::fstat(in, &st) != 0) {
        why = errorText(errno);
        if (in >= 0)
            ::close(in);
        return Step::Skipped;
    }
    struct stat there;
    const bool replacing = ::stat(target.constData(), &there) == 0;
    if (replacing && there.st_dev == st.st_dev && there.st_ino == st.st_ino)
        why = QStringLiteral("la destinazione è il file stesso");
    else if (replacing && !S_ISREG(there.st_mode))
        why = QStringLiteral("nella cartella c'è già una cartella o un file speciale con questo nome");
    else if (replacing && !confirmReplace(name, folder, madeHere_.contains(name)))
        why = stopAsked_ ? kStopped : QStringLiteral("esiste già e non è stato sostituito");
    if (!why.isEmpty()) {
        ::close(in);
        return stopAsked_ ? Step::Stop : Step::Skipped;
    }

    // Short, so that a name near the file system's limit still has a temporary one.
    const QByteArray temporary
        = toNativePath(folder) + ".sonivo-" + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".part";
    const int out = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    int error = out < 0 ? errno : 0;
    if (out >= 0) {
        const qint64 base = state_.bytesDone;
        error = copyBytes(in, out, qint64(st.st_size), [&](qint64 done) {
            state_.bytesDone = base + done;
            stopAsked_ = !progress_(state_) || stopAsked_;
        });
        // The song keeps its date; a replaced file's new content is on disk
        // before the old one goes.
        const timespec times[2] = {st.st_atim, st.st_mtim};
        if (error == 0 && ::futimens(out, times) != 0)
            error = errno;
        if (error == 0 && replacing && ::fsync(out) != 0)
            error = errno;
        if (::close(out) != 0 && error == 0)
            error = errno;
        if (error == 0)
            error = moveIntoPlace(temporary, target, replacing);
        if (error != 0)
            ::unlink(temporary.constData());
    }
    ::close(in);
    if (error != 0) {
        why = errorText(error);
        return Step::Skipped;
    }
    madeHere_ << name;
    return Step::Done;
}

QString notCopiedMessage(const CopyOutcome& outcome)
{
    if (outcome.notCopied.isEmpty())
        return {};
    return QStringLiteral("Questi file non sono stati copiati:\n") + outcome.notCopied.join(QLatin1Char('\n'));
}

}  // namespace sonivo
