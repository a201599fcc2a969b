#include "reports/HtmlPage.h"

#include "common/FieldRule.h"
#include "reports/ReportText.h"

namespace sonivo {
namespace {

// Lines 1 to 27 of the page, each with its line end.
constexpr char kHead[] = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n"
                         "<HTML><HEAD><TITLE>Sonivo PlayList</TITLE>\r\n"
                         "<META content=\"Text / html; Charset = windows - 1252\" http-equiv=Content-Type>"
                         "<LINK href=\"null\" rel=stylesheet>\r\n"
                         "<STYLE type=text/css>BODY {\r\n"
                         "BACKGROUND: #000040\r\n"
                         "}\r\n"
                         ".para1 {\r\n"
                         "COLOR: #e1e1e1; FONT-FAMILY: font2, Arial; FONT-SIZE: 30px; LINE-HEIGHT: 35px; MARGIN-LEFT: 145px; "
                         "MARGIN-RIGHT: 10px; MARGIN-TOP: -42px; TEXT-ALIGN: left\r\n"
                         "}\r\n"
                         ".para2 {\r\n"
                         "COLOR: #004080; FONT-FAMILY: font1, Arial Black; FONT-SIZE: 50px; LINE-HEIGHT: 40px; MARGIN-LEFT: 15px; "
                         "MARGIN-RIGHT: 50px; MARGIN-TOP: 15px; TEXT-ALIGN: left\r\n"
                         "}\r\n"
                         "</STYLE>\r\n"
                         "\r\n"
                         "<META content=\"Microsoft FrontPage 4.0\" name=GENERATOR></HEAD>\r\n"
                         "<BODY bgColor=#000080 leftMargin=0 text=#ffffff topMargin=0><!--TOOLBAR_START--><!--TOOLBAR_EXEMPT-->\r\n"
                         "<DIV align=center>\r\n"
                         "<DIV align=center class=para2>\r\n"
                         "<P>Sonivo</P></DIV>\r\n"
                         "<DIV align=center class=para1>\r\n"
                         "<P>playlist</P></DIV></DIV>\r\n"
                         "<HR align=left color=#ffbf00 noShade SIZE=1 width=\"90%\">\r\n"
                         "\r\n"
                         "<DIV align=right>\r\n"
                         "<TABLE border=0 cellPadding=0 cellSpacing=0 width=\"98%\">\r\n"
                         "<TBODY>\r\n"
                         "<TR>\r\n";

// Lines 40 to 43.
constexpr char kBeforeSongs[] = "</TD></TR></TBODY></TABLE></DIV>\r\n"
                                "<BLOCKQUOTE>\r\n"
                                "<P><FONT color=#ffbf00 face=Arial><BIG>Lista brani:</BIG></FONT>\r\n"
                                "<UL><FONT color=#ffffff face=Arial><SMALL>\r\n";

// Lines 45 to 47, after the song list's line end.
constexpr char kTail[] = "</FONT></UL></BLOCKQUOTE>\r\n"
                         "<HR align=left color=#ffbf00 noShade SIZE=1 width=\"90%\">\r\n"
                         "</SMALL></BODY></HTML>\r\n";

// Lines 28 to 39: the song count, their total time and the catalogue's total size.
void appendTotals(QByteArray& out, qsizetype songs, const QString& time, const RowTotals& catalogue, const QLocale& locale)
{
    const QStringView colon = QStringView(u":");
    out += "<TD><SMALL><SMALL><FONT color=#ffbf00 face=Arial>";
    out += QByteArray::number(songs);
    out += "</FONT><FONT\r\n"
           "color=#409fff face=Arial> brani nella playlist\r\n"
           "</FONT></SMALL></SMALL><BR><SMALL><SMALL><FONT\r\n"
           "color=#409fff face=Arial>Durata totale stimata della playlist: </FONT><FONT\r\n"
           "color=#ffbf00 face=Arial>";
    appendHtmlText(out, Field(time, 1, colon));
    out += "</FONT><FONT color=#409fff face=Arial> ore\r\n"
           "</FONT><FONT color=#ffbf00 face=Arial>";
    appendHtmlText(out, Field(time, 2, colon));
    out += "</FONT><FONT color=#409fff\r\n"
           "face=Arial> minuti </FONT><FONT color=#ffbf00 face=Arial>";
    appendHtmlText(out, Field(time, 3, colon));
    out += "</FONT><FONT\r\n"
           "color=#409fff face=Arial> secondi <BR>\r\n"
           "</FONT></SMALL></SMALL>\r\n"
           "<SMALL><SMALL><FONT color=#409fff face=Arial>Grandezza totale files: </FONT><FONT\r\n"
           "color=#ffbf00 face=Arial>";
    appendHtmlText(out, formatGrouped(catalogue.size(QLatin1Char('m')), locale));
    out += "\r\n"
           "</FONT><FONT color=#409fff face=Arial> MB (</FONT><FONT color=#ffbf00 face=Arial>";
    appendHtmlText(out, formatGrouped(catalogue.size(QLatin1Char('b')), locale));
    out += "</FONT><FONT color=#409fff face=Arial> byte)</FONT></SMALL></SMALL><BR>\r\n";
}

}  // namespace

bool writeHtmlPage(const ReportSource& songs, ReportOptions options, const QLocale& locale, const ReportOutput& output, WorkProgress* progress)
{
    ChunkedOutput chunks(output, progress, songs.size());
    QByteArray& out = chunks.buffer();
    out += kHead;
    appendTotals(out, songs.size(), songs.totalTime(), songs.catalogueTotals(), locale);
    out += kBeforeSongs;
    for (qsizetype i = 0; i < songs.size(); ++i) {
        const SongRecord& song = songs.at(i);
        appendShownHtml(out, withoutExtension(song.stored(ColFileName)));
        if (options.withDuration) {
            put(out, "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; [");
            appendShownHtml(out, song.stored(ColDuration));
            put(out, "]");
        }
        if (options.withSize) {
            put(out, " [");
            appendShownHtml(out, song.stored(ColSize));
            put(out, "]");
        }
        put(out, "<BR>");
        if (!chunks.pieceDone())
            return false;
    }
    out += "\r\n";
    out += kTail;
    return chunks.finish();
}

}  // namespace sonivo
