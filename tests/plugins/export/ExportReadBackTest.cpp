// Each interchange file other programs read, read back by a plain reader of its layout, gives the
// stored fields. (The INI layout is read back by the project's own importer in the round trip.)
#include <gtest/gtest.h>

#include <map>

#include "CsvWriter.h"
#include "ExportFixture.h"
#include "HtmlWriter.h"
#include "KeePassCsvWriter.h"

namespace vlt::test {
namespace {

using Record = std::vector<std::string>;

// A quoted-field CSV reader: `backslash` takes the character after a backslash literally (the
// KeePass 1.x flavour), otherwise a doubled quote stands for one quote (standard CSV).
std::vector<Record> readCsv(std::string_view text, bool backslash) {
    std::vector<Record> records;
    Record record;
    std::size_t i = 0;
    while (i < text.size()) {
        EXPECT_EQ(text[i], '"') << "field does not start with a quote at " << i;
        std::string field;
        for (++i; i < text.size(); ++i) {
            if (backslash && text[i] == '\\' && i + 1 < text.size()) {
                field += text[++i];
            } else if (text[i] == '"' && !backslash && i + 1 < text.size() && text[i + 1] == '"') {
                field += text[++i];
            } else if (text[i] == '"') {
                break;
            } else {
                field += text[i];
            }
        }
        record.push_back(field);
        ++i;
        if (text.substr(i, 2) == "\r\n") {
            records.push_back(record);
            record.clear();
            i += 2;
        } else {
            EXPECT_EQ(text.substr(i, 1), ",") << "after a field at " << i;
            ++i;
        }
    }
    EXPECT_TRUE(record.empty()) << "last record without CR LF";
    return records;
}

// A field as an HTML cell shows it: every kind of line break one break, control characters
// (but tab and the breaks) U+FFFD.
std::string shownInCell(std::u16string_view text) {
    std::u16string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            continue;
        }
        if (c == u'\r' || c == u'\n') {
            shown += u'\n';
        } else if ((c < 0x20 && c != u'\t') || (c >= 0x7F && c <= 0x9F)) {
            shown += u'\uFFFD';
        } else {
            shown += c;
        }
    }
    return Utf8(shown);
}

std::string unescapeHtml(std::string_view cell) {
    static const std::map<std::string, std::string> kEntities = {
        {"quot", "\""},     {"amp", "&"},         {"lt", "<"},       {"gt", ">"},
        {"nbsp", "\u00A0"}, {"eacute", "\u00E9"}, {"yuml", "\u00FF"}};
    std::string text;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell.substr(i, 4) == "<br>") {
            text += '\n';
            i += 3;
        } else if (cell[i] == '&') {
            const std::size_t end = cell.find(';', i);
            const auto entity = kEntities.find(std::string(cell.substr(i + 1, end - i - 1)));
            EXPECT_NE(entity, kEntities.end()) << cell.substr(i);
            if (entity != kEntities.end()) {
                text += entity->second;
            }
            i = end;
        } else {
            EXPECT_NE(cell[i], '<') << "raw markup in a cell: " << cell;
            text += cell[i];
        }
    }
    return text;
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    for (std::size_t end = text.find("\r\n"); end != std::string_view::npos;
         end = text.find("\r\n")) {
        lines.emplace_back(text.substr(0, end));
        text.remove_prefix(end + 2);
    }
    EXPECT_TRUE(text.empty()) << "text after the last CR LF";
    return lines;
}

