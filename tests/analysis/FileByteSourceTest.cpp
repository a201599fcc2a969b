// A large file is read through two blocks kept at hand; every read, wherever it
// falls and in whatever order, gives the bytes the file holds there.

#include "analysis/ByteSource.h"
#include "platform/NativeFile.h"
#include "tests/support/TempFiles.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

TEST(FileByteSource, EveryReadGivesTheFilesBytesWhateverTheOrderOfTheReads)
{
    QRandomGenerator random(29);
    QByteArray bytes(200 * 1024 + 77, Qt::Uninitialized);
    for (char& b : bytes)
        b = char(random.bounded(256));
    TempFiles files;
    NativeFile file;
    ASSERT_TRUE(file.open(files.write(QStringLiteral("big.mp3"), bytes), NativeFile::Mode::Read));
    FileByteSource source(file, bytes.size());
    const qint64 block = FileByteSource::kBlock;
    const auto readsTheFile = [&](qint64 offset, qint64 len) {
        QByteArray got(len, '\0');
        const qint64 n = source.readAt(offset, reinterpret_cast<unsigned char*>(got.data()), len);
        const QByteArray expected = bytes.mid(offset, len);
        return n == expected.size() && got.left(n) == expected;
    };
    // Reads that end just before, at and just after the end of the block a read
    // before them fetched, the last block of the file among them.
    for (const qint64 anchor : {qint64(1000), qint64(bytes.size() - block - 2), qint64(bytes.size() - 100)}) {
        for (qint64 len = 1; len <= 8; ++len) {
            for (qint64 past = -3; past <= 3; ++past) {
                ASSERT_TRUE(readsTheFile(anchor, 1));
                const qint64 offset = anchor + block - len + past;
                ASSERT_TRUE(readsTheFile(offset, len)) << "at " << offset << " of " << len << " after " << anchor;
            }
        }
    }
    // Reads near one another, inside, across and past a block's edges, at the
    // file's end and beyond it, and ones longer than a block.
    for (int i = 0; i < 5000; ++i) {
        const qint64 near = i % 3 == 0 ? bytes.size() - block : i % 3 == 1 ? 0 : random.bounded(qint64(bytes.size()));
        const qint64 offset = std::max<qint64>(0, near + random.bounded(2 * block) - block / 2);
        const qint64 len = random.bounded(i % 10 == 0 ? 3 * block : 64);
        ASSERT_TRUE(readsTheFile(offset, len)) << "read " << i << " at " << offset << " of " << len;
    }
}
