#include "catalogue/FolderScan.h"

#include "analysis/FileAttributes.h"
#include "analysis/clsMP3.h"

namespace sonivo {
namespace {

const QString kCdRom = QStringLiteral("CD-ROM drive");

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// False when the folder was visited already (a link loop, or two links to it).
bool firstVisit(const QString& folder, std::set<FolderId>& visited)
{
    const std::optional<FolderId> id = folderId(folder);
    return id && visited.insert(*id).second;
}

}  // namespace

QString updateFolderQuestion(const QString& folder)
{
    // The path as it is: on Linux a path in upper case names another folder.
    return QStringLiteral("La cartella '") + folder + QStringLiteral("' è già presente nell'elenco.")
        + QLatin1Char('\r') + QStringLiteral("Vuoi aggiornarla?");
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
    total_ = CountFiles(folder);
    dialogs_.scanCounted(total_);
    if (drives_.driveTypeName(folder) == kCdRom)
        cdName_ = dialogs_.askCdName(drives_.volumeLabel(folder));
    collected_.clear();
    const MountSnapshot mounts(drives_.table());
    const DriveInfo drives(mounts);
    std::set<FolderId> visited;
    WalkFolders(folder, drives, visited);
    const qint64 added = qint64(collected_.size());
    catalogue_.append(std::move(collected_));
    collected_ = {};
    return added;
}

qint64 FolderScan::CountFiles(const QString& folder) const
{
    qint64 count = 0;
    std::set<FolderId> visited;
    countIn(folder, visited, count);
    return count;
}

void FolderScan::countIn(const QString& folder, std::set<FolderId>& visited, qint64& count) const
{
    const QString p = withSlash(folder);
    if (!firstVisit(p, visited))
        return;
    const std::optional<std::vector<DirEntry>> entries = listFolder(p, EntryDetail::TypeOnly);
    if (!entries)
        return;
    for (const DirEntry& e : *entries) {
        if (!e.isFolder && isMp3Name(e.name))
            ++count;
    }
    if (!includeSubfolders_)
        return;
    for (const DirEntry& e : *entries) {
        if (e.isFolder)
            countIn(p + e.name, visited, count);
    }
}

void FolderScan::WalkFolders(const QString& folder, const DriveInfo& drives, std::set<FolderId>& visited)
{
    const QString p = withSlash(folder);
    if (!firstVisit(p, visited))
        return;
    const std::optional<std::vector<DirEntry>> entries = listFolder(p);
    if (!entries)
        return;  // a folder that cannot be listed contributes nothing
    AddFolderSongs(p, drives, *entries);
    if (!includeSubfolders_)
        return;
    for (const DirEntry& e : *entries) {
        if (e.isFolder)
            WalkFolders(p + e.name, drives, visited);
    }
}

void FolderScan::AddFolderSongs(const QString& p, const DriveInfo& drives, const std::vector<DirEntry>& entries)
{
    const std::optional<MountEntry> root = drives.driveRoot(p);
    const QString driveType = drives.driveTypeName(root);
    const bool onCd = driveType == kCdRom;
    const QString serial = onCd ? drives.volumeSerial(root) : QString();
    const QString cdIdentifier = onCd ? cdName_ + QLatin1Char('/') + serial : QString();
    if (catalogue_.FolderPresent(p, cdIdentifier)) {
        if (!dialogs_.askUpdateFolder(p))
            return;
        catalogue_.removeFolder(p, cdIdentifier);
    }
    dialogs_.folderProgress(total_, qint64(collected_.size()));

    clsMP3 mp3;
    SongSource source{p, {}, 0, {}, {}, driveType, serial, cdName_};
    for (const DirEntry& e : entries) {
        if (e.isFolder || !isMp3Name(e.name))
            continue;
        mp3.setFullName(p + e.name);
        // A file that cannot be read keeps the cleared header and gets its row.
        if (mp3.ReadMP3Info() == clsMP3::ReadResult::Missing)
            continue;  // gone since the folder was listed
        source.name = e.name;
        source.size = e.size;
        source.created = e.created;
        source.attributes = attributeText(e.mode, e.name);
        collected_.push_back(MakeSongLine(source, mp3));
    }
}

}  // namespace sonivo
