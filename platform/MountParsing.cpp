#include "platform/MountParsing.h"

#include "common/NativePath.h"

#include <QByteArrayView>
#include <QCryptographicHash>
#include <QList>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace sonivo {
namespace {

bool isOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

bool isHexText(QStringView text)
{
    return !text.isEmpty() && std::ranges::all_of(text, [](QChar c) { return hexValue(c.unicode()) >= 0; });
}

// The byte of the three characters after a backslash in "\040", or nothing.
std::optional<char> octalEscape(QByteArrayView e)
{
    if (e[0] < '0' || e[0] > '3' || !isOctalDigit(e[1]) || !isOctalDigit(e[2]))
        return std::nullopt;
    return char((e[0] - '0') << 6 | (e[1] - '0') << 3 | (e[2] - '0'));
}

// The byte of the three characters after a backslash in "\x20", or nothing.
std::optional<char> hexEscape(QByteArrayView e)
{
    const int high = hexValue(char16_t(e[1]));
    const int low = hexValue(char16_t(e[2]));
    if (e[0] != 'x' || high < 0 || low < 0)
        return std::nullopt;
    return char(high << 4 | low);
}

// Replaces each backslash and the three characters after it with the byte
// readEscape reads from those three; a backslash it reads nothing from is kept.
QByteArray decodeEscapes(const QByteArray& text, std::optional<char> (*readEscape)(QByteArrayView))
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const std::optional<char> byte
            = text[i] == '\\' && i + 3 < text.size() ? readEscape(QByteArrayView(text).sliced(i + 1, 3)) : std::nullopt;
        out.append(byte.value_or(text[i]));
        if (byte)
            i += 3;
    }
    return out;
}

QString decodedField(const QByteArray& field)
{
    return fromNativePath(decodeOctalEscapes(field));
}

}  // namespace

QByteArray decodeOctalEscapes(const QByteArray& field)
{
    return decodeEscapes(field, octalEscape);
}

std::optional<MountEntry> parseMountInfoLine(const QByteArray& line)
{
    // id parent major:minor root mount-point options [optional fields] - type source super-options
    constexpr qsizetype kMountPoint = 4;
    constexpr qsizetype kFirstOptionalField = 6;
    const QList<QByteArray> fields = line.split(' ');
    const qsizetype separator = fields.indexOf(QByteArray("-"), kFirstOptionalField);
    if (separator < 0 || separator + 2 >= fields.size())
        return std::nullopt;
    return MountEntry{
        .mountPoint = decodedField(fields[kMountPoint]),
        .device = decodedField(fields[separator + 2]),
        .fsType = decodedField(fields[separator + 1]),
    };
}

QString decodeUdevName(const QString& name)
{
    return fromNativePath(decodeEscapes(toNativePath(name), hexEscape));
}

quint32 serialFromUuid(const QString& uuid)
{
    const QStringView text(uuid);
    if (text.size() == 9 && text[4] == u'-' && isHexText(text.first(4)) && isHexText(text.last(4)))
        return text.first(4).toUInt(nullptr, 16) << 16 | text.last(4).toUInt(nullptr, 16);
    if (text.size() == 16 && isHexText(text))
        return text.last(8).toUInt(nullptr, 16);
    const QByteArray digest = QCryptographicHash::hash(uuid.toUtf8(), QCryptographicHash::Sha1);
    return qFromBigEndian<quint32>(digest.constData());
}

bool isDiscFileSystem(const QString& fsType)
{
    return fsType == QLatin1String("iso9660") || fsType == QLatin1String("udf");
}

std::optional<QString> canonicalPath(const QString& path)
{
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(toNativePath(path).constData(), nullptr), &std::free);
    if (!resolved)
        return std::nullopt;
    return fromNativePath(QByteArray(resolved.get()));
}

}  // namespace sonivo
