#pragma once
// What the dialog tests share: a document of rows for copies of a fixture song,
// the player on the silent output, and scripted message boxes.

#include "catalogue/ListDocument.h"
#include "player/Transport.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TempFiles.h"

#include <QAccessible>
#include <QFile>
#include <QFileInfo>
#include <QWidget>
#include <gtest/gtest.h>

namespace sonivo::test {

class DialogFixture : public ::testing::Test {
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
        if (copy)
            QFile::copy(fixture("tone-3s-8k.mp3"), files.path(name));
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

    template <typename W> static W* child(const QWidget& parent, const char* name)
    {
        W* w = parent.findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
};

// The name a screen reader reads for the widget.
inline QString accessibleName(QWidget* w)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

}  // namespace sonivo::test
