#include "analysis/clsMP3.h"

#include "analysis/FileAttributes.h"
#include "analysis/Genres.h"
#include "analysis/Id3v1File.h"
#include "analysis/RenamePattern.h"
#include "platform/NativeFile.h"

#include <QMimeDatabase>

#include <cerrno>

namespace sonivo {
namespace {

constexpr int kSamplesPerFrame = 1152;

// Play time in hundredths of a second: raised by 0.05 s, then cut.
qint64 hundredthsFromBytes(qint64 bytes, int kbps)
{
    return (bytes * 8 + 50 * qint64(kbps)) / (10 * qint64(kbps));
}

qint64 hundredthsFromFrames(qint64 frames, int sampleRate)
{
    return (frames * kSamplesPerFrame * 100 + 5 * qint64(sampleRate)) / sampleRate;
}

}  // namespace

bool clsMP3::FileExists(const QString& name)
{
    return pathExists(name);
}

void clsMP3::setFullName(const QString& fullName)
{
    fullName_ = fullName;
    const qsizetype slash = fullName.lastIndexOf(QLatin1Char('/'));
    path_ = fullName.left(slash + 1);
    filename_ = fullName.mid(slash + 1);
}

clsMP3::ReadResult clsMP3::ReadMP3Info()
{
    NativeFile file;
    file.open(fullName_, NativeFile::Mode::Read);
    return analyse(file);
}

clsMP3::ReadResult clsMP3::ReadMP3Info(int folderFd)
{
    NativeFile file;
    file.openIn(folderFd, filename_, NativeFile::Mode::Read);
    return analyse(file);
}

clsMP3::ReadResult clsMP3::analyse(NativeFile& file)
{
    const bool opened = file.isOpen();
    if (!opened && (file.error() == ENOENT || file.error() == ENOTDIR))
        return ReadResult::Missing;
    tag_ = Id3v1Fields{};
    tagPresent_ = false;
    id3v2_ = Id3v2Tag{};
    frame_ = FirstFrame{};
    totalFrames_ = 0;
    analysedSize_ = 0;
    openedFacts_ = file.facts();
    if (!opened) {
        readError_ = file.error();
        return ReadResult::Unreadable;
    }
    FileByteSource source(file, openedFacts_->size);  // an open file was looked at
    analysedSize_ = source.size();

    if (analysedSize_ >= kId3v1Size) {
        unsigned char block[kId3v1Size];
        const qint64 n = source.readAt(analysedSize_ - kId3v1Size, block, kId3v1Size);
        if (n != kId3v1Size) {
            readError_ = n < 0 ? file.error() : kFileShrank;
            return ReadResult::Unreadable;
        }
        if (isId3v1Tag(block)) {
            tag_ = parseId3v1(block);
            tagPresent_ = true;
        }
    }

    // The ID3v2 tag is read before the frame search: the blocks that hold its
    // last frames hold the first audio frame too, and are read once.
    const bool wantsId3v2 = id3v2Reading_ == Id3v2Reading::Beside || (id3v2Reading_ == Id3v2Reading::InPlaceOfId3v1 && !tagPresent_);
    const Id3v2Tag id3v2 = wantsId3v2 ? readId3v2(source) : Id3v2Tag{};
    const FirstFrame frame = findFirstFrame(source);
    if (frame.readFailed || (frame.id3v2 && id3v2.readFailed)) {
        readError_ = file.error();
        return ReadResult::Unreadable;
    }
    frame_ = frame;
    if (frame_.id3v2)
        id3v2_ = id3v2;
    if (frame_.vbrFrames > 0)
        totalFrames_ = frame_.vbrFrames;
    else if (FrameLength() > 0)
        totalFrames_ = analysedSize_ / FrameLength();
    return ReadResult::Done;
}

double clsMP3::PlayTime() const
{
    if (!ValidHeader())
        return -1;
    if (frame_.vbrFrames > 0)
        return double(hundredthsFromFrames(frame_.vbrFrames, frame_.header.sampleRateHz())) / 100;
    return double(hundredthsFromBytes(analysedSize_, frame_.header.bitRateKbps())) / 100;
}

void clsMP3::remeasure()
{
    const qint64 size = fileSize(fullName_);
    if (size >= 0)
        analysedSize_ = size;
}

QString clsMP3::tagText(QString Id3v1Fields::*field) const
{
    if (tagPresent_)
        return (tag_.*field).trimmed();
    if (id3v2Reading_ == Id3v2Reading::InPlaceOfId3v1)
        return (id3v2_.fields.*field).trimmed();
    return QString();
}

void clsMP3::setTitle(const QString& value)
{
    tag_.title = fitToField(value, Id3v1Field::Title);
    writeTag();
}

void clsMP3::setArtist(const QString& value)
{
    tag_.artist = fitToField(value, Id3v1Field::Artist);
    writeTag();
}

void clsMP3::setAlbum(const QString& value)
{
    tag_.album = fitToField(value, Id3v1Field::Album);
    writeTag();
}

void clsMP3::setYear(const QString& value)
{
    tag_.year = fitToField(value, Id3v1Field::Year);
    writeTag();
}

void clsMP3::setComment(const QString& value)
{
    tag_.comment = fitToField(value, Id3v1Field::Comment);
    writeTag();
}

void clsMP3::setGenre(const QString& value)
{
    tag_.genre = value;
    writeTag();
}

bool clsMP3::setTag(const Id3v1Fields& fields)
{
    const Id3v1Fields old = tag_;
    tag_ = {fitToField(fields.title, Id3v1Field::Title), fitToField(fields.artist, Id3v1Field::Artist),
        fitToField(fields.album, Id3v1Field::Album), fitToField(fields.year, Id3v1Field::Year),
        fitToField(fields.comment, Id3v1Field::Comment), fields.genre};
    if (!writeTag()) {
        tag_ = old;
        return false;
    }
    tag_.genre = GenreLookup(genreNumberForWrite(tag_.genre));  // what the file now holds
    return true;
}

bool clsMP3::writeTag()
{
    if (!FileExists(fullName_)) {
        writeErrore_ = true;  // a write that could not happen is a failed one
        writeError_ = ENOENT;
        return false;
    }
    tag_.genre = tag_.genre.trimmed();
    const int number = genreNumberForWrite(tag_.genre);
    if (genreNumberOf(tag_.genre))
        tag_.genre = GenreLookup(number);  // a number given as text: hold its name
    if ((writeError_ = writeId3v1(fullName_, buildId3v1(tag_, number))) != 0) {
        writeErrore_ = true;
        return false;
    }
    tagPresent_ = true;
    remeasure();
    return true;
}

int clsMP3::RemoveTag()
{
    const RemoveResult result = removeId3v1(fullName_, writeError_);
    if (result == RemoveResult::Removed)
        remeasure();
    return int(result);
}

QString clsMP3::FileAttributes() const
{
    return attributeText(fullName_).value_or(QStringLiteral("-1"));
}

void clsMP3::setFileAttributes(const QString& text)
{
    writeAttributes_ = FileExists(fullName_) && setAttributeText(fullName_, text);
}

std::optional<int> clsMP3::RenameFile(const QString& pattern)
{
    const RenameOutcome outcome = Rename(pattern);
    if (outcome.status == RenameStatus::NoTag)
        return std::nullopt;
    return outcome.status == RenameStatus::Renamed ? 0 : -1;
}

RenameOutcome clsMP3::Rename(const QString& pattern)
{
    if (!tagPresent_)
        return {RenameStatus::NoTag, QString(), 0};
    RenameOutcome outcome{RenameStatus::Renamed, fillRenamePattern(pattern, *this), 0};
    const QString& newName = outcome.name;
    if (!isUsableFileName(newName))
        outcome.status = RenameStatus::NameRefused;
    else if (!FileExists(fullName_))
        outcome.status = RenameStatus::FileMissing;
    else if (newName == filename_)
        return outcome;  // already so named: nothing to do
    else if (FileExists(path_ + newName))
        outcome.status = RenameStatus::NameTaken;
    else if ((outcome.error = renameNoReplace(fullName_, path_ + newName)) != 0)
        outcome.status = outcome.error == EEXIST ? RenameStatus::NameTaken : RenameStatus::Failed;
    if (outcome.status != RenameStatus::Renamed)
        return outcome;
    filename_ = newName;
    fullName_ = path_ + newName;
    return outcome;
}

QString clsMP3::Tipo(const QString& fileName)
{
    static const QMimeDatabase db;
    return db.mimeTypeForFile(fileName).comment();
}

}  // namespace sonivo
