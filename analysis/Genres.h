#pragma once
// The 148 ID3v1 genre names, numbered 0 to 147, in the program's own spellings.

#include <QString>
#include <QStringList>
#include <optional>

namespace sonivo {

constexpr int kUnknownGenre = 255;

// The names in list order (what fills a genre box).
const QStringList& ListaGeneri();
// The name with that number, or "Unknown" outside 0 to 147.
QString GenreLookup(int number);
// The number of the name equal to the text (exact comparison), or 255.
int GenreLookup(const QString& name);
// The number of a text that is a genre number from 0 to 255 ("17"), or nothing.
std::optional<int> genreNumberOf(const QString& text);
// The genre byte to write for a text: a number from 0 to 255 is that number,
// anything else the number of its name (255 when no name is equal).
int genreNumberForWrite(const QString& text);

}  // namespace sonivo
