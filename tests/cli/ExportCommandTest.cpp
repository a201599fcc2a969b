#include "tests/cli/CliRun.h"
#include "tests/reports/ReportTestRows.h"
#include "tests/support/TempFiles.h"

#include "catalogue/ListFile.h"
#include "common/NativePath.h"
#include "reports/ReportFile.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <gtest/gtest.h>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

// Sets the locale the program finds in its environment until the returned guard goes.
auto programLocale(const char* name)
{
    const std::optional<QByteArray> old = qEnvironmentVariableIsSet("LC_ALL") ? std::optional(qgetenv("LC_ALL")) : std::nullopt;
    qputenv("LC_ALL", name);
    return qScopeGuard([old] { old ? qputenv("LC_ALL", *old) : qunsetenv("LC_ALL"); });
}

class Export : public ::testing::Test {
protected:
    void SetUp() override
    {
        catalogue = numberedSongs(3);
        catalogue.replaceRow(1, song(fromNativePath("/m/\xE9t\xE9/"), fromNativePath("Caf\xE9 & <x> \"y\" 音楽 🎵.mp3"),
                                    QStringLiteral("12.345.678 KB"), QStringLiteral("10.55")));
        ASSERT_TRUE(SalvaLista(list, catalogue).ok);
    }

    // What the report dialog writes for every row of the catalogue.
    QByteArray dialogWrites(ReportKind kind, ReportOptions options, const QLocale& locale)
    {
        const QString file = files.path(QStringLiteral("expected"));
        EXPECT_TRUE(saveReport(file, kind, ReportSource(catalogue), options, locale).ok);
        return TempFiles::read(file);
    }

    TempFiles files;
    Catalogue catalogue;
    const QString list = files.path(QStringLiteral("list.svl"));
    const QString output = files.path(QStringLiteral("out"));
};

const QString kExport = QStringLiteral("export");

}  // namespace

TEST_F(Export, WritesWhatTheReportDialogWritesForEveryRowInTheUsersLocale)
{
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    const auto inItalian = programLocale("it_IT.UTF-8");
    CliRun r = cli({kExport, QStringLiteral("html"), QStringLiteral("--duration"), QStringLiteral("--size"), list, output});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    const QByteArray page = TempFiles::read(output);
    EXPECT_EQ(page, dialogWrites(ReportKind::HtmlPage, {true, true}, italian));
    EXPECT_TRUE(page.contains("color=#ffbf00 face=Arial>12.067\r\n")) << "12,349,678 KB in megabytes, grouped in Italian";
    EXPECT_TRUE(page.contains("Caf&#233; &amp; &lt;x&gt; \"y\" &#38899;&#27005; &#127925;&nbsp;"));
    {
        const auto inEnglish = programLocale("en_US.UTF-8");
        r = cli({kExport, QStringLiteral("html"), list, output});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(TempFiles::read(output), dialogWrites(ReportKind::HtmlPage, {}, QLocale(QLocale::English, QLocale::UnitedStates)))
            << "in the locale the user's environment names";
    }

    r = cli({kExport, QStringLiteral("text"), QStringLiteral("--duration"), list, output});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(TempFiles::read(output), "Sonivo - Lista brani\r\n\r\nSong 1 [01.00]\r\nCaf\xC3\xA9 & <x> \"y\" 音楽 🎵 [10.55]\r\n"
                                       "Song 3 [03.00]\r\n\r\n");

    r = cli({kExport, QStringLiteral("m3u"), QStringLiteral("--size"), list, output});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(TempFiles::read(output), "/music/Song 1.mp3\r\n/m/\xE9t\xE9/Caf\xE9 & <x> \"y\" 音楽 🎵.mp3\r\n/music/Song 3.mp3\r\n")
        << "the playlist holds the paths byte for byte and ignores the extra data";
}

TEST_F(Export, BadUsageIsRefusedAndWritesNothing)
{
    for (const QStringList& args : {QStringList{kExport}, QStringList{kExport, QStringLiteral("pdf"), list, output},
             QStringList{kExport, QStringLiteral("html"), list},
             QStringList{kExport, QStringLiteral("html"), QStringLiteral("--bogus"), list, output},
             QStringList{kExport, QStringLiteral("text"), list, output, output}}) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.status, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("uso: sonivo-cli export")));
    }
    EXPECT_FALSE(QFileInfo::exists(output));
}

TEST_F(Export, FailuresAreToldAndLeaveEveryFileAsItWas)
{
    // A list that is not there.
    CliRun r = cli({kExport, QStringLiteral("html"), files.path(QStringLiteral("none.svl")), output});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("none.svl: impossibile leggere la lista")));
    EXPECT_FALSE(QFileInfo::exists(output));

    // A folder that is not there is not made.
    const QString inGone = files.path(QStringLiteral("gone/out.htm"));
    r = cli({kExport, QStringLiteral("html"), list, inGone});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(inGone + QStringLiteral(": impossibile scrivere il file")));
    EXPECT_FALSE(QFileInfo::exists(files.path(QStringLiteral("gone"))));

    // A file the user may not write, also when the user is root.
    const QString readOnly = files.write(QStringLiteral("ro.txt"), "kept");
    ASSERT_EQ(::chmod(toNativePath(readOnly).constData(), 0400), 0);
    r = cli({kExport, QStringLiteral("text"), list, readOnly}, dropPermissionOverrides);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("ro.txt: impossibile scrivere il file"))) << r.err.toStdString();
    EXPECT_EQ(TempFiles::read(readOnly), "kept");

    // The list itself, named in bytes that are not UTF-8.
    const QString odd = files.path(fromNativePath("l\xff.svl"));
    ASSERT_TRUE(SalvaLista(odd, catalogue).ok);
    const QByteArray listBytes = TempFiles::read(odd);
    r = cliBytes(toNativePath(files.path(QString())), {"export", "text", "l\xff.svl", "l\xff.svl"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral(": impossibile scrivere il file (è la lista da cui vengono i brani")))
        << r.err.toStdString();
    EXPECT_EQ(TempFiles::read(odd), listBytes);

    // A damaged list is exported as far as it reads.
    files.write(QStringLiteral("list.svl"), TempFiles::read(list) + "no row here\r\n");
    r = cli({kExport, QStringLiteral("m3u"), list, output});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("1 righe danneggiate")));
    EXPECT_EQ(TempFiles::read(output).count('\n'), 3);
}
