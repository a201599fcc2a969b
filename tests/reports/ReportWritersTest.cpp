#include "tests/reports/ReportTestRows.h"

#include "catalogue/StoredText.h"
#include "common/NativePath.h"
#include "reports/HtmlPage.h"
#include "reports/Playlist.h"
#include "reports/ReportText.h"
#include "reports/TextList.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

const QLocale kItalian(QLocale::Italian, QLocale::Italy);

template <typename Writer> QByteArray written(Writer writer)
{
    QByteArray bytes;
    const bool ok = writer([&bytes](QByteArrayView piece) {
        bytes += piece;
        return true;
    });
    EXPECT_TRUE(ok);
    return bytes;
}

QByteArray page(const ReportSource& songs, ReportOptions options, const QLocale& locale)
{
    return written([&](const ReportOutput& out) { return writeHtmlPage(songs, options, locale, out); });
}

QByteArray text(const ReportSource& songs, ReportOptions options)
{
    return written([&](const ReportOutput& out) { return writeTextList(songs, options, out); });
}

QByteArray playlist(const ReportSource& songs)
{
    return written([&](const ReportOutput& out) { return writePlaylist(songs, out); });
}

// The page as it must read, line by line, with the totals and the song list given.
QByteArray expectedPage(const char* count, const char* hours, const char* minutes, const char* seconds, const char* megabytes,
    const char* bytes, const QByteArray& songList)
{
    const QList<QByteArray> lines = {
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">",
        "<HTML><HEAD><TITLE>Sonivo PlayList</TITLE>",
        "<META content=\"Text / html; Charset = windows - 1252\" http-equiv=Content-Type><LINK href=\"null\" rel=stylesheet>",
        "<STYLE type=text/css>BODY {",
        "BACKGROUND: #000040",
        "}",
        ".para1 {",
        "COLOR: #e1e1e1; FONT-FAMILY: font2, Arial; FONT-SIZE: 30px; LINE-HEIGHT: 35px; MARGIN-LEFT: 145px; MARGIN-RIGHT: 10px; "
        "MARGIN-TOP: -42px; TEXT-ALIGN: left",
        "}",
        ".para2 {",
        "COLOR: #004080; FONT-FAMILY: font1, Arial Black; FONT-SIZE: 50px; LINE-HEIGHT: 40px; MARGIN-LEFT: 15px; MARGIN-RIGHT: 50px; "
        "MARGIN-TOP: 15px; TEXT-ALIGN: left",
        "}",
        "</STYLE>",
        "",
        "<META content=\"Microsoft FrontPage 4.0\" name=GENERATOR></HEAD>",
        "<BODY bgColor=#000080 leftMargin=0 text=#ffffff topMargin=0><!--TOOLBAR_START--><!--TOOLBAR_EXEMPT-->",
        "<DIV align=center>",
        "<DIV align=center class=para2>",
        "<P>Sonivo</P></DIV>",
        "<DIV align=center class=para1>",
        "<P>playlist</P></DIV></DIV>",
        "<HR align=left color=#ffbf00 noShade SIZE=1 width=\"90%\">",
        "",
        "<DIV align=right>",
        "<TABLE border=0 cellPadding=0 cellSpacing=0 width=\"98%\">",
        "<TBODY>",
        "<TR>",
        "<TD><SMALL><SMALL><FONT color=#ffbf00 face=Arial>" + QByteArray(count) + "</FONT><FONT",
        "color=#409fff face=Arial> brani nella playlist",
        "</FONT></SMALL></SMALL><BR><SMALL><SMALL><FONT",
        "color=#409fff face=Arial>Durata totale stimata della playlist: </FONT><FONT",
        "color=#ffbf00 face=Arial>" + QByteArray(hours) + "</FONT><FONT color=#409fff face=Arial> ore",
        "</FONT><FONT color=#ffbf00 face=Arial>" + QByteArray(minutes) + "</FONT><FONT color=#409fff",
        "face=Arial> minuti </FONT><FONT color=#ffbf00 face=Arial>" + QByteArray(seconds) + "</FONT><FONT",
        "color=#409fff face=Arial> secondi <BR>",
        "</FONT></SMALL></SMALL>",
        "<SMALL><SMALL><FONT color=#409fff face=Arial>Grandezza totale files: </FONT><FONT",
        "color=#ffbf00 face=Arial>" + QByteArray(megabytes),
        "</FONT><FONT color=#409fff face=Arial> MB (</FONT><FONT color=#ffbf00 face=Arial>" + QByteArray(bytes)
            + "</FONT><FONT color=#409fff face=Arial> byte)</FONT></SMALL></SMALL><BR>",
        "</TD></TR></TBODY></TABLE></DIV>",
        "<BLOCKQUOTE>",
        "<P><FONT color=#ffbf00 face=Arial><BIG>Lista brani:</BIG></FONT>",
        "<UL><FONT color=#ffffff face=Arial><SMALL>",
        songList,
        "</FONT></UL></BLOCKQUOTE>",
        "<HR align=left color=#ffbf00 noShade SIZE=1 width=\"90%\">",
        "</SMALL></BODY></HTML>",
    };
    EXPECT_EQ(lines.size(), 47);
    QByteArray out;
    for (const QByteArray& line : lines)
        out += line + "\r\n";
    return out;
}

