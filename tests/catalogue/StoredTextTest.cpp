#include "catalogue/StoredText.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace sonivo;

TEST(StoredText, LoweredAsQStringLowersEveryCharacter)
{
    // Every character, 64 to a text, and texts whose characters lower
    // differently by their neighbours in other programs (final sigma), lone
    // halves and the one character that lowers to two.
    QStringList texts = {
        QStringLiteral("ΣΑΣ ΟΔΟΣ."),
        QStringLiteral("İSTANBUL"),
        QString(QChar(0xDC80)) + QStringLiteral("AB") + QChar(0xD800),
        QString(),
    };
    QString run;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        run += QString::fromUcs4(&c, 1);
        if (run.size() >= 64) {
            texts << run;
            run.clear();
        }
    }
    texts << run;
    QString prefix = QStringLiteral("Già: ");
    for (const QString& text : texts) {
        QString lowered = prefix;
        appendLowered(lowered, toStored(text));
        ASSERT_EQ(lowered, prefix + text.toLower()) << text.toStdString();
    }
}
