#include "common/Windows1252.h"

namespace sonivo {
namespace {

// 0x80 to 0x9F; the five bytes the code page leaves undefined map to the C1
// control of the same value, as the platform's own conversion does.
constexpr char16_t kHighControls[32] = {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};

char16_t toUnicode(unsigned char b)
{
    return (b >= 0x80 && b <= 0x9F) ? kHighControls[b - 0x80] : char16_t(b);
}

int byteOf(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int k = 0; k < 32; ++k) {
        if (kHighControls[k] == c)
            return 0x80 + k;
    }
    return -1;
}

}  // namespace

QString decodeWindows1252(const char* bytes, qsizetype length)
{
    QString out(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i)
        out[i] = QChar(toUnicode(static_cast<unsigned char>(bytes[i])));
    return out;
}

QByteArray encodeWindows1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text.at(i + 1).unicode()))
            ++i;  // a character beyond the BMP is one "?", not two
        const int b = byteOf(c);
        out.append(b < 0 ? '?' : char(b));
    }
    return out;
}

}  // namespace sonivo