// Names that must neither break the page nor lose a character.
Catalogue awkwardNames()
{
    Catalogue c;
    c.append(song(QStringLiteral("/m/"), QStringLiteral("Alfa & <Omega>.mp3"), QStringLiteral("1.000 KB"), QStringLiteral("03.07")));
    c.append(song(QStringLiteral("/m/"), QStringLiteral("Beta \"Live\" 'x'.mp3"), QStringLiteral("2.048 KB"), QStringLiteral("10.55")));
    c.append(song(QStringLiteral("/m/"), QStringLiteral("Città 音楽 🎵.mp3"), QStringLiteral("1.048.000 KB"), QStringLiteral("00.00")));
    return c;
}

}  // namespace

TEST(HtmlPage, IsTheFortySevenLinesWithTotalsAndEscapedAsciiNames)
{
    const Catalogue c = awkwardNames();
    const QByteArray songs = "Alfa &amp; &lt;Omega&gt;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; [03.07] [1.000 KB]<BR>"
                             "Beta \"Live\" 'x'&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; [10.55] [2.048 KB]<BR>"
                             "Citt&#224; &#38899;&#27005; &#127925;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; [00.00] [1.048.000 KB]<BR>";
    // 1,051,048 KB: × 1024 ÷ 1,048,000 is 1,026.98 MB; × 1024 is 1,076,273,152 bytes.
    EXPECT_EQ(page(ReportSource(c), {true, true}, kItalian), expectedPage("3", "00", "14", "02", "1.027", "1.076.273.152", songs));
}

