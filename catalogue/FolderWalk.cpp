#include "catalogue/FolderWalk.h"

namespace sonivo {
namespace {

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

}  // namespace

FolderWalk::FolderWalk(const QString& root, bool includeSubfolders, const NameOrder* order)
    : root_(root), includeSubfolders_(includeSubfolders), order_(order)
{
}

std::optional<WalkStep> FolderWalk::enter(FolderHandle handle, const QString& path, bool resolved)
{
    std::optional<std::vector<DirEntry>> entries;
    if (handle.isOpen()) {
        const std::optional<FolderId> id = handle.id();
        if (!id || !visited_.insert(*id).second)
            return std::nullopt;
        entries = handle.list();
    }
    if (!entries)
        return WalkStep{path, resolved, nullptr, handle.error()};
    if (order_)
        order_->sort(*entries);
    auto listing = std::make_shared<const FolderListing>(FolderListing{std::move(handle), std::move(*entries)});
    if (includeSubfolders_)
        stack_.push_back({listing, path, resolved});
    return WalkStep{path, resolved, std::move(listing), 0};
}

std::optional<WalkStep> FolderWalk::next()
{
    if (!std::exchange(started_, true)) {
        // The root's path is resolved once; below it a folder's path is its
        // parent's and its name, resolved again only where the name is a link.
        FolderHandle top = FolderHandle::open(root_);
        const std::optional<QString> rootPath = top.canonicalPath();
        if (std::optional<WalkStep> step = enter(std::move(top), rootPath.value_or(withSlash(root_)), rootPath.has_value()))
            return step;
    }
    while (!stack_.empty()) {
        Level& level = stack_.back();
        if (level.next == level.listing->entries.size()) {
            stack_.pop_back();
            continue;
        }
        const DirEntry& e = level.listing->entries[level.next++];
        if (!e.isFolder)
            continue;
        FolderHandle child = level.listing->handle.openChild(e.name);
        const QString plain = level.path + e.name + QLatin1Char('/');
        const std::optional<QString> resolved = e.isLink ? child.canonicalPath() : std::nullopt;
        const bool isResolved = resolved ? true : level.resolved && !e.isLink;
        // enter may grow the stack: level is not used after.
        if (std::optional<WalkStep> step = enter(std::move(child), resolved.value_or(plain), isResolved))
            return step;
    }
    return std::nullopt;
}

}  // namespace sonivo
