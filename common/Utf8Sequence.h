#pragma once
// Reading one UTF-8 sequence: a file name's bytes, a list line's.

#include <QtGlobal>

namespace sonivo {

// The length of the well-formed UTF-8 sequence that begins at p and ends by end,
// and the code it stands for in *code: no overlong form, no UTF-16 half, nothing
// beyond U+10FFFF. 0 when the bytes there are no such sequence.
inline int utf8SequenceLength(const uchar* p, const uchar* end, char32_t* code)
{
    const uchar b0 = p[0];
    int len;
    char32_t cp;
    char32_t min;
    if (b0 < 0x80) {
        *code = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (end - p < len)
        return 0;
    for (int k = 1; k < len; ++k) {
        const uchar b = p[k];
        if ((b & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    *code = cp;
    return len;
}

}  // namespace sonivo