TEST(HtmlPage, GroupsTheSizeTotalsAsTheLocaleDoes)
{
    Catalogue c;
    c.append(song(QStringLiteral("/m/"), QStringLiteral("a.mp3"), QStringLiteral("1,051,048 KB"), QString()));
    const QByteArray bytes = page(ReportSource(c), {}, QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_TRUE(bytes.contains(">1,027\r\n</FONT>") && bytes.contains(">1,076,273,152</FONT>")) << bytes.constData();
}

TEST(HtmlPage, AQueuePageListsAndTimesTheQueuedSongsButSizesTheWholeCatalogue)
{
    const Catalogue c = numberedSongs(8);
    // Songs 7, 2 and 5 last 14 minutes; songs 1 to 8 take 36.000 KB: 35.17 MB, 36,864,000 bytes.
    const ReportSource queue(c, idsOfRows(c, {7, 2, 5}));
    const QByteArray songs = "Song 7 [7.000 KB]<BR>Song 2 [2.000 KB]<BR>Song 5 [5.000 KB]<BR>";
    EXPECT_EQ(page(queue, {false, true}, kItalian), expectedPage("3", "00", "14", "00", "35", "36.864.000", songs));
}

TEST(HtmlPage, HoldsOnlyAsciiBytesWhateverTheNames)
{
    Catalogue c;
    c.append(song(QStringLiteral("/m/"), fromNativePath("Caf\xE9 \x81.mp3"), QStringLiteral("1 KB"), QStringLiteral("00.01")));
    c.append(song(QStringLiteral("/m/"), QString(QChar(0xD800)) + QStringLiteral("\tx\n.mp3"), QString(), QString()));
    const QByteArray bytes = page(ReportSource(c), {}, kItalian);
    for (const char b : bytes)
        ASSERT_LT(static_cast<unsigned char>(b), 0x80);
    // A byte that is not UTF-8 shows as its Windows-1252 character (0x81, which has
    // none, as the control of that number); a lone UTF-16 half as U+FFFD; tabs and
    // line breaks as references, so the song list stays one line.
    EXPECT_TRUE(bytes.contains("\r\nCaf&#233; &#129;<BR>&#65533;&#9;x&#10;<BR>\r\n")) << bytes.constData();
}

TEST(TextList, ReadsTitleEmptyLineSongsAndAnEmptyLastLine)
{
    Catalogue c;
    c.append(song(QStringLiteral("/m/"), QStringLiteral("Alfa.mp3"), QStringLiteral("4.567 KB"), QStringLiteral("03.07")));
    c.append(song(QStringLiteral("/m/"), QStringLiteral("Beta.mp3"), QStringLiteral("10 KB"), QStringLiteral("10.55")));
    EXPECT_EQ(text(ReportSource(c), {true, false}), QByteArray("Sonivo - Lista brani\r\n\r\nAlfa [03.07]\r\nBeta [10.55]\r\n\r\n"));
    EXPECT_EQ(text(ReportSource(c), {false, true}), QByteArray("Sonivo - Lista brani\r\n\r\nAlfa [4.567 KB]\r\nBeta [10 KB]\r\n\r\n"));
    EXPECT_EQ(text(ReportSource(c), {true, true}),
        QByteArray("Sonivo - Lista brani\r\n\r\nAlfa [03.07] [4.567 KB]\r\nBeta [10.55] [10 KB]\r\n\r\n"));
    // The printed text is the same.
    EXPECT_EQ(textList(ReportSource(c), {true, true}).toUtf8(), text(ReportSource(c), {true, true}));
}

TEST(TextList, ASongWhoseNameHoldsLineBreaksIsOneLine)
{
    Catalogue c;
    c.append(song(QStringLiteral("/m/"), QStringLiteral("one\r\ntwo\rthree\nfour\v\f\u0085\u2028\u2029end.mp3"), QStringLiteral("1 KB"),
        QStringLiteral("00.01")));
    c.append(song(QStringLiteral("/m/"), fromNativePath("Caf\xE9\n\xFF.mp3"), QStringLiteral("2 KB"), QStringLiteral("00.02")));
    c.append(
        song(QStringLiteral("/m/"), QStringLiteral("Città \u2019ok\u00B0\u2030.mp3"), QStringLiteral("3 KB"), QStringLiteral("00.03")));
    // Each break a blank, CR LF one; a byte that is not UTF-8 as its Windows-1252
    // character; characters whose UTF-8 begins as a break's does stay.
    const QByteArray expected = "Sonivo - Lista brani\r\n\r\none two three four     end [00.01] [1 KB]\r\n"
                                "Caf\xC3\xA9 \xC3\xBF [00.02] [2 KB]\r\n"
        + QStringLiteral("Città \u2019ok\u00B0\u2030 [00.03] [3 KB]").toUtf8() + "\r\n\r\n";
    EXPECT_EQ(text(ReportSource(c), {true, true}), expected);
    EXPECT_EQ(textList(ReportSource(c), {true, true}).toUtf8(), expected) << "the printed text is the same";
}

TEST(Playlist, APathWithALineBreakIsWrittenAsAFileUrl)
{
    Catalogue c;
    c.append(song(QStringLiteral("/m/a b/"), QStringLiteral("two\nlines.mp3"), QString(), QString()));
    EXPECT_EQ(playlist(ReportSource(c)), QByteArray("file:///m/a%20b/two%0Alines.mp3\r\n"));
}

TEST(ReportSource, LeavesOutQueuedRowsThatAreGone)
{
    Catalogue c = numberedSongs(8);
    const std::vector<RowId> ids = idsOfRows(c, {7, 2, 5});
    c.setChecked(1, true);
    c.removeChecked();
    const ReportSource queue(c, ids);
    ASSERT_EQ(queue.size(), 2);
    EXPECT_EQ(queue.at(0).text(ColFileName), QStringLiteral("Song 7.mp3"));
    EXPECT_EQ(queue.at(1).text(ColFileName), QStringLiteral("Song 5.mp3"));
    EXPECT_EQ(queue.totalTime(), QStringLiteral("00:12:00"));
}

TEST(ReportText, TheExtensionIsTheLastFourCharacters)
{
    const auto cut = [](const QString& name) { return decodeStored(withoutExtension(QByteArrayView(toStored(name)))); };
    EXPECT_EQ(cut(QStringLiteral("Alfa.mp3")), QStringLiteral("Alfa"));
    EXPECT_EQ(cut(QStringLiteral("abc")), QString());
    EXPECT_EQ(cut(QStringLiteral("Song.🎵🎵é🎵")), QStringLiteral("Song."));
    // A byte that is not UTF-8 is one character.
    EXPECT_EQ(cut(fromNativePath("Caf\xE9.mp\xFF")), fromNativePath("Caf\xE9"));
}

TEST(ReportText, StoredTextsGiveTheBytesTheirTextsGive)
{
    // Plain UTF-8 is copied as it stands; a text holding a 0xED byte (Hangul here,
    // or a lone half) is decoded first. Both give what the text itself gives.
    const QString texts[] = {QStringLiteral("A & <b> \"c\"\t"), QStringLiteral("Città Δέλτα 音楽 🎵"), QStringLiteral("한국 노래"),
        QString(QChar(0xDBFF)) + QStringLiteral("x"), QString()};
    for (const QString& text : texts) {
        const std::string stored = toStored(text);
        const QByteArrayView view(stored.data(), qsizetype(stored.size()));
        QByteArray expectedHtml = "head";
        appendHtmlText(expectedHtml, text);
        QByteArray html = "head";
        appendShownHtml(html, view);
        EXPECT_EQ(html, expectedHtml) << text.toStdString();
        QByteArray utf8;
        appendShownUtf8(utf8, view);
        EXPECT_EQ(utf8, text.toUtf8()) << text.toStdString();
        QByteArray native;
        appendNativeBytes(native, view);
        EXPECT_EQ(native, toNativePath(text)) << text.toStdString();
    }
}

TEST(ReportWriters, StopAtTheFirstPieceTheOutputRefuses)
{
    const Catalogue c = numberedSongs(40000);  // more than one piece of output
    int pieces = 0;
    const ReportOutput refuse = [&pieces](QByteArrayView) {
        ++pieces;
        return false;
    };
    EXPECT_FALSE(writeHtmlPage(ReportSource(c), {true, true}, kItalian, refuse));
    EXPECT_FALSE(writeTextList(ReportSource(c), {true, true}, refuse));
    EXPECT_FALSE(writePlaylist(ReportSource(c), refuse));
    EXPECT_EQ(pieces, 3);
}
