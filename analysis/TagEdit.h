#pragma once
// A change of a file's ID3v1 tag as the user gives it: the six fields set
// together, checked, then written in one write, so that the file holds either the
// whole new tag or its old bytes. The outcome says which, and why not.

#include <QString>

namespace sonivo {

class clsMP3;

struct TagEdit {
    QString title;
    QString artist;
    QString album;
    QString year;
    QString comment;
    QString genre;  // a genre name, a genre number from 0 to 255, "Unknown" or empty

    // The fields as the analysis object holds them.
    static TagEdit of(const clsMP3& mp3);
    bool operator==(const TagEdit&) const = default;
};

enum class TagEditStatus {
    Written,
    TextOutsideCodePage,  // a field holds characters a tag cannot store
    GenreNotInList,       // the genre is neither a list name nor a number
    FileMissing,
    WriteFailed,
};

struct TagEditResult {
    TagEditStatus status = TagEditStatus::Written;
    QString field;      // the field's caption ("Titolo"), for TextOutsideCodePage
    QString offending;  // the characters, or the genre text, that were refused
    bool written() const { return status == TagEditStatus::Written; }
};

// What stands in the way of writing the edit; Written when nothing does.
TagEditResult checkTagEdit(const TagEdit& edit);
// Checks the edit and writes it as the file's tag; on success the object holds
// what the file now holds (a genre number as its name), else nothing changed.
TagEditResult writeTagEdit(clsMP3& mp3, const TagEdit& edit);
// The message for a refused edit ("" for the write outcomes, which the caller words).
QString refusalText(const TagEditResult& result);

}  // namespace sonivo
