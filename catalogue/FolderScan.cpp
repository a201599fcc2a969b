#include "catalogue/FolderScan.h"

#include "analysis/FileAttributes.h"
#include "analysis/clsMP3.h"
#include "catalogue/ReaderPool.h"
#include "platform/NativeFile.h"

#include <algorithm>
#include <set>

namespace sonivo {
namespace {

const QString kCdRom = QStringLiteral("CD-ROM drive");

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

const SongRecord* rowNamed(const std::vector<SongRecord>& rows, const QString& name)
{
    const std::string stored = toStored(name);
    const auto it
        = std::find_if(rows.begin(), rows.end(), [&](const SongRecord& r) { return r.stored(ColFileName) == QByteArrayView(stored); });
    return it == rows.end() ? nullptr : &*it;
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

qint64 FolderScan::ScanFolders(const QString& folder)
{
    skipped_.clear();
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
    walk(folder, EntryDetail::Full, &skipped_, [&](const QString& path, const FolderHandle& handle, const std::vector<DirEntry>& entries) {
        AddFolderSongs(path, handle, drives, entries, readers);
    });
    stopped_ = stopRequested_;
    const qint64 added = qint64(collected_.size());
    catalogue_.append(std::move(collected_));
    collected_ = {};
    return added;
}

qint64 FolderScan::CountFiles(const QString& folder) const
{
    qint64 count = 0;
    walk(folder, EntryDetail::TypeOnly, nullptr, [&](const QString&, const FolderHandle&, const std::vector<DirEntry>& entries) {
        count += std::count_if(entries.begin(), entries.end(), [](const DirEntry& e) { return e.isFile && isMp3Name(e.name); });
    });
    return count;
}

template <typename Visit> void FolderScan::walk(const QString& root, EntryDetail detail, std::vector<ScanSkip>* skips, Visit visit) const
{
    // A stack of the open folders from the root down, not a recursion: no depth
    // of tree can overflow it.
    struct Level {
        FolderHandle handle;
        QString path;
        std::vector<DirEntry> entries;
        size_t next = 0;
    };
    std::vector<Level> stack;
    std::set<FolderId> visited;  // link loops, and folders reached twice
    const auto enter = [&](FolderHandle handle, const QString& path) {
        std::optional<std::vector<DirEntry>> entries;
        if (handle.isOpen()) {
            const std::optional<FolderId> id = handle.id();
            if (!id || !visited.insert(*id).second)
                return;
            entries = handle.list(detail);
        }
        if (!entries) {
            if (skips)
                skips->push_back({path, errorText(handle.error())});
            return;
        }
        visit(path, handle, *entries);
        if (includeSubfolders_)
            stack.push_back({std::move(handle), path, std::move(*entries)});
    };
    // The root's path is resolved once; below it a folder's path is its parent's
    // and its name, resolved again only where the name is a link.
    FolderHandle top = FolderHandle::open(root);
    const QString rootPath = top.canonicalPath().value_or(withSlash(root));
    enter(std::move(top), rootPath);
    while (!stack.empty() && !stopRequested_) {
        Level& level = stack.back();
        if (level.next == level.entries.size()) {
            stack.pop_back();
            continue;
        }
        const DirEntry& e = level.entries[level.next++];
        if (!e.isFolder)
            continue;
        FolderHandle child = level.handle.openChild(e.name);
        const QString plain = level.path + e.name + QLatin1Char('/');
        const QString path = e.isLink ? child.canonicalPath().value_or(plain) : plain;
        enter(std::move(child), path);  // may grow the stack: level is not used after
    }
}

void FolderScan::reportProgress()
{
    const auto now = std::chrono::steady_clock::now();
    if (now - lastProgress_ < std::chrono::milliseconds(50))
        return;
    lastProgress_ = now;
    dialogs_.fileProgress(total_, qint64(collected_.size()));
}

void FolderScan::AddFolderSongs(
    const QString& p, const FolderHandle& handle, const DriveInfo& drives, const std::vector<DirEntry>& entries, ReaderPool& readers)
{
    const std::optional<MountEntry> root = drives.driveRoot(p);
    const QString driveType = drives.driveTypeName(root);
    const bool onCd = driveType == kCdRom;
    const QString serial = onCd ? drives.volumeSerial(root) : QString();
    const QString cdIdentifier = onCd ? cdName_ + QLatin1Char('/') + serial : QString();
    if (stopRequested_)
        return;
    std::vector<SongRecord> oldRows;
    if (catalogue_.FolderPresent(p, cdIdentifier)) {
        if (!dialogs_.askUpdateFolder(p))
            return;
        oldRows = catalogue_.takeFolder(p, cdIdentifier);
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

    std::vector<const DirEntry*> songs;
    for (const DirEntry& e : entries) {
        if (e.isFile && !e.isFolder && isMp3Name(e.name))
            songs.push_back(&e);
    }
    // The readers use the folder and its entries: they stop before these go.
    struct Finish {
        ReaderPool& readers;
        ~Finish() { readers.finish(); }
    } finish{readers};
    const SongSource folderSource{p, {}, 0, {}, {}, driveType, serial, cdName_};
    const int fd = handle.fd();
    readers.start(songs.size(), [&songs, &folderSource, fd](size_t i) {
        const DirEntry& e = *songs[i];
        clsMP3 mp3;
        mp3.setFullName(folderSource.folder + e.name);
        SongRead song{mp3.ReadMP3Info(fd), mp3.readError(), {}};
        if (song.read == clsMP3::ReadResult::Missing)
            return song;
        SongSource source = folderSource;
        source.name = e.name;
        source.size = e.size;
        source.created = e.created;
        source.attributes = attributeText(e.mode, e.name);
        song.record = MakeSongLine(source, mp3);
        return song;
    });
    size_t next = 0;
    for (const DirEntry& e : entries) {
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
        SongRead song = readers.take(next++, [this] { reportProgress(); });
        reportProgress();
        if (song.read == clsMP3::ReadResult::Missing)
            continue;  // gone since the folder was listed
        if (song.read == clsMP3::ReadResult::Unreadable) {
            skipped_.push_back({p + e.name, errorText(song.error)});
            // An update never blanks a row it cannot read again; a new file that
            // cannot be read gets the cleared header.
            if (const SongRecord* old = rowNamed(oldRows, e.name)) {
                collected_.push_back(*old);
                continue;
            }
        }
        collected_.push_back(std::move(song.record));
    }
}

}  // namespace sonivo
