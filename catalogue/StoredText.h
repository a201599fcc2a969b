#pragma once
// The form in which a record keeps its texts: UTF-8, except that a UTF-16 half
// without its partner (as a name's byte that is not UTF-8 becomes, U+DC80 plus
// the byte) is written as the three bytes UTF-8 would give its code. Every
// QString comes back unchanged, and a valid UTF-8 text is already in this form.

#include <QByteArrayView>
#include <QString>
#include <string>

namespace sonivo {

void appendStored(std::string& out, QStringView text);
std::string toStored(QStringView text);
void appendDecoded(QString& out, QByteArrayView stored);
QString decodeStored(QByteArrayView stored);
// The text in lower case, as QString::toLower makes it.
void appendLowered(QString& out, QByteArrayView stored);

// The character (or lone half) at p, p moved past it; p < end. Bytes that no
// stored text holds give U+FFFD, one byte at a time, never read past end.
inline char32_t takeStoredChar(const uchar*& p, const uchar* end)
{
    const uchar b = *p;
    const ptrdiff_t left = end - p;
    char32_t code = QChar::ReplacementCharacter;
    ptrdiff_t length = 1;
    if (b < 0x80) {
        code = b;
    } else if (b >= 0xF0 && left >= 4) {
        code = char32_t(b & 0x07) << 18 | char32_t(p[1] & 0x3F) << 12 | char32_t(p[2] & 0x3F) << 6 | (p[3] & 0x3F);
        length = 4;
    } else if (b >= 0xE0 && left >= 3) {
        code = char32_t(b & 0x0F) << 12 | char32_t(p[1] & 0x3F) << 6 | (p[2] & 0x3F);
        length = 3;
    } else if (b >= 0xC0 && left >= 2) {
        code = char32_t(b & 0x1F) << 6 | (p[1] & 0x3F);
        length = 2;
    }
    p += length;
    return code;
}

// The code unit of a three-byte sequence that holds a lone UTF-16 half, or 0.
inline char16_t storedHalf(const char* p)
{
    const auto b0 = static_cast<unsigned char>(p[0]);
    const auto b1 = static_cast<unsigned char>(p[1]);
    if (b0 != 0xED || b1 < 0xA0)
        return 0;
    return char16_t(0xD000 | (b1 & 0x3F) << 6 | (static_cast<unsigned char>(p[2]) & 0x3F));
}

// Writes the code at w as one or two UTF-16 code units; returns what follows.
inline char16_t* writeChar(char16_t* w, char32_t code)
{
    if (QChar::requiresSurrogates(code)) {
        *w++ = QChar::highSurrogate(code);
        *w++ = QChar::lowSurrogate(code);
    } else {
        *w++ = char16_t(code);
    }
    return w;
}

// Writes the stored text from w on, character by character whatever its
// neighbours: ASCII letters in lower case, every other character as put(code, w)
// writes it; returns where the text ends, or nullptr when put returned it for a
// character it cannot map alone. Two code units a stored byte are room enough
// when put writes at most two a character.
template <typename Put> char16_t* writeMapped(char16_t* w, QByteArrayView stored, Put put)
{
    const auto* p = reinterpret_cast<const uchar*>(stored.data());
    const auto* end = p + stored.size();
    while (p < end) {
        if (*p < 0x80) {
            const uchar b = *p++;
            *w++ = char16_t(b >= 'A' && b <= 'Z' ? b + 32 : b);
            continue;
        }
        w = put(takeStoredChar(p, end), w);
        if (!w)
            return nullptr;
    }
    return w;
}

}  // namespace sonivo