TEST(ExportReadBack, HtmlRowsHaveTenCellsThatUnescapeToTheFields) {
    const FixtureVault vault;
    const std::string page = RunWriter(plugin::ExportHTML, {}).bytes;

    const std::string cellStart = "\t\t<td style=\"text-align: center;\">";
    const std::size_t tableStart = page.find("<table");
    const std::size_t headEnd = page.find("\t</tr>", tableStart) + 6;
    std::size_t at = headEnd + 2;
    for (const VLT_Entry& e : vault.entries()) {
        SCOPED_TRACE(e.ID);
        const std::size_t end = page.find("\t</tr>", at) + 6;
        const std::vector<std::string> lines = splitLines(page.substr(at, end - at) + "\r\n");
        ASSERT_EQ(lines.size(), 13u);
        EXPECT_EQ(lines[0], "\t<tr>");
        EXPECT_EQ(lines[11], "");
        std::vector<std::string> cells;
        for (int c = 0; c < 10; ++c) {
            const std::string& line = lines[1 + c];
            ASSERT_TRUE(line.starts_with(cellStart) && line.ends_with("</td>")) << line;
            cells.push_back(line.substr(cellStart.size(), line.size() - cellStart.size() - 5));
        }
        EXPECT_EQ(unescapeHtml(cells[0]), shownInCell(e.GroupName));
        EXPECT_EQ(unescapeHtml(cells[1]), shownInCell(e.Account));
        EXPECT_EQ(unescapeHtml(cells[2]), shownInCell(e.User));
        EXPECT_EQ(unescapeHtml(cells[3]), shownInCell(e.Password));
        EXPECT_EQ(unescapeHtml(cells[4]), shownInCell(e.URL));
        EXPECT_EQ(unescapeHtml(cells[5]), shownInCell(e.Comment));
        EXPECT_EQ(cells[6], plugin::DateText(e.CreationDate));
        EXPECT_EQ(cells[9], e.Expires == 1 ? plugin::DateText(e.ExpirationDate) : "No expiration");
        at = end + 2;
    }
    EXPECT_EQ(page.substr(at), "\r\n</tbody>\r\n</table>\r\n</br>\r\n</body>\r\n</html>\r\n");
}

TEST(ExportReadBack, KeePassCsvReadWithBackslashEscapesGivesTheFields) {
    const FixtureVault vault;
    const std::string file = RunWriter(plugin::ExportKeePassCSV, {}).bytes;
    ASSERT_TRUE(file.starts_with("\xEF\xBB\xBF"));
    EXPECT_EQ(file.find("\r\n"), 3u + 55u);
    const std::vector<Record> records = readCsv(std::string_view(file).substr(3), true);
    ASSERT_EQ(records.size(), vault.entries().size() + 1);
    EXPECT_EQ(records[0], (Record{"Account", "Login Name", "Password", "Web Site", "Comments"}));
    for (std::size_t i = 0; i < vault.entries().size(); ++i) {
        const VLT_Entry& e = vault.entries()[i];
        EXPECT_EQ(records[i + 1], (Record{Utf8(e.Account), Utf8(e.User), Utf8(e.Password),
                                          Utf8(e.URL), Utf8(e.Comment)}));
    }
}

TEST(ExportReadBack, OwnCsvReadAsStandardCsvGivesTheFields) {
    const FixtureVault vault;
    const std::string file = RunWriter(plugin::ExportCSV, {}).bytes;
    EXPECT_EQ(file.find("\r\n"), 59u);
    const std::vector<Record> records = readCsv(file, false);
    ASSERT_EQ(records.size(), vault.entries().size() + 1);
    EXPECT_EQ(records[0],
              (Record{"Group", "Account", "Login Name", "Password", "Comments", "Date"}));
    for (std::size_t i = 0; i < vault.entries().size(); ++i) {
        const VLT_Entry& e = vault.entries()[i];
        // A comment's line breaks, of every kind, each become one blank.
        std::u16string comment;
        for (const char16_t* c = e.Comment; *c != 0; ++c) {
            if (*c == u'\r' && c[1] == u'\n') {
                ++c;
            }
            comment += *c == u'\r' || *c == u'\n' ? u' ' : *c;
        }
        EXPECT_EQ(records[i + 1],
                  (Record{Utf8(e.GroupName), Utf8(e.Account), Utf8(e.User), Utf8(e.Password),
                          Utf8(comment), plugin::DateText(e.CreationDate)}));
    }
}

}  // namespace
}  // namespace vlt::test
