#include "common/Windows1252.h"

#include <gtest/gtest.h>

using namespace sonivo;

TEST(Windows1252, EveryByteRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = decodeWindows1252(all.constData(), all.size());
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(encodeWindows1252(text), all);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC));
    EXPECT_EQ(text.at(0x9F), QChar(0x0178));
    EXPECT_EQ(text.at(0xE8), QChar(0x00E8));
    EXPECT_EQ(text.at(0x81), QChar(0x0081));
}
