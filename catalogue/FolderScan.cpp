#include "catalogue/FolderScan.h"

#include "analysis/FileAttributes.h"
#include "analysis/clsMP3.h"
#include "catalogue/FolderWalk.h"
#include "catalogue/ReaderPool.h"

#include <algorithm>

namespace sonivo {
namespace {

const QString kCdRom = QStringLiteral("CD-ROM drive");
// How far the listing runs ahead of the rows: enough songs queued to keep the
// readers busy over a folder change, with few folders held open for it.
constexpr size_t kSongsAhead = 128;
constexpr size_t kFoldersAhead = 32;

const SongRecord* rowNamed(const std::vector<SongRecord>& rows, const QString& name)
{
    const std::string stored = toStored(name);
    const auto it
        = std::find_if(rows.begin(), rows.end(), [&](const SongRecord& r) { return r.stored(ColFileName) == QByteArrayView(stored); });
    return it == rows.end() ? nullptr : &*it;
}

// Reads the song of that name in the open folder and makes its row.
SongRead readSong(int folderFd, SongSource source, const QString& name, bool readId3v2)
{
    clsMP3 mp3;
    mp3.setFullName(source.folder + name);
    if (readId3v2)
        mp3.setId3v2Reading(clsMP3::Id3v2Reading::InPlaceOfId3v1);
    SongRead song;
    song.read = mp3.ReadMP3Info(folderFd);
    if (song.read == clsMP3::ReadResult::Missing)
        return song;
    song.readError = mp3.readError();
    song.unreadId3v2 = !readId3v2 && !mp3.TagPresent() && mp3.Id3v2Present();
    FileFacts facts;
    if (const std::optional<FileFacts>& opened = mp3.OpenedFacts())
        facts = *opened;
    else if (song.read == clsMP3::ReadResult::Unreadable)  // a row all the same: size and date as far as known
        facts = fileFactsAt(folderFd, name).value_or(FileFacts{});
    source.name = name;
    source.size = facts.size;
    source.created = facts.created;
    source.attributes = attributeText(facts.mode, name);
    song.row = MakeSongLine(source, mp3);
    return song;
}

}  // namespace

QString updateFolderQuestion(const QString& folder)
{
    // The path as it is: on Linux a path in upper case names another folder.
    return QStringLiteral("La cartella '") + folder + QStringLiteral("' è già presente nell'elenco.") + QLatin1Char('\r')
        + QStringLiteral("Vuoi aggiornarla?");
}

QString cdNamePrompt()
{
    return QStringLiteral("Inserisci un nome identifivcativo per il tuo CD-ROM:");
}

QString cdNameTitle()
{
    return QStringLiteral("Nome identificativo CD");
}

bool isMp3Name(const QString& name)
{
    return name.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive);
}

FolderScan::FolderScan(Catalogue& catalogue, ScanDialogs& dialogs, const DriveInfo& drives)
    : catalogue_(catalogue), dialogs_(dialogs), drives_(drives)
{
}

// A folder listed ahead, its songs queued to the readers.
struct FolderScan::QueuedFolder {
    WalkStep step;
    SongSource source;  // the fields every song of the folder shares
    QString cdIdentifier;
    size_t firstTicket = 0;
    size_t endTicket = 0;
};

qint64 FolderScan::ScanFolders(const QString& folder)
{
    skipped_.clear();
    unreadId3v2Files_ = 0;
    stopRequested_ = false;
    total_ = CountFiles(folder);
    dialogs_.scanCounted(total_);
    if (drives_.driveTypeName(folder) == kCdRom)
        cdName_ = dialogs_.askCdName(drives_.volumeLabel(folder));
    collected_.clear();
    collected_.reserve(size_t(total_));  // no copying of the rows as they come
    const MountSnapshot mounts(drives_.table());
    const DriveInfo drives(mounts);
    ReaderPool readers(readers_);
    FolderWalk walk(folder, includeSubfolders_, &order_);
    std::deque<QueuedFolder> queued;
    // The readers keep busy across folders: at least the next folder is listed
    // while one ends, more while they have few songs to go on with.
    const auto queueAhead = [&] {
        while ((queued.empty() || (queued.size() < kFoldersAhead && readers.waiting() < kSongsAhead))
            && queueNextFolder(walk, drives, readers, queued)) {}
    };
    queueAhead();
    while (!queued.empty() && !stopRequested_) {
        const QueuedFolder current = std::move(queued.front());
        queued.pop_front();
        queueAhead();
        AddFolderSongs(current, readers);
        readers.dropBefore(current.endTicket);
    }
    stopped_ = stopRequested_;
    const qint64 added = qint64(collected_.size());
    catalogue_.append(std::move(collected_));
    collected_ = {};
    return added;
}

