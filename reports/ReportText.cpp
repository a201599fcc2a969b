#include "reports/ReportText.h"

#include "common/NativePath.h"
#include "common/Windows1252.h"

#include <charconv>

namespace sonivo {

void showEscapedBytes(QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (const int byte = escapedByte(text.at(i).unicode()); byte >= 0) {
            const char c = char(byte);
            text[i] = decodeWindows1252(&c, 1).at(0);
        }
    }
}

QStringView withoutExtension(QStringView name)
{
    qsizetype end = name.size();
    for (int k = 0; k < 4 && end > 0; ++k) {
        --end;
        if (end > 0 && name.at(end).isLowSurrogate() && name.at(end - 1).isHighSurrogate())
            --end;  // a character beyond the first plane is one character
    }
    return name.left(end);
}

void appendHtmlText(QByteArray& out, QStringView text)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else {
            char32_t code = c;
            if (QChar::isHighSurrogate(c) && i + 1 < n && text.at(i + 1).isLowSurrogate())
                code = QChar::surrogateToUcs4(c, text.at(++i).unicode());
            else if (QChar::isSurrogate(c))
                code = QChar::ReplacementCharacter;
            char digits[16] = {'&', '#'};
            char* end = std::to_chars(digits + 2, digits + sizeof digits - 1, quint32(code)).ptr;
            *end++ = ';';
            out.append(digits, end - digits);
        }
    }
}

}  // namespace sonivo
