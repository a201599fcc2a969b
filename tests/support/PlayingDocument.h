#pragma once
// A document of rows for copies of a fixture song, the player on the silent output,
// and scripted message boxes: what tests of the commands over the player share.

#include "catalogue/ListDocument.h"
#include "player/Transport.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TempFiles.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace sonivo::test {

class PlayingDocument : public ::testing::Test {
protected:
    TempFiles files;
    ScriptedDialogs dialogs;
    DriveInfo drives{systemMountTable()};
    ListDocument document{dialogs, drives};
    Catalogue& catalogue = document.catalogue();
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    Transport transport{catalogue, [this] {
        return std::make_unique<AudioMediaControl>(AudioOptions{AudioOptions::Output::Null, clock});
    }};

    // A row named name with some columns; the file is a copy of a fixture song when copy is true.
    RowId addSong(const QString& name, const QString& album = {}, const QString& artist = {}, bool copy = true)
    {
        if (copy) {
            EXPECT_TRUE(QFile::copy(fixture("tone-3s-8k.mp3"), files.path(name))) << name.toStdString();
        }
        SongRecord r;
        r.setColumn(ColFileName, name);
        r.setColumn(ColFolder, QFileInfo(files.path(name)).path() + QLatin1Char('/'));
        r.setColumn(ColAlbum, album);
        r.setColumn(ColArtist, artist);
        r.setColumn(ColDuration, QStringLiteral("03.45"));
        r.setColumn(ColBitRate, QStringLiteral("128"));
        r.setColumn(ColGenre, QStringLiteral("Typed genre"));
        catalogue.append(r);
        return catalogue.id(catalogue.size() - 1);
    }
};

}  // namespace sonivo::test