qint64 FolderScan::CountFiles(const QString& folder) const
{
    qint64 count = 0;
    FolderWalk walk(folder, includeSubfolders_, nullptr);  // a count needs no order
    while (const std::optional<WalkStep> step = walk.next()) {
        if (step->listing) {
            const std::vector<DirEntry>& entries = step->listing->entries;
            count += std::count_if(entries.begin(), entries.end(), [](const DirEntry& e) { return e.isFile && isMp3Name(e.name); });
        }
    }
    return count;
}

bool FolderScan::queueNextFolder(FolderWalk& walk, const DriveInfo& drives, ReaderPool& readers, std::deque<QueuedFolder>& queued)
{
    std::optional<WalkStep> step = walk.next();
    if (!step)
        return false;
    QueuedFolder& folder = queued.emplace_back();
    folder.step = std::move(*step);
    if (!folder.step.listing)
        return true;
    const QString& path = folder.step.path;
    const std::optional<MountEntry> root = folder.step.resolved ? drives.driveRootOfResolved(path) : drives.driveRoot(path);
    const QString driveType = drives.driveTypeName(root);
    const bool onCd = driveType == kCdRom;
    const QString serial = onCd ? drives.volumeSerial(root) : QString();
    folder.source = SongSource{path, {}, 0, {}, {}, driveType, serial, cdName_};
    folder.cdIdentifier = onCd ? cdName_ + QLatin1Char('/') + serial : QString();

    std::vector<ReaderPool::Read> reads;
    for (const DirEntry& e : folder.step.listing->entries) {
        if (!e.isFile || e.isFolder || !isMp3Name(e.name))
            continue;
        // Each read shares the listing: the folder stays open while any song of it is read.
        reads.push_back([listing = folder.step.listing, source = folder.source, name = e.name, readId3v2 = readId3v2_] {
            return readSong(listing->handle.fd(), source, name, readId3v2);
        });
    }
    const size_t count = reads.size();
    folder.firstTicket = readers.add(std::move(reads));
    folder.endTicket = folder.firstTicket + count;
    return true;
}

void FolderScan::reportProgress()
{
    const auto now = std::chrono::steady_clock::now();
    if (now - lastProgress_ < std::chrono::milliseconds(50))
        return;
    lastProgress_ = now;
    dialogs_.fileProgress(total_, qint64(collected_.size()));
}

void FolderScan::AddFolderSongs(const QueuedFolder& folder, ReaderPool& readers)
{
    const QString& p = folder.step.path;
    if (!folder.step.listing) {
        skipped_.push_back({p, errorText(folder.step.error)});
        return;
    }
    std::vector<SongRecord> oldRows;
    if (catalogue_.FolderPresent(p, folder.cdIdentifier)) {
        if (!dialogs_.askUpdateFolder(p))
            return;
        oldRows = catalogue_.takeFolder(p, folder.cdIdentifier);
    }
    lastProgress_ = std::chrono::steady_clock::now();
    dialogs_.folderProgress(total_, qint64(collected_.size()));
    // A stop leaves the folder as it was before the scan: none of its new rows,
    // its old ones back.
    const size_t rowsBefore = collected_.size();
    const size_t skipsBefore = skipped_.size();
    const auto leaveOut = [&] {
        collected_.erase(collected_.begin() + qsizetype(rowsBefore), collected_.end());
        skipped_.erase(skipped_.begin() + qsizetype(skipsBefore), skipped_.end());
        std::move(oldRows.begin(), oldRows.end(), std::back_inserter(collected_));
    };

    size_t ticket = folder.firstTicket;
    qint64 unreadId3v2 = 0;
    for (const DirEntry& e : folder.step.listing->entries) {
        if (e.isFolder || !isMp3Name(e.name))
            continue;
        if (stopRequested_) {
            leaveOut();
            return;
        }
        if (!e.isFile) {
            skipped_.push_back({p + e.name, errorText(kNotRegularFile)});
            continue;
        }
        SongRead song = readers.take(ticket++, [this] { reportProgress(); });
        reportProgress();
        if (song.read == clsMP3::ReadResult::Missing)
            continue;  // gone since the folder was listed
        if (song.read == clsMP3::ReadResult::Unreadable) {
            skipped_.push_back({p + e.name, errorText(song.readError)});
            // An update never blanks a row it cannot read again; a new file that
            // cannot be read gets the cleared header.
            if (const SongRecord* old = rowNamed(oldRows, e.name)) {
                collected_.push_back(*old);
                continue;
            }
        }
        if (song.unreadId3v2)
            ++unreadId3v2;
        collected_.push_back(std::move(song.row));
    }
    unreadId3v2Files_ += unreadId3v2;
}

}  // namespace sonivo
