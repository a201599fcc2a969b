#include "common/NativePath.h"

#include <gtest/gtest.h>

using namespace sonivo;

TEST(NativePath, EveryByteStringRoundTrips)
{
    const QByteArray cases[] = {
        QByteArray("caf\xE9.mp3"),       // Latin-1
        QByteArray("\xC3"),              // cut sequence
        QByteArray("\xC0\xAF"),          // overlong "/"
        QByteArray("\xED\xB2\x80"),      // an encoded surrogate
        QByteArray("\xF4\x90\x80\x80"),  // beyond U+10FFFF
        QByteArray("\x80\xBF\xFE\xFF"),
    };
    for (const QByteArray& bytes : cases) {
        const QString name = fromNativePath(bytes);
        EXPECT_EQ(toNativePath(name), bytes) << bytes.toHex().constData();
        EXPECT_FALSE(name.contains(QChar::ReplacementCharacter));
    }
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(char(b));
    EXPECT_EQ(toNativePath(fromNativePath(all)), all);
}

TEST(NativePath, ALoneSurrogateNoByteStandsForBecomesAQuestionMark)
{
    const QString text = QString(QChar(0xD800)) + QLatin1Char('a');
    EXPECT_EQ(toNativePath(text), QByteArray("?a"));
}
