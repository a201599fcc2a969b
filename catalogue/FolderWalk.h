#pragma once
// The folders of a tree in the scan's order, one at a time, so that a scan can
// list folders ahead of the one whose songs it is making rows of: the folder
// first, then, with subfolders included, each subfolder's tree, in name order.
// Folders are named by their path without links; a folder reached twice (a link
// loop, two links to one folder) comes once.

#include "catalogue/NameOrder.h"
#include "platform/Directory.h"

#include <memory>
#include <set>

namespace sonivo {

// An open folder and its entries, in name order.
struct FolderListing {
    FolderHandle handle;
    std::vector<DirEntry> entries;
};

struct WalkStep {
    QString path;          // ends with "/"
    bool resolved = true;  // the path has no links (false only where the system could not tell)
    // Shared with the walk, which lists the subfolders from it; nothing when the
    // folder could not be opened or listed.
    std::shared_ptr<const FolderListing> listing;
    int error = 0;  // errno when there is no listing
};

class FolderWalk {
public:
    // The order must outlive the walk; without one each folder's entries, and its
    // subfolders, come as the file system lists them, which is enough to count them.
    FolderWalk(const QString& root, bool includeSubfolders, const NameOrder* order);
    // The next folder, or nothing at the end of the tree.
    std::optional<WalkStep> next();

private:
    // The step for a folder just opened; nothing when it was reached before.
    std::optional<WalkStep> enter(FolderHandle handle, const QString& path, bool resolved);

    // The open folders from the root down, not a recursion: no depth of tree can
    // overflow it.
    struct Level {
        std::shared_ptr<const FolderListing> listing;
        QString path;
        bool resolved;
        size_t next = 0;
    };
    std::vector<Level> stack_;
    std::set<FolderId> visited_;
    QString root_;
    bool includeSubfolders_;
    const NameOrder* order_;
    bool started_ = false;
};

}  // namespace sonivo
