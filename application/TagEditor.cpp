#include "application/TagEditor.h"

#include "analysis/Writability.h"
#include "catalogue/ListDocument.h"
#include "catalogue/RowRefresh.h"
#include "common/DesktopDialogs.h"
#include "common/ErrorText.h"
#include "player/Transport.h"

namespace sonivo {
namespace {

const QString kMayBePlaying = QStringLiteral("\r\n il file potrebbe essere in esecuzione.");

// What a failed write's message adds: the program that kept the file locked past
// the wait, else the player that may hold it.
QString whyNotWritten(int error)
{
    return error == kFileLocked ? QStringLiteral("\r\n il file è in uso da un altro programma.") : kMayBePlaying;
}

QString renameFailureText(const RenameOutcome& outcome)
{
    switch (outcome.status) {
    case RenameStatus::NoTag: return QStringLiteral("Il file non ha un Tag da cui prendere il nuovo nome.");
    case RenameStatus::NameRefused:
        return QStringLiteral("Il Tag non dà un nome di file valido: \"%1\".").arg(outcome.name);
    case RenameStatus::NameTaken:
        return QStringLiteral("Nella cartella esiste già un file di nome \"%1\".").arg(outcome.name);
    case RenameStatus::FileMissing: return QStringLiteral("Il file non esiste più.");
    case RenameStatus::Failed: return QStringLiteral("Impossibile rinominare il file: %1.").arg(errorText(outcome.error));
    case RenameStatus::Renamed: break;
    }
    return QString();
}

}  // namespace

TagEditor::TagEditor(ListDocument& document, Transport& transport, DesktopDialogs& dialogs)
    : document_(document), transport_(transport), dialogs_(dialogs)
{
}

bool TagEditor::open(RowId row)
{
    const Catalogue& catalogue = document_.catalogue();
    const qsizetype at = catalogue.position(row);
    if (at == Catalogue::kGone)
        return false;
    row_ = row;
    record_ = catalogue.row(at);
    mp3_ = clsMP3();
    mp3_.setFullName(record_.fullName());
    editable_ = isFileWritable(mp3_.FullName());
    fieldsSource_ = sourceOfFields();
    return true;
}

QString TagEditor::sourceOfFields() const
{
    if (record_.text(ColTagPresent) == QLatin1String("True"))
        return QStringLiteral("ID3v1");
    if (rowFields() == TagEdit{})
        return QStringLiteral("nessuno");
    // Fields without an ID3v1 tag were taken from the ID3v2 tag: its version is read again.
    clsMP3 file;
    file.setFullName(record_.fullName());
    file.setId3v2Reading(clsMP3::Id3v2Reading::Beside);
    if (file.ReadMP3Info() != clsMP3::ReadResult::Done || file.Id3v2().version == 0)
        return QStringLiteral("ID3v2");
    return QStringLiteral("ID3v2.%1").arg(file.Id3v2().version);
}

TagEdit TagEditor::rowFields() const
{
    return {record_.text(ColTitle), record_.text(ColArtist), record_.text(ColAlbum), record_.text(ColYear),
        record_.text(ColComment), record_.text(ColGenre)};
}

bool TagEditor::suspendPlayer()
{
    const bool holdsSong = transport_.state() != PlayerState::Stopped && transport_.playerFile() == mp3_.FullName();
    if (holdsSong)
        transport_.FermaBrano();
    return holdsSong;
}

void TagEditor::rowChanged()
{
    Catalogue& catalogue = document_.catalogue();
    if (!refreshRow(catalogue, row_, mp3_.FullName()))
        return;  // the row is gone (or the file unreadable): no row to show it
    record_ = catalogue.row(catalogue.position(row_));
    fieldsSource_ = sourceOfFields();
    document_.setModified(true);
}

std::optional<TagEdit> TagEditor::save(const TagEdit& edit)
{
    const TagEditResult checked = checkTagEdit(edit);
    if (!checked.written()) {
        dialogs_.inform(refusalText(checked));
        return std::nullopt;
    }
    TagEditResult result{TagEditStatus::WriteFailed, QString(), QString()};
    int error = 0;
    if (isFileWritable(mp3_.FullName())) {
        const bool suspended = suspendPlayer();
        result = writeTagEdit(mp3_, edit);
        error = mp3_.writeError();
        if (suspended)
            transport_.RiprendiBrano();
    }
    if (!result.written()) {
        dialogs_.critical(QStringLiteral("Impossibile modificare i Tag del file") + whyNotWritten(error));
        return std::nullopt;
    }
    rowChanged();
    return TagEdit::of(mp3_);
}

std::optional<TagEdit> TagEditor::removeTag()
{
    int result = -1;
    int error = 0;
    if (isFileWritable(mp3_.FullName())) {
        const bool suspended = suspendPlayer();
        result = mp3_.RemoveTag();
        error = mp3_.writeError();
        if (suspended)
            transport_.RiprendiBrano();
    }
    if (result == -1) {
        dialogs_.critical(QStringLiteral("Impossibile rimuovere i Tag del file") + whyNotWritten(error));
        return std::nullopt;
    }
    rowChanged();
    return TagEdit{};  // the file has no tag now
}

std::optional<QString> TagEditor::rename(int arrangement, const QString& artist, const QString& title)
{
    if (artist.isEmpty() || title.isEmpty()) {
        dialogs_.inform(QStringLiteral("Artista e titolo devono essere presenti nel Tag."));
        return std::nullopt;
    }
    const QString from = mp3_.FullName();
    // The player is not resumed: the file it held has another name.
    if (transport_.state() != PlayerState::Stopped && transport_.playerFile() == from)
        transport_.stop();
    RenameOutcome outcome;
    switch (mp3_.ReadMP3Info()) {
    case clsMP3::ReadResult::Done: outcome = mp3_.Rename(QLatin1String(renameArrangements()[size_t(arrangement)].pattern)); break;
    case clsMP3::ReadResult::Missing: outcome.status = RenameStatus::FileMissing; break;
    case clsMP3::ReadResult::Unreadable: outcome = {RenameStatus::Failed, QString(), mp3_.readError()}; break;
    }
    const QString failure = renameFailureText(outcome);
    if (outcome.status == RenameStatus::FileMissing || outcome.status == RenameStatus::Failed)
        dialogs_.critical(failure);
    else if (!failure.isEmpty())
        dialogs_.inform(failure);
    if (outcome.status != RenameStatus::Renamed)
        return std::nullopt;
    if (mp3_.FullName() != from) {
        transport_.fileRenamed(from, mp3_.FullName());
        rowChanged();
    }
    return mp3_.Filename();
}

}  // namespace sonivo
