#pragma once
// File-type icons for the catalogue's rows, one image per key shared by every row
// of that key: all songs share the key ".mp3". Files whose icons are their own
// (programs, shortcuts, icons) are keyed by their whole name.

#include "catalogue/Catalogue.h"

#include <QIcon>
#include <vector>

namespace sonivo {

// The lower-case key of a name: the whole name for "*.scr;*.exe;*.ico;*.lnk;*.cpl;
// *.msc" and ".desktop" launchers, ".Folder" for an existing folder, else the part
// from the last "." (the whole name when there is none).
QString iconKey(const QString& name, bool isFolder);

class FileIcons {
public:
    // Icon number n (from 1) is images()[n - 1].
    const std::vector<QIcon>& images() const { return images_; }
    // The number of the key's icon, made the first time the key is asked for.
    quint32 iconFor(const QString& key);
    // Gives every row without an icon its icon; returns how many rows got one.
    qsizetype refreshIcons(Catalogue& catalogue);
    void clear();

private:
    std::vector<QIcon> images_;
    std::vector<QString> keys_;  // the key of each image
};

}  // namespace sonivo
