#include "analysis/Id3v2Tag.h"

#include "analysis/Genres.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace sonivo {
namespace {

constexpr qint64 kHeaderSize = 10;
// Frame headers and text frames are read through a chunk of this size.
constexpr qint64 kChunk = 4096;
// A text frame is read up to this length; the catalogue shows far less.
constexpr qint64 kMaxTextBytes = 64 * 1024;

constexpr unsigned char kTagUnsync = 0x80;
constexpr unsigned char kTagExtended = 0x40;  // in 2.2: compressed, which no writer did
// The second flag byte of a 2.3 frame, then of a 2.4 frame.
constexpr unsigned char kV3Compressed = 0x80, kV3Encrypted = 0x40, kV3Grouped = 0x20;
constexpr unsigned char kV4Grouped = 0x40, kV4Compressed = 0x08, kV4Encrypted = 0x04, kV4Unsync = 0x02,
                        kV4DataLength = 0x01;

qint64 bigEndian(const unsigned char* p, int n)
{
    qint64 value = 0;
    for (int i = 0; i < n; ++i)
        value = (value << 8) | p[i];
    return value;
}

// Seven bits a byte; nothing when a byte has its top bit set.
std::optional<qint64> syncSafe(const unsigned char* p)
{
    qint64 value = 0;
    for (int i = 0; i < 4; ++i) {
        if (p[i] & 0x80)
            return std::nullopt;
        value = (value << 7) | p[i];
    }
    return value;
}

bool isFrameId(const unsigned char* id, int length)
{
    return std::all_of(id, id + length, [](unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

// The bytes of the tag as the frames see them, read forward. With the whole tag
// unsynchronised (2.2 and 2.3) the 00 after each FF is dropped as it is read.
class TagBytes {
public:
    explicit TagBytes(ByteSource& source) : source_(source) {}

    // Where the tag ends, and whether the whole of it is unsynchronised.
    void limit(qint64 end, bool unsync)
    {
        end_ = end;
        unsync_ = unsync;
    }
    // Raw bytes up to the end of the tag: at least the bytes left to read.
    qint64 left() const { return end_ - pos_; }
    bool failed() const { return failed_; }

    // The next n bytes; false when the tag or the source ends before them.
    bool read(unsigned char* out, qint64 n)
    {
        if (!unsync_) {
            if (!fetch(pos_, out, n))
                return false;
            pos_ += n;
            return true;
        }
        for (qint64 i = 0; i < n;) {
            unsigned char b;
            if (!fetch(pos_, &b, 1))
                return false;
            ++pos_;
            if (!(afterFF_ && b == 0))
                out[i++] = b;
            afterFF_ = b == 0xFF;
        }
        return true;
    }

    void skip(qint64 n)
    {
        if (!unsync_) {
            pos_ = std::min(end_, pos_ + n);
            return;
        }
        unsigned char discard[256];
        for (; n > 0 && !failed_; n -= qint64(sizeof discard)) {
            if (!read(discard, std::min<qint64>(n, sizeof discard)))
                return;
        }
    }

    // The n bytes that begin ahead bytes on, without moving; a tag read without
    // whole-tag unsynchronisation only.
    bool peek(qint64 ahead, unsigned char* out, qint64 n) { return fetch(pos_ + ahead, out, n); }

private:
    bool fetch(qint64 offset, unsigned char* out, qint64 n)
    {
        if (failed_ || offset + n > end_)
            return false;
        if (offset >= chunkStart_ && offset + n <= chunkStart_ + chunkLength_) {
            std::memcpy(out, chunk_.data() + (offset - chunkStart_), size_t(n));
            return true;
        }
        if (n > kChunk) {
            const qint64 got = source_.readAt(offset, out, n);
            failed_ = got < 0;
            return got == n;
        }
        // Small reads follow one another: the chunk serves the next ones too.
        const qint64 got = source_.readAt(offset, chunk_.data(), kChunk);
        failed_ = got < 0;
        chunkStart_ = offset;
        chunkLength_ = std::max<qint64>(got, 0);
        if (chunkLength_ < n)
            return false;
        std::memcpy(out, chunk_.data(), size_t(n));
        return true;
    }

    ByteSource& source_;
    qint64 pos_ = 0;  // offset in the source
    qint64 end_ = kHeaderSize;
    bool unsync_ = false;
    bool afterFF_ = false;
    bool failed_ = false;
    std::array<unsigned char, kChunk> chunk_;
    qint64 chunkStart_ = 0;
    qint64 chunkLength_ = 0;
};

// True when a frame of that size, its header just read, ends where the tag ends,
// its padding begins or another frame header begins.
bool endsWell(TagBytes& bytes, qint64 size)
{
    if (size >= bytes.left())
        return size == bytes.left();
    unsigned char next[4];
    const qint64 room = std::min<qint64>(4, bytes.left() - size);
    if (!bytes.peek(size, next, room))
        return false;
    return next[0] == 0 || (room == 4 && isFrameId(next, 4));
}

// A 2.4 frame size is sync-safe, but some writers put a plain one there: the
// reading after which the next frame, the padding or the tag's end follows wins.
qint64 v4FrameSize(TagBytes& bytes, const unsigned char* p)
{
    const qint64 plain = bigEndian(p, 4);
    const std::optional<qint64> safe = syncSafe(p);
    if (safe && (*safe == plain || endsWell(bytes, *safe)))
        return *safe;
    if (endsWell(bytes, plain))
        return plain;
    return safe.value_or(plain);
}

// Drops the 00 after each FF.
void resynchronise(QByteArray& body)
{
    qsizetype out = 0;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (!(i > 0 && body[i] == 0 && uchar(body[i - 1]) == 0xFF))
            body[out++] = body[i];
    }
    body.truncate(out);
}

// UTF-16 code units up to a zero one; a byte order mark sets the order from there
// on (it may stand in the middle of the text). An odd last byte is dropped.
QString decodeUtf16(const unsigned char* p, qsizetype n, bool bigEndianOrder, qsizetype& consumed)
{
    QString text(n / 2, Qt::Uninitialized);
    QChar* out = text.data();
    qsizetype length = 0;
    consumed = n;
    for (qsizetype i = 0; i + 1 < n; i += 2) {
        const char16_t unit = bigEndianOrder ? char16_t(p[i] << 8 | p[i + 1]) : char16_t(p[i + 1] << 8 | p[i]);
        if (unit == 0) {
            consumed = i + 2;
            break;
        }
        if (unit == 0xFFFE)
            bigEndianOrder = !bigEndianOrder;
        else if (unit != 0xFEFF)
            out[length++] = QChar(unit);
    }
    text.truncate(length);
    return text;
}

// The text up to its terminator in the frame's encoding; consumed counts the bytes
// through the terminator. Nothing for an unknown encoding.
std::optional<QString> decodeText(unsigned char encoding, const unsigned char* p, qsizetype n, qsizetype& consumed)
{
    if (encoding == 1 || encoding == 2)  // UTF-16 (little-endian without a mark) and UTF-16BE
        return decodeUtf16(p, n, encoding == 2, consumed);
    if (encoding > 3)
        return std::nullopt;
    const void* nul = std::memchr(p, 0, size_t(n));
    const qsizetype length = nul ? static_cast<const unsigned char*>(nul) - p : n;
    consumed = nul ? length + 1 : n;
    const char* text = reinterpret_cast<const char*>(p);
    return encoding == 3 ? QString::fromUtf8(text, length) : QString::fromLatin1(text, length);
}

// "(17)", "17" and "(17)Rock" name a genre of the list; other text stands.
QString genreText(const QString& text)
{
    const QString trimmed = text.trimmed();
    const qsizetype close = trimmed.indexOf(QLatin1Char(')'));
    if (trimmed.startsWith(QLatin1Char('(')) && close > 0) {
        if (const std::optional<int> number = genreNumberOf(trimmed.mid(1, close - 1)))
            return GenreLookup(*number);
    }
    if (const std::optional<int> number = genreNumberOf(trimmed))
        return GenreLookup(*number);
    return text;
}

enum class Field { Title, Artist, Album, Year, RecordingDate, Genre, Comment, None };

constexpr int bitOf(Field field)
{
    return 1 << int(field);
}

Field fieldOf(const unsigned char* id, int version)
{
    struct Name {
        const char* v2;
        const char* v3;
        Field field;
    };
    static constexpr Name kNames[] = {
        {"TT2", "TIT2", Field::Title},
        {"TP1", "TPE1", Field::Artist},
        {"TAL", "TALB", Field::Album},
        {"TYE", "TYER", Field::Year},
        {"", "TDRC", Field::RecordingDate},
        {"TCO", "TCON", Field::Genre},
        {"COM", "COMM", Field::Comment},
    };
    const size_t length = version == 2 ? 3 : 4;
    for (const Name& name : kNames) {
        const char* wanted = version == 2 ? name.v2 : name.v3;
        if (std::strlen(wanted) == length && std::memcmp(id, wanted, length) == 0)
            return name.field;
    }
    return Field::None;
}

// The fields found so far, each kept from the first frame that gives it; a year
// frame wins over a recording date.
class FieldsFound {
public:
    explicit FieldsFound(Id3v1Fields& fields) : fields_(fields) {}

    bool complete() const
    {
        constexpr int kAll = bitOf(Field::Title) | bitOf(Field::Artist) | bitOf(Field::Album) | bitOf(Field::Genre)
            | bitOf(Field::Comment);
        return (seen_ & kAll) == kAll && (seen_ & (bitOf(Field::Year) | bitOf(Field::RecordingDate)));
    }

    void take(Field field, QByteArrayView body)
    {
        if (body.isEmpty() || (seen_ & bitOf(field)))
            return;
        const auto* p = reinterpret_cast<const unsigned char*>(body.data());
        qsizetype consumed = 0;
        if (field != Field::Comment) {
            if (const std::optional<QString> text = decodeText(p[0], p + 1, body.size() - 1, consumed))
                store(field, *text);
            return;
        }
        constexpr qsizetype kTextAfterLanguage = 4;  // the encoding byte and a three-letter language
        if (body.size() < kTextAfterLanguage)
            return;
        const qsizetype n = body.size() - kTextAfterLanguage;
        const std::optional<QString> description = decodeText(p[0], p + kTextAfterLanguage, n, consumed);
        if (description && description->isEmpty())
            store(field, *decodeText(p[0], p + kTextAfterLanguage + consumed, n - consumed, consumed));
    }

private:
    void store(Field field, const QString& text)
    {
        seen_ |= bitOf(field);
        switch (field) {
        case Field::Title: fields_.title = text; break;
        case Field::Artist: fields_.artist = text; break;
        case Field::Album: fields_.album = text; break;
        case Field::Year: fields_.year = text; break;
        case Field::RecordingDate:
            if (!(seen_ & bitOf(Field::Year)))
                fields_.year = text.left(4);
            break;
        case Field::Genre: fields_.genre = genreText(text); break;
        case Field::Comment: fields_.comment = text; break;
        case Field::None: break;
        }
    }

    Id3v1Fields& fields_;
    int seen_ = 0;
};

// The frame's bytes as text: the prefixes its flags announce taken off, and
// unsynchronisation undone; nothing for a compressed or encrypted frame.
std::optional<QByteArrayView> frameText(QByteArray& body, int version, const unsigned char* flags, bool tagUnsync)
{
    qsizetype prefix = 0;
    if (version == 3) {
        if (flags[1] & (kV3Compressed | kV3Encrypted))
            return std::nullopt;
        prefix = (flags[1] & kV3Grouped) ? 1 : 0;
    } else if (version == 4) {
        if (flags[1] & (kV4Compressed | kV4Encrypted))
            return std::nullopt;
        if (flags[1] & kV4Unsync || tagUnsync)
            resynchronise(body);
        prefix = ((flags[1] & kV4Grouped) ? 1 : 0) + ((flags[1] & kV4DataLength) ? 4 : 0);
    }
    return QByteArrayView(body).sliced(std::min(prefix, body.size()));
}

// Passes the extended header; false when it does not fit in the tag.
bool skipExtendedHeader(TagBytes& bytes, int version)
{
    unsigned char size[4];
    if (!bytes.read(size, 4))
        return false;
    // 2.3 counts the bytes after the size, 2.4 the whole header (sync-safe).
    const qint64 rest = version == 3 ? bigEndian(size, 4) : syncSafe(size).value_or(-1) - 4;
    if (rest < 0 || rest > bytes.left())
        return false;
    bytes.skip(rest);
    return true;
}

void readFrames(TagBytes& bytes, int version, bool tagUnsync, Id3v1Fields& fields)
{
    const int idLength = version == 2 ? 3 : 4;
    const qint64 headerSize = version == 2 ? 6 : 10;
    FieldsFound found(fields);
    QByteArray body;  // one buffer for every frame read
    while (!found.complete() && bytes.left() >= headerSize) {
        unsigned char h[kHeaderSize];
        if (!bytes.read(h, headerSize) || !isFrameId(h, idLength))
            return;  // the padding, or bytes that are no frame: the frames end
        const qint64 size = version == 2 ? bigEndian(h + 3, 3) : version == 3 ? bigEndian(h + 4, 4) : v4FrameSize(bytes, h + 4);
        if (size > bytes.left())
            return;  // it runs past the tag
        const Field field = fieldOf(h, version);
        if (field == Field::None) {
            bytes.skip(size);
            continue;
        }
        body.resize(std::min(size, kMaxTextBytes));
        if (!bytes.read(reinterpret_cast<unsigned char*>(body.data()), body.size()))
            return;
        bytes.skip(size - body.size());
        if (const std::optional<QByteArrayView> text = frameText(body, version, h + 8, tagUnsync))
            found.take(field, *text);
    }
}

}  // namespace

Id3v2Tag readId3v2(ByteSource& source)
{
    Id3v2Tag tag;
    TagBytes bytes(source);
    unsigned char h[kHeaderSize];
    const bool header = bytes.read(h, kHeaderSize);
    tag.readFailed = bytes.failed();
    const std::optional<qint64> size = header ? syncSafe(h + 6) : std::nullopt;
    if (!size || std::memcmp(h, "ID3", 3) != 0 || h[3] < 2 || h[3] > 4 || h[4] == 0xFF)
        return tag;
    tag.version = h[3];
    tag.revision = h[4];
    const unsigned char flags = h[5];
    if (tag.version == 2 && (flags & kTagExtended))
        return tag;
    // In 2.4 the flag says each frame is unsynchronised; its header and size are not.
    const bool tagUnsync = flags & kTagUnsync;
    bytes.limit(kHeaderSize + *size, tagUnsync && tag.version < 4);
    if (tag.version == 2 || !(flags & kTagExtended) || skipExtendedHeader(bytes, tag.version))
        readFrames(bytes, tag.version, tagUnsync, tag.fields);
    tag.readFailed = bytes.failed();
    return tag;
}

}  // namespace sonivo
