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

// The code unit of a three-byte sequence that holds a lone UTF-16 half, or 0.
inline char16_t storedHalf(const char* p)
{
    const auto b0 = static_cast<unsigned char>(p[0]);
    const auto b1 = static_cast<unsigned char>(p[1]);
    if (b0 != 0xED || b1 < 0xA0)
        return 0;
    return char16_t(0xD000 | (b1 & 0x3F) << 6 | (static_cast<unsigned char>(p[2]) & 0x3F));
}

}  // namespace sonivo
