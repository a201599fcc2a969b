#pragma once
// Songs handed to the desktop's player: one catalogue song, or the checked rows
// as a temporary playlist. The playlist lives in a folder of the user's runtime
// directory that only the user can enter, made at the first hand-off and removed
// at shutdown.

#include "catalogue/Catalogue.h"

#include <QTemporaryDir>
#include <memory>

namespace sonivo {

class DesktopDialogs;

class ExternalPlayer {
public:
    ExternalPlayer(const Catalogue& catalogue, DesktopDialogs& dialogs);
    ~ExternalPlayer();

    // Hands row's song to the desktop.
    void openSong(qsizetype row);
    // Writes every checked row, in catalogue order, to the playlist and hands it
    // to the desktop; an earlier playlist is replaced.
    void openQueue();
    // The playlist's path; "" before the first openQueue.
    QString playlistPath() const;
    // Removes the playlist and its folder.
    void removePlaylist() { folder_.reset(); }

private:
    void handOff(const QString& file);

    const Catalogue& catalogue_;
    DesktopDialogs& dialogs_;
    std::unique_ptr<QTemporaryDir> folder_;
};

}  // namespace sonivo
