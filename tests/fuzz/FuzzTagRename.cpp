// Fuzz target: the tag write path and the rename pattern. The input, cut at each
// 0x1F byte, gives the title, artist, album, year, comment, genre and a pattern;
// they are written as the tag of a scratch file, read back, and the pattern is
// filled from them. What is read back is what the tag can hold of each value, and
// a value put into a name is never read again as a pattern.

#include "analysis/Id3v1Tag.h"
#include "analysis/RenamePattern.h"
#include "analysis/clsMP3.h"
#include "common/NativePath.h"

#include <QList>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

using namespace sonivo;

// One scratch file for the whole run, holding 1,000 bytes of audio before each
// write; its name is plain bytes, so that it is still there for the exit handler.
char scratchName[] = "/tmp/sonivo-fuzz-tag-XXXXXX";

const QString& scratchFile()
{
    static const QString path = [] {
        const int fd = ::mkstemp(scratchName);
        if (fd < 0)
            std::abort();
        ::close(fd);
        std::atexit([] { ::unlink(scratchName); });
        return fromNativePath(scratchName);
    }();
    return path;
}

void resetScratch()
{
    const QByteArray path = toNativePath(scratchFile());
    const QByteArray audio(1000, '\0');
    FILE* f = std::fopen(path.constData(), "wb");
    if (!f || std::fwrite(audio.constData(), 1, size_t(audio.size()), f) != size_t(audio.size()) || std::fclose(f) != 0)
        std::abort();
}

bool holdsNameCharacters(const QString& text)
{
    for (const QChar c : u"\0\x01\"*?/\\:<>|\n")
        if (text.contains(c))
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<QByteArray> parts = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\x1f');
    QStringList values;
    for (qsizetype i = 0; i < 7; ++i)
        values << (i < parts.size() ? QString::fromUtf8(parts.at(i)) : QString());

    resetScratch();
    clsMP3 mp3;
    mp3.setFullName(scratchFile());
    if (mp3.ReadMP3Info() != clsMP3::ReadResult::Done)
        std::abort();
    mp3.setTitle(values[0]);
    mp3.setArtist(values[1]);
    mp3.setAlbum(values[2]);
    mp3.setYear(values[3]);
    mp3.setComment(values[4]);
    mp3.setGenre(values[5]);
    if (mp3.WriteErrore() || mp3.ReadMP3Info() != clsMP3::ReadResult::Done || !mp3.TagPresent())
        __builtin_trap();

    const std::pair<QString, Id3v1Field> written[] = {
        {mp3.Title(), Id3v1Field::Title},
        {mp3.Artist(), Id3v1Field::Artist},
        {mp3.Album(), Id3v1Field::Album},
        {mp3.Year(), Id3v1Field::Year},
        {mp3.Comment(), Id3v1Field::Comment},
    };
    for (size_t i = 0; i < std::size(written); ++i) {
        const QString held = fitToField(values[qsizetype(i)], written[i].second);
        // A NUL ends a field when it is read.
        if (!held.contains(QChar(0)) && written[i].first != held.trimmed())
            __builtin_trap();
    }

    const QString name = fillRenamePattern(values[6], mp3);
    if (!name.isEmpty()
        && (!name.endsWith(QLatin1String(".mp3")) || name.contains(QLatin1Char('/')) || name.contains(QChar(0))
            || name == QLatin1String(".mp3")))
        __builtin_trap();
    const QString title = mp3.Title();
    if (!title.isEmpty() && holdsNameCharacters(title) && !title.endsWith(QLatin1String(".mp3"))
        && fillRenamePattern(QStringLiteral("%n"), mp3) != title + QLatin1String(".mp3"))
        __builtin_trap();  // the title went in once, as it is
    return 0;
}
