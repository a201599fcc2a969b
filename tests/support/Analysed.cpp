#include "tests/support/Analysed.h"

#include <gtest/gtest.h>

namespace sonivo::test {

clsMP3 analysed(const QString& path)
{
    clsMP3 mp3;
    mp3.setFullName(path);
    EXPECT_EQ(mp3.ReadMP3Info(), clsMP3::ReadResult::Done) << path.toStdString();
    return mp3;
}

} // namespace sonivo::test
