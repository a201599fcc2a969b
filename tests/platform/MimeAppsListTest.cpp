#include "platform/MimeAppsList.h"
#include "tests/support/TempFiles.h"

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

const QString kType = QStringLiteral("application/x-sonivo-list");
const QString kOurs = QStringLiteral("sonivo-list.desktop");

// Set then removed, the file comes back byte for byte.
void expectRoundTrip(const QByteArray& original)
{
    TempFiles files;
    const QString path = files.write(QStringLiteral("mimeapps.list"), original);
    MimeAppsList list = MimeAppsList::load(path);
    list.setDefaultApplication(kType, kOurs);
    EXPECT_EQ(list.defaultApplication(kType), kOurs) << original.toStdString();
    list.removeApplication(kType, kOurs);
    EXPECT_EQ(list.text(), original);
}

TEST(MimeAppsList, SettingAndRemovingOurEntryKeepsEveryOtherLine)
{
    expectRoundTrip("[Default Applications]\ntext/plain=gedit.desktop;\n");
    expectRoundTrip("[Default Applications]\ntext/plain=gedit.desktop;\n\n[Added Associations]\ntext/plain=vim.desktop;\n");
    expectRoundTrip("# comment only\n[Added Associations]\ntext/plain=vim.desktop;\n");
    expectRoundTrip("[Added Associations]\r\ntext/plain=vim.desktop;\r\n");
    expectRoundTrip("[Default Applications]\n# a comment\n");
    expectRoundTrip("[Default Applications]\ntext/plain=gedit.desktop");
    expectRoundTrip("");
    expectRoundTrip("# caf\xe9\n[Default Applications]\ntext/plain=\xff.desktop;\n\n[Added Associations]\nimage/png=caf\xe9.desktop;\n");
}

TEST(MimeAppsList, TheEntryThatCountsIsTheOneTheDesktopReads)
{
    // GLib merges a repeated section into one, and of a key given twice the last value wins.
    const QByteArray twice = "[Default Applications]\napplication/x-sonivo-list=first.desktop;\n"
                             "[Added Associations]\nimage/png=gimp.desktop;\n"
                             "[Default Applications]\ntext/plain=gedit.desktop;\napplication/x-sonivo-list=last.desktop;\n";
    TempFiles files;
    MimeAppsList list = MimeAppsList::load(files.write(QStringLiteral("mimeapps.list"), twice));
    EXPECT_EQ(list.defaultApplication(kType), QStringLiteral("last.desktop"));
    list.setDefaultApplication(kType, kOurs);
    EXPECT_EQ(list.text(), QByteArray(twice).replace("=last.desktop;", "=sonivo-list.desktop;last.desktop;"));
    EXPECT_EQ(list.defaultApplication(kType), kOurs);
    list.removeApplication(kType, kOurs);
    EXPECT_EQ(list.text(), twice);

    list = MimeAppsList::load(files.write(QStringLiteral("mimeapps.list"), "[Default Applications]\napplication/x-sonivo-list=a.desktop;\napplication/x-sonivo-list=;\n"));
    EXPECT_EQ(list.defaultApplication(kType), QString()) << "an empty last value names none";
    list.setDefaultApplication(kType, kOurs);
    EXPECT_EQ(list.text(), "[Default Applications]\napplication/x-sonivo-list=a.desktop;\napplication/x-sonivo-list=sonivo-list.desktop;\n");
}

TEST(MimeAppsList, RemovingTakesOurEntryOutWhereverItIsAndLeavesTheOthers)
{
    TempFiles files;
    MimeAppsList list = MimeAppsList::load(files.write(QStringLiteral("mimeapps.list"),
        "[Default Applications]\napplication/x-sonivo-list=sonivo-list.desktop;\ntext/plain=gedit.desktop;\n"
        "[Default Applications]\napplication/x-sonivo-list=a.desktop;sonivo-list.desktop;b.desktop;\n"
        "[Default Applications]\napplication/x-sonivo-list=sonivo-list.desktop;\n"));
    list.removeApplication(kType, kOurs);
    EXPECT_EQ(list.text(), "[Default Applications]\ntext/plain=gedit.desktop;\n[Default Applications]\napplication/x-sonivo-list=a.desktop;b.desktop;\n");
    EXPECT_EQ(list.defaultApplication(kType), QStringLiteral("a.desktop"));
}


}  // namespace
