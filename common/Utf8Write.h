#pragma once
// One code point written in UTF-8's form, one to four bytes: the bytes order as
// the numbers they hold do. A UTF-16 half given alone takes the three-byte form.

#include <QtGlobal>

namespace sonivo {

// Writes the code at w and returns where it ends.
template <typename Byte> Byte* writeUtf8(Byte* w, char32_t code)
{
    if (code < 0x80) {
        *w++ = Byte(code);
    } else if (code < 0x800) {
        *w++ = Byte(0xC0 | code >> 6);
        *w++ = Byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *w++ = Byte(0xE0 | code >> 12);
        *w++ = Byte(0x80 | (code >> 6 & 0x3F));
        *w++ = Byte(0x80 | (code & 0x3F));
    } else {
        *w++ = Byte(0xF0 | code >> 18);
        *w++ = Byte(0x80 | (code >> 12 & 0x3F));
        *w++ = Byte(0x80 | (code >> 6 & 0x3F));
        *w++ = Byte(0x80 | (code & 0x3F));
    }
    return w;
}

}  // namespace sonivo
