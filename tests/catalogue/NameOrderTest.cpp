#include "catalogue/NameOrder.h"

#include <gtest/gtest.h>

using namespace sonivo;

namespace {

// Sets the locale a new order reads, for the test's length.
class LocaleFor {
public:
    explicit LocaleFor(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleFor() { QLocale::setDefault(old_); }

private:
    QLocale old_;
};

QStringList sorted(std::vector<QString> names)
{
    std::vector<DirEntry> entries;
    for (QString& name : names)
        entries.push_back({std::move(name)});
    NameOrder().sort(entries);
    QStringList out;
    for (const DirEntry& e : entries)
        out << e.name;
    return out;
}

}  // namespace

TEST(NameOrder, NumbersGoByValueAndCaseAndAccentsStayBesideTheirLetterInEveryLocale)
{
    // The C locale (a system without a language set) has no collation of its own.
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::Italian, QLocale::Italy), QLocale(QLocale::English)}) {
        const LocaleFor set(locale);
        EXPECT_EQ(sorted({QStringLiteral("track 10.mp3"), QStringLiteral("b.mp3"), QStringLiteral("Track 2.mp3"), QStringLiteral("\u00e9.mp3"),
                      QStringLiteral("Z.mp3"), QStringLiteral("a.mp3")}),
            (QStringList{QStringLiteral("a.mp3"), QStringLiteral("b.mp3"), QStringLiteral("\u00e9.mp3"), QStringLiteral("Track 2.mp3"),
                QStringLiteral("track 10.mp3"), QStringLiteral("Z.mp3")}))
            << locale.name().toStdString();
    }
}

TEST(NameOrder, NamesTheRulesHoldEqualStillComeInOneOrder)
{
    const QString composed = QStringLiteral("caf\u00e9");
    const QString decomposed = QStringLiteral("cafe\u0301");
    EXPECT_EQ(sorted({QStringLiteral("A"), QStringLiteral("a")}), sorted({QStringLiteral("a"), QStringLiteral("A")}));
    EXPECT_EQ(sorted({composed, decomposed}), sorted({decomposed, composed}));
}
