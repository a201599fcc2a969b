#pragma once
// What the tag editor does to one song: it is pointed at the song of a row (by
// the row's identity, so a sort, scan or filter never makes it change another
// row), says whether the song's file may be changed, and saves, removes or
// renames from the tag. Each action asks the player, at that moment, whether
// it holds the song, and suspends it around the change; the row is made again
// from the file exactly when the file was changed. Messages go through
// DesktopDialogs.

#include "analysis/TagEdit.h"
#include "analysis/clsMP3.h"
#include "catalogue/CatalogueObserver.h"
#include "catalogue/SongRecord.h"

#include <optional>

namespace sonivo {

class DesktopDialogs;
class ListDocument;
class Transport;

class TagEditor {
public:
    TagEditor(ListDocument& document, Transport& transport, DesktopDialogs& dialogs);

    // Points the editor at the song of a row; false, with nothing changed, when
    // the row is gone.
    bool open(RowId row);
    RowId row() const { return row_; }
    // The song's file.
    QString fullName() const { return mp3_.FullName(); }
    // The row as it was when opened, or as the last action made it.
    const SongRecord& record() const { return record_; }
    // The tag fields as the row shows them.
    TagEdit rowFields() const;
    // Which tag those fields came from: "ID3v1", "ID3v2.3" and the like for a file
    // whose only tag is ID3v2 and whose row took its fields from it, or "nessuno".
    QString fieldsSource() const { return fieldsSource_; }
    // The file may be written (decided when opened): else view only. A rename
    // also needs the folder writable, and says so when it is not.
    bool isEditable() const { return editable_; }

    // "Salva MP3 ID Tag": the fields as the file now holds them, or nothing when
    // they were refused or could not be written (the user was told why).
    std::optional<TagEdit> save(const TagEdit& edit);
    // "Rimuovi Tag": the fields as the file now holds them (empty), or nothing.
    std::optional<TagEdit> removeTag();
    // "Rinomina file" with an arrangement (0 to 5) of the tag read from the file;
    // artist and title are the fields' texts, which must not be empty. The new
    // file name, or nothing when the file was not renamed.
    std::optional<QString> rename(int arrangement, const QString& artist, const QString& title);

private:
    // Suspends the player when it plays or pauses this song; true when it did.
    bool suspendPlayer();
    QString sourceOfFields() const;
    // The row made again from the file, and the document modified.
    void rowChanged();

    ListDocument& document_;
    Transport& transport_;
    DesktopDialogs& dialogs_;
    clsMP3 mp3_;
    RowId row_ = 0;
    SongRecord record_;
    bool editable_ = false;
    QString fieldsSource_;
};

}  // namespace sonivo
