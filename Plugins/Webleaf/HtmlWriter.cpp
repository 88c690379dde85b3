#include "HtmlWriter.h"

#include <array>
#include <string_view>

namespace vlt::plugin {

namespace {

// The ISO 8859-1 entities of HTML 4.01, U+00A0 to U+00FF in code order.
constexpr std::array<std::string_view, 96> kLatin1Entities = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

constexpr std::string_view kHeadBeforeVersion =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
    "<html>\r\n"
    "<head>\r\n"
    " <title>Orvelline Vaultwick Listing</title>\r\n"
    " <meta name=\"generator\" content=\"Orvelline Vaultwick\">\r\n"
    " <meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\"/> \r\n"
    " <style type=\"text/css\">\r\n"
    "   font: normal 8pt/13pt verdana, arial, sans-serif;\r\n"
    " </style>\r\n"
    "</head>\r\n"
    "<body>\r\n"
    "Orvelline Vaultwick Listing\r\n"
    "</br>\r\n"
    "Plugin version: ";
constexpr std::string_view kHeadBeforeDate =
    "\r\n"
    "</br>\r\n"
    "Warning: this file holds every password in clear text.\r\n"
    "</br>\r\n"
    "</br>\r\n"
    "Generated on: ";
constexpr std::string_view kHeadEnd =
    "\r\n"
    "</br>\r\n"
    "</br>\r\n"
    "Entries:\r\n"
    "</br>\r\n"
    "</br>\r\n";

constexpr std::string_view kCellStart = "\t\t<td style=\"text-align: center;\">";
constexpr std::string_view kCellEnd = "</td>\r\n";

constexpr std::array<std::string_view, 10> kColumnTitles = {
    "Group",   "Account name", "User name", "Password", "URL",
    "Comment", "Created",      "Accessed",  "Modified", "Expires"};

constexpr std::string_view kTableFoot = "\r\n</tbody>\r\n</table>\r\n";
constexpr std::string_view kPageFoot = "</br>\r\n</body>\r\n</html>\r\n";

bool isControl(char32_t c) {
    return (c < 0x20 && c != u'\t') || (c >= 0x7F && c <= 0x9F);
}

void textCell(ExportOutput& out, const char16_t* text) {
    out << kCellStart;
    HTMLEncode(out, text);
    out << kCellEnd;
}

void plainCell(ExportOutput& out, std::string_view text) {
    out << kCellStart << text << kCellEnd;
}

// The row is built field by field in one pass, so a field that reads like another column's
// placeholder stays as it is.
void writeRow(ExportOutput& out, const VLT_Entry& e) {
    out << "\t<tr>\r\n";
    for (const char16_t* text : {e.GroupName, e.Account, e.User, e.Password, e.URL, e.Comment}) {
        textCell(out, text);
    }
    plainCell(out, DateText(e.CreationDate));
    plainCell(out, DateText(e.AccessDate));
    plainCell(out, DateText(e.ModificationDate));
    plainCell(out, e.Expires == 1 ? DateText(e.ExpirationDate) : "No expiration");
    out << "\r\n\t</tr>\r\n";
}

}  // namespace

void HTMLEncode(ExportOutput& out, std::u16string_view text) {
    std::size_t units = 1;
    for (std::size_t i = 0; i < text.size(); i += units) {
        const char32_t c = CodePointAt(text, i, units);
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            units = 2;
            out << "<br>";
        } else if (c == u'\r' || c == u'\n') {
            out << "<br>";
        } else if (c == u'"') {
            out << "&quot;";
        } else if (c == u'&') {
            out << "&amp;";
        } else if (c == u'<') {
            out << "&lt;";
        } else if (c == u'>') {
            out << "&gt;";
        } else if (c >= 0xA0 && c <= 0xFF) {
            out << "&" << kLatin1Entities[c - 0xA0] << ";";
        } else if (isControl(c)) {
            out.put(0xFFFD);
        } else {
            out.put(c);
        }
    }
}

void ExportHTML(ExportJob& job) {
    job.records.countGroups();
    const std::int32_t entries = job.records.countEntries();
    Progress progress(entries, job.showProgress);
    ExportOutput& out = job.out;

    out << kHeadBeforeVersion << kWebleafVersion << kHeadBeforeDate << DateText(job.now)
        << kHeadEnd;
    out << "<table style=\"text-align: left; width: 100%;\" border=\"1\" cellpadding=\"0\" "
           "cellspacing=\"0\">\r\n<tbody>\r\n\t<tr>\r\n";
    for (std::string_view title : kColumnTitles) {
        plainCell(out, title);
    }
    out << "\t</tr>\r\n";
    WalkEntries(job.records, job.scope, progress, [&out](const VLT_Entry& e) { writeRow(out, e); });
    out << kTableFoot << kPageFoot;
}

}  // namespace vlt::plugin
