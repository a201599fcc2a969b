#pragma once
// The analysis object of one MP3 file: point it at a file with setFullName, call
// ReadMP3Info, then read the first frame's header, the ID3v1 tag (or, when asked,
// the ID3v2 tag) and the file's attributes. Assigning a tag field writes the whole tag into the file at once.
// The object holds no open file between calls.

#include "analysis/FrameSearch.h"
#include "analysis/Id3v1Tag.h"
#include "analysis/Id3v2Tag.h"
#include "analysis/RenamePattern.h"
#include "platform/NativeFile.h"

#include <QString>
#include <optional>

namespace sonivo {

class clsMP3 {
public:
    enum class ReadResult {
        Done,        // the file was analysed
        Missing,     // no such file; nothing was read and every field kept
        Unreadable,  // it could not be opened or read (readError() says why)
    };

    ReadResult ReadMP3Info();
    // The same for the file of that name in an open folder: no path length limits it.
    ReadResult ReadMP3Info(int folderFd);
    // Renames the file from a pattern filled with its tag and header values: 0 when
    // renamed, -1 when the file is missing, the new name exists or the file system
    // refuses it, nothing when the file has no tag.
    std::optional<int> RenameFile(const QString& pattern);
    // The same, saying what happened and, on a refusal, why.
    RenameOutcome Rename(const QString& pattern);
    // Cuts the tag off the file: -1 missing or not writable, 0 no tag, 1 removed.
    int RemoveTag();
    // True when a directory entry of that name exists (a folder counts).
    static bool FileExists(const QString& name);

    void setFullName(const QString& fullName);
    QString FullName() const { return fullName_; }
    QString Path() const { return path_; }
    QString Filename() const { return filename_; }

    // The first confirmed frame; the cleared header when none was found.
    QString MPEGVersion() const { return frame_.header.mpegVersionText(); }
    QString Layer() const { return frame_.header.layerText(); }
    bool CRCPresent() const { return frame_.header.crcPresent(); }
    QString BitRate() const { return frame_.header.bitRateText(); }
    QString SampleRate() const { return frame_.header.sampleRateText(); }
    int Padding() const { return frame_.header.padding(); }
    int PrivateBit() const { return frame_.header.privateBit(); }
    QString ChannelMode() const { return frame_.header.channelModeText(); }
    QString ModeExtension() const { return frame_.header.modeExtensionText(); }
    bool Copyright() const { return frame_.header.copyright(); }
    bool Original() const { return frame_.header.original(); }
    QString Emphasis() const { return frame_.header.emphasisText(); }
    int FrameLength() const { return frame_.header.frameLength(); }
    qint64 TotalFrames() const { return totalFrames_; }
    // Seconds with two decimals, -1 without a valid header. A constant bit rate
    // file is measured by its length when read, kept up to date by this object's
    // own tag writes and removals; a file with a frame count in its first frame by
    // that count.
    double PlayTime() const;
    bool ValidHeader() const { return frame_.header.isValid(); }

    // Which files ReadMP3Info reads the ID3v2 tag of: none (the default); those
    // without an ID3v1 tag, whose tag fields then come from it; or every file,
    // its fields kept apart in Id3v2().
    enum class Id3v2Reading { Off, InPlaceOfId3v1, Beside };
    void setId3v2Reading(Id3v2Reading reading) { id3v2Reading_ = reading; }

    // Tag fields without surrounding spaces; empty when the file has no tag (no
    // ID3v1 tag, nor an ID3v2 tag read in its place).
    QString Title() const { return tagText(&Id3v1Fields::title); }
    QString Artist() const { return tagText(&Id3v1Fields::artist); }
    QString Album() const { return tagText(&Id3v1Fields::album); }
    QString Year() const { return tagText(&Id3v1Fields::year); }
    QString Comment() const { return tagText(&Id3v1Fields::comment); }
    QString Genre() const { return tagText(&Id3v1Fields::genre); }
    // True when the file has an ID3v1 tag.
    bool TagPresent() const { return tagPresent_; }
    // True when the file starts with an ID3v2 tag, whether it was read or not.
    bool Id3v2Present() const { return frame_.id3v2; }
    // The ID3v2 tag as read; version 0 when none was read.
    const Id3v2Tag& Id3v2() const { return id3v2_; }

    void setTitle(const QString& value);
    void setArtist(const QString& value);
    void setAlbum(const QString& value);
    void setYear(const QString& value);
    void setComment(const QString& value);
    // A genre name, or a genre number from 0 to 255.
    void setGenre(const QString& value);
    // Sets the six fields together and writes them as the file's tag in one write;
    // false, with the file and the fields as they were, when it could not be written.
    bool setTag(const Id3v1Fields& fields);
    // True once any tag write of this object has failed.
    bool WriteErrore() const { return writeErrore_; }
    // Why the last failed tag write or removal failed, as writeId3v1 says it
    // (kFileLocked: another program kept the file locked).
    int writeError() const { return writeError_; }

    // The attribute text, or "-1" when the file is missing.
    QString FileAttributes() const;
    void setFileAttributes(const QString& text);
    bool WriteAttributes() const { return writeAttributes_; }

    // The desktop's type name of a file ("MP3 audio").
    static QString Tipo(const QString& fileName);

    // errno of the last Unreadable result.
    int readError() const { return readError_; }
    // The file as the last ReadMP3Info opened it; nothing when it could not.
    const std::optional<FileFacts>& OpenedFacts() const { return openedFacts_; }

private:
    ReadResult analyse(NativeFile& file);
    QString tagText(QString Id3v1Fields::*field) const;
    bool writeTag();
    // Takes the file's length again after this object changed it.
    void remeasure();

    QString fullName_;
    QString path_;
    QString filename_;

    FirstFrame frame_;
    qint64 totalFrames_ = 0;
    qint64 analysedSize_ = 0;  // the file's length, for the play time

    Id3v1Fields tag_;
    bool tagPresent_ = false;
    Id3v2Reading id3v2Reading_ = Id3v2Reading::Off;
    Id3v2Tag id3v2_;
    bool writeErrore_ = false;
    int writeError_ = 0;
    bool writeAttributes_ = false;
    int readError_ = 0;
    std::optional<FileFacts> openedFacts_;
};

}  // namespace sonivo
