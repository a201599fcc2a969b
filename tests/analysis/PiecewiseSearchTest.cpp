// The frame search reads its window in pieces; every input gives what reading the
// window whole gives: the fixtures, synthesised files with frames and tags around
// the pieces' edges, and every input of the fuzz corpora.

#include "analysis/FrameSearch.h"
#include "tests/support/Mp3Builder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

// Counts the bytes the search asks for.
class CountingSource final : public ByteSource {
public:
    explicit CountingSource(const QByteArray& bytes) : memory_(bytes) {}
    qint64 size() const override { return memory_.size(); }
    qint64 readAt(qint64 offset, unsigned char* out, qint64 len) override
    {
        requested += len;
        return memory_.readAt(offset, out, len);
    }
    qint64 requested = 0;

private:
    MemoryByteSource memory_;
};

// Every property of a search result, as one text.
QString described(const FirstFrame& f)
{
    const MpegHeader& h = f.header;
    return QStringList{QString::number(f.offset), QString::number(f.vbrFrames), QString::number(f.readFailed), QString::number(h.isValid()),
        QString::number(h.crcPresent()), h.mpegVersionText(), h.layerText(), h.bitRateText(), h.sampleRateText(),
        QString::number(h.padding()), QString::number(h.privateBit()), h.channelModeText(), h.modeExtensionText(),
        QString::number(h.copyright()), QString::number(h.original()), h.emphasisText(), QString::number(h.frameLength())}
        .join(QLatin1Char('|'));
}

QString search(const QByteArray& bytes, qint64 firstPiece)
{
    MemoryByteSource source(bytes);
    return described(findFirstFrame(source, firstPiece));
}

void expectSameInPieces(const QByteArray& bytes, const QString& name)
{
    const QString whole = search(bytes, kSearchWindow);
    for (const qint64 piece : {qint64(1), qint64(3), qint64(10), qint64(417), qint64(1000), kFirstPiece})
        ASSERT_EQ(search(bytes, piece), whole) << name.toStdString() << ", first piece " << piece;
}

std::vector<std::pair<QString, QByteArray>> filesIn(const QString& folder)
{
    std::vector<std::pair<QString, QByteArray>> found;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files)) {
        QFile file(info.filePath());
        if (file.open(QIODevice::ReadOnly))
            found.emplace_back(info.filePath(), file.readAll());
    }
    return found;
}

QByteArray zeros(qsizetype n)
{
    return QByteArray(n, 0);
}

// Frames, tags and false syncs placed across the edges of the pieces and the window.
std::vector<QByteArray> synthesised()
{
    FrameFields mono;
    mono.channelMode = 3;
    FrameFields crc;
    crc.crc = true;
    crc.bitRateIndex = 14;
    FrameFields slow;
    slow.bitRateIndex = 1;
    slow.sampleRateIndex = 2;
    const QByteArray falseSync = frameHeader(FrameFields{}) + zeros(600);
    std::vector<QByteArray> inputs{
        frames(FrameFields{}, 3),
        frames(slow, 5),
        frame(FrameFields{}),
        frame(FrameFields{}).left(300),
        xingFrame(FrameFields{}, 1234) + frames(FrameFields{}, 2),
        xingFrame(mono, 77, "Info") + frames(mono, 2),
        vbriFrame(crc, 4321) + frames(crc, 2),
        frame(FrameFields{}) + id3v1Tag(TagFields{}),
        QByteArray(60000, char(0xFF)),
        QByteArray("ID3\x03\x00\x00\x7F\x7F\x7F\x7F", 10),
    };
    for (const qsizetype edge : {qsizetype(1), qsizetype(3), qsizetype(10), qsizetype(417), qsizetype(1000), qsizetype(2000),
             qsizetype(4096), qsizetype(8192), qsizetype(16384), qsizetype(32768), qsizetype(50000)}) {
        for (qsizetype before = edge - 5; before <= edge + 1; ++before) {
            if (before < 0)
                continue;
            inputs.push_back(zeros(before) + frames(FrameFields{}, 2));
            inputs.push_back(zeros(before) + falseSync + frames(slow, 2));
            // The confirming sync, or the frame's end, right at the edge.
            inputs.push_back(zeros(std::max<qsizetype>(0, before - 417)) + frames(FrameFields{}, 1) + zeros(5));
        }
        for (const int tag : {int(edge) - 12, int(edge) - 10, int(edge) - 3, int(edge) + 20}) {
            if (tag >= 0)
                inputs.push_back(id3v2Tag(tag) + zeros(edge) + frames(mono, 2));
        }
    }
    inputs.push_back(id3v2Tag(70000) + zeros(49000) + frames(FrameFields{}, 2));
    inputs.push_back(id3v2Tag(70000) + zeros(50000) + frames(FrameFields{}, 2));
    inputs.push_back(id3v2Tag(100) + id3v2Tag(5000) + id3v2Tag(48000) + frames(crc, 3));
    return inputs;
}

}  // namespace

TEST(PiecewiseSearch, FixturesAndCorporaFindWhatTheWholeWindowFinds)
{
    std::vector<std::pair<QString, QByteArray>> inputs = filesIn(QStringLiteral(SONIVO_FIXTURES));
    ASSERT_GE(inputs.size(), 4u);
    qsizetype corpora = 0;
    for (const QFileInfo& corpus : QDir(QStringLiteral(SONIVO_FUZZ_CORPORA)).entryInfoList({QStringLiteral("corpus*")}, QDir::Dirs)) {
        const auto more = filesIn(corpus.filePath());
        corpora += qsizetype(more.size());
        inputs.insert(inputs.end(), more.begin(), more.end());
    }
    ASSERT_GT(corpora, 100);
    for (const auto& [name, bytes] : inputs)
        expectSameInPieces(bytes, name);
}

TEST(PiecewiseSearch, SynthesisedFilesFindWhatTheWholeWindowFinds)
{
    int n = 0;
    for (const QByteArray& bytes : synthesised())
        expectSameInPieces(bytes, QStringLiteral("synthesised #%1").arg(n++));
}

TEST(PiecewiseSearch, AFrameNearTheStartReadsOnlyTheFirstPiece)
{
    TagFields tag;
    tag.title = "Title";
    const QByteArray song = id3v2Tag(300) + frames(FrameFields{}, 200) + id3v1Tag(tag);
    CountingSource pieces(song);
    EXPECT_EQ(findFirstFrame(pieces).offset, 310);
    EXPECT_LE(pieces.requested, kFirstPiece + 310 + 64) << "the piece, the tag's header, confirmation and VBR probes";
    CountingSource whole(song);
    findFirstFrame(whole, kSearchWindow);
    EXPECT_GE(whole.requested, kSearchWindow);
}
