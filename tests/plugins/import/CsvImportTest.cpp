// The two CSV readers: every field the exporters write comes back, whatever characters it holds;
// the header decides whether a file is read at all; malformed files never shift or lose the
// fields around the damage.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ImportTestSupport.h"
#include "KeePassCsvImport.h"
#include "OwnCsvImport.h"
#include "common/Utf.h"

namespace vlt::import {
namespace {

using test::RecordingSink;

// Texts that break naive CSV handling: escapes, quotes beside commas, every kind of line break.
const std::vector<std::u16string> kHostile = {
    u"C:\\new",
    u"ends in a backslash\\",
    u"say \"hi\", ok",
    u"\\\",\"",
    u"\"",
    u"a,b,c",
    u"two\r\nlines",
    u"lf\nonly",
    u"cr\ronly",
    u"",
    u"  padded  ",
    u"quote at end\"",
    u"\"quote at start",
    u"\u00fcn\u00efc\u00f6d\u00e9 \u20ac \U0001F511",
    u"\r\nstarts broken",
    u"\"\"",
    u"\\\\",
    u"\",\"",
};

std::u16string quoted(std::u16string_view text, bool backslashes) {
    std::u16string out = u"\"";
    for (char16_t c : text) {
        if (backslashes && (c == u'\\' || c == u'"')) {
            out += u'\\';
        } else if (!backslashes && c == u'"') {
            out += u'"';
        }
        out += c;
    }
    return out + u"\"";
}

std::string csvFile(std::u16string_view header,
                    const std::vector<std::vector<std::u16string>>& rows, bool backslashes) {
    std::u16string text = std::u16string(header) + u"\r\n";
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i != 0) {
                text += u',';
            }
            text += quoted(row[i], backslashes);
        }
        text += u"\r\n";
    }
    return toUtf8(text);
}

// Rows of n fields drawn from kHostile, so that every text appears in every column.
std::vector<std::vector<std::u16string>> hostileRows(std::size_t n) {
    std::vector<std::vector<std::u16string>> rows;
    for (std::size_t r = 0; r < kHostile.size(); ++r) {
        std::vector<std::u16string> row;
        for (std::size_t c = 0; c < n; ++c) {
            row.push_back(kHostile[(r + c) % kHostile.size()]);
        }
        rows.push_back(row);
    }
    return rows;
}

std::string utf16Le(std::u16string_view text) {
    std::string le;
    for (char16_t c : text) {
        le += static_cast<char>(c & 0xFF);
        le += static_cast<char>(c >> 8);
    }
    return le;
}

// A literal's bytes, NULs included.
template <std::size_t N>
std::string bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

constexpr std::u16string_view kKeePassHeader =
    u"\"Account\",\"Login Name\",\"Password\",\"Web Site\",\"Comments\"";
constexpr std::u16string_view kOwnHeader =
    u"\"Group\",\"Account\",\"Login Name\",\"Password\",\"Comments\",\"Date\"";

TEST(KeePassCsvImport, EveryFieldTheExporterWritesComesBack) {
    const auto rows = hostileRows(5);
    RecordingSink sink;
    sink.idQueue = {4242};
    const ImportResult result =
        ImportKpCsv_ReadBytes("\xEF\xBB\xBF" + csvFile(kKeePassHeader, rows, true), sink);
    EXPECT_EQ(result.Ok, 1);
    EXPECT_EQ(result.Text, u"File imported successfully!");
    ASSERT_EQ(sink.groups.size(), 1u);
    EXPECT_EQ(sink.groups[0].Name, u"Imported entries");
    EXPECT_EQ(sink.groups[0].GroupID, 4242);
    EXPECT_EQ(sink.groups[0].Depth, 1);
    EXPECT_EQ(sink.groups[0].Icon, 0);
    ASSERT_EQ(sink.entries.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const EntryRecord& e = sink.entries[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(e.Account, rows[i][0]);
        EXPECT_EQ(e.User, rows[i][1]);
        EXPECT_EQ(e.Password, rows[i][2]);
        EXPECT_EQ(e.URL, rows[i][3]);
        EXPECT_EQ(e.Comment, rows[i][4]);
        EXPECT_EQ(e.GroupID, 4242);
        EXPECT_EQ(e.GroupName, u"Imported entries");
        EXPECT_EQ(e.ID, -1);
        EXPECT_EQ(e.Expires, 0);
        EXPECT_EQ(e.CustomForeground, -1);
        EXPECT_EQ(e.ForegroundColor, -1);
        EXPECT_EQ(e.CreationDate, -1);
        EXPECT_EQ(e.ExpirationDate, -1);
    }
    EXPECT_EQ(sink.percents.back(), 100);
}

TEST(KeePassCsvImport, EncodingsHeadersAndLayoutDetails) {
    struct Case {
        std::string bytes;
        std::vector<std::u16string> firstEntry;  // empty: refused
    };
    const std::string header = "\"Account\",\"Login Name\",\"Password\",\"Web Site\",\"Comments\"";
    const std::vector<Case> cases = {
        // Windows-1252 without a mark: 0xE9 is e acute, 0x80 the euro sign.
        {header + "\r\n\"caf\xE9\",\"\x80\",\"p\",\"u\",\"c\"",
         {u"caf\u00e9", u"\u20ac", u"p", u"u", u"c"}},
        // Invalid UTF-8 after the UTF-8 mark becomes U+FFFD; the rest of the field stays.
        {"\xEF\xBB\xBF" + header +
             "\n\"a\xFF"
             "b\",\"\",\"\",\"\",\"\"",
         {u"a\uFFFDb", u"", u"", u"", u""}},
        // Letter case and blanks around the names; blank lines before the header and between
        // records are skipped; unquoted fields; a record of four fields.
        {"\r\n   \r\n ACCOUNT , login name,\"Password \",\"web site\", \"Comments\", extra\n\n  \n"
         "plain, \"q\" ,x,\n",
         {u"plain", u"q", u"x", u"", u""}},
        // An LF-only file; a 200-field record keeps its first five fields.
        {header + "\n" +
             [] {
                 std::string r;
                 for (int i = 0; i < 200; ++i) {
                     r += (i ? ",\"" : "\"") + std::to_string(i) + "\"";
                 }
                 return r;
             }(),
         {u"0", u"1", u"2", u"3", u"4"}},
        // A quote left open at the end of the file takes the rest as its field.
        {header + "\r\n\"a\",\"b\",\"open\r\nto the end",
         {u"a", u"b", u"open\r\nto the end", u"", u""}},
        // A NUL inside a field is kept (the plugin's sink makes it U+FFFD for the host).
        {header + bytes("\r\n\"n\0l\",\"\",\"\",\"\",\"\""),
         {std::u16string(u"n\0l", 3), u"", u"", u"", u""}},
        // Refused: columns in another order, a UTF-16BE file, empty and blank-only files.
        {"\"Login Name\",\"Account\",\"Password\",\"Web Site\",\"Comments\"\r\n", {}},
        {bytes("\xFE\xFF\0\"\0A"), {}},
        {"", {}},
        {" \r\n\r\n  ", {}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        RecordingSink sink;
        const ImportResult result = ImportKpCsv_ReadBytes(cases[i].bytes, sink);
        if (cases[i].firstEntry.empty()) {
            EXPECT_EQ(result.Ok, 0);
            EXPECT_EQ(result.Caption, u"Warning");
            EXPECT_EQ(result.Text, u"The selected CSV file is not a standard KeePass 1.x CSV.");
            EXPECT_TRUE(sink.groups.empty());
            EXPECT_TRUE(sink.entries.empty());
            continue;
        }
        ASSERT_EQ(result.Ok, 1);
        ASSERT_EQ(sink.entries.size(), 1u);
        const EntryRecord& e = sink.entries[0];
        EXPECT_EQ((std::vector<std::u16string>{e.Account, e.User, e.Password, e.URL, e.Comment}),
                  cases[i].firstEntry);
    }

    // UTF-16LE after its mark, a field of ten megabytes, and an odd number of bytes.
    const std::u16string big(10 << 20, u'x');
    const std::u16string text = u"\uFEFF" + std::u16string(kKeePassHeader) + u"\r\n\"\u0394\",\"" +
                                big + u"\",\"\",\"\",\"\"\r\n";
    RecordingSink sink;
    ASSERT_EQ(ImportKpCsv_ReadBytes(utf16Le(text) + 'x', sink).Ok, 1);  // a lone last byte
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].Account, u"\u0394");
    EXPECT_EQ(sink.entries[0].User, big);
}

TEST(KeePassCsvImport, Utf16WithoutAFinalLineEndKeepsItsLastLineWhole) {
    // The last field unquoted, so that a character lost at the end shows; it ends in a pair of
    // surrogates.
    const std::u16string text =
        u"\uFEFF" + std::u16string(kKeePassHeader) +
        u"\r\n\"a\",\"b\",\"c\",\"d\",\"e\"\r\n\"f\",\"g\",\"h\",\"i\",last \U0001F511";
    for (const std::string& tail : {std::string(), std::string("\x00", 1), std::string("\xFF")}) {
        SCOPED_TRACE(tail.size());
        RecordingSink sink;
        ASSERT_EQ(ImportKpCsv_ReadBytes(utf16Le(text) + tail, sink).Ok, 1);
        ASSERT_EQ(sink.entries.size(), 2u);
        EXPECT_EQ(sink.entries[0].Comment, u"e");
        EXPECT_EQ(sink.entries[1].Account, u"f");
        EXPECT_EQ(sink.entries[1].Comment, u"last \U0001F511");
    }
}

TEST(OwnCsvImport, FieldsComeBackAndEqualNamesShareOneGroup) {
    const std::vector<std::u16string> groupNames = {u"Web", u"web ", u"Mail", u"\"Odd\", name"};
    auto rows = hostileRows(6);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i][0] = groupNames[i % groupNames.size()];
        // The exporter joins a comment's CR LF pairs with a blank; lone CR and LF stay.
        for (std::size_t at; (at = rows[i][4].find(u"\r\n")) != std::u16string::npos;) {
            rows[i][4][at] = u' ';
            rows[i][4].erase(at + 1, 1);
        }
        rows[i][5] = u"2009/07/14 08:05:09";
    }
    RecordingSink sink;
    sink.idQueue = {7, 7, 8, 8, 9};  // repeats must not give two groups one ID
    const ImportResult result = ImportCsv_ReadBytes(csvFile(kOwnHeader, rows, false), sink);
    ASSERT_EQ(result.Ok, 1);
    EXPECT_EQ(result.Caption, u"Information");
    ASSERT_EQ(sink.groups.size(), 3u);
    EXPECT_EQ(sink.groups[0].Name, u"Web");
    EXPECT_EQ(sink.groups[1].Name, u"Mail");
    EXPECT_EQ(sink.groups[2].Name, u"\"Odd\", name");
    EXPECT_EQ((std::vector<std::int32_t>{sink.groups[0].GroupID, sink.groups[1].GroupID,
                                         sink.groups[2].GroupID}),
              (std::vector<std::int32_t>{7, 8, 9}));
    for (const GroupRecord& g : sink.groups) {
        EXPECT_EQ(g.Depth, 1);
    }
    const std::int32_t idOf[] = {7, 7, 8, 9};
    ASSERT_EQ(sink.entries.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const EntryRecord& e = sink.entries[i];
        EXPECT_EQ(e.GroupName, rows[i][0]);
        EXPECT_EQ(e.GroupID, idOf[i % 4]);
        EXPECT_EQ(e.Account, rows[i][1]);
        EXPECT_EQ(e.User, rows[i][2]);
        EXPECT_EQ(e.Password, rows[i][3]);
        EXPECT_EQ(e.Comment, rows[i][4]);
        EXPECT_EQ(e.URL, u"");
        EXPECT_EQ(e.Expires, 0);
        EXPECT_EQ(e.CreationDate, -1);  // the date column is not read
    }
    EXPECT_EQ(sink.percents.back(), 100);
}

TEST(OwnCsvImport, FilesWithUndoubledQuotesKeepEveryField) {
    // Files that hold quotes as they are: each record is anchored on the date at its end.
    const std::string date = "\",\"2009/07/14 08:05:09\"";
    const std::string older =
        "\"Group\",\"Account\",\"Login Name\",\"Password\",\"Comments\",\"Date\"\r\n"
        "\"Web\",\"say \"hi\" now\",\"u\",\"pw\"\",\"c" +
        date +
        "\r\n"
        "\r\n"
        "\"Web\",\"a\",\"u\",\"p\",\"He said \"hi\"" +
        date +
        "\r\n"
        "\"Mail\",\"a\",\"u\",\"x\r\ny\",\"one\",\"two\", \"2000/01/01 00:00:00\"" +
        date +
        "\n"
        "\"Mail\",\"a\",\"\"\"\",\"\",\"" +
        date +
        "\r\n"  // paired quotes: one quote
        "\"Bank\",\"b\",\"\",\"\",\"\",\"\"\r\n"
        "plain, a ,u,p\"q,c,\r\n";  // neither kind: general CSV rules
    RecordingSink sink;
    ASSERT_EQ(ImportCsv_ReadBytes(older, sink).Ok, 1);
    const std::vector<std::vector<std::u16string>> expected = {
        {u"Web", u"say \"hi\" now", u"u", u"pw\"", u"c"},
        {u"Web", u"a", u"u", u"p", u"He said \"hi\""},
        {u"Mail", u"a", u"u", u"x\r\ny", u"one\",\"two\", \"2000/01/01 00:00:00\""},
        {u"Mail", u"a", u"\"", u"", u""},
        {u"Bank", u"b", u"", u"", u""},
        {u"plain", u"a", u"u", u"p\"q", u"c"},
    };
    ASSERT_EQ(sink.entries.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const EntryRecord& e = sink.entries[i];
        EXPECT_EQ(
            (std::vector<std::u16string>{e.GroupName, e.Account, e.User, e.Password, e.Comment}),
            expected[i])
            << i;
    }
    EXPECT_EQ(sink.groups.size(), 4u);
}

TEST(OwnCsvImport, AShortOrBrokenRecordNeverTakesTheNextOne) {
    const std::string header =
        "\"Group\",\"Account\",\"Login Name\",\"Password\",\"Comments\",\"Date\"\r\n";
    const std::vector<std::u16string> whole = {u"G2", u"A2", u"U2", u"P2", u"C2"};
    const std::vector<std::pair<std::string, std::vector<std::u16string>>> damaged = {
        {"\"G\",\"A\",\"U\",\"P\",\"C\"", {u"G", u"A", u"U", u"P", u"C"}},  // no date
        {"\"G\",\"A\",\"U\",\"P\",\"C", {u"G", u"A", u"U", u"P", u"C"}},    // comment left open
        {"\"G\",\"A\",\"U", {u"G", u"A", u"U", u"", u""}},                  // cut in a field
    };
    for (const auto& [line, fields] : damaged) {
        for (const std::string next : {"\"G2\",\"A2\",\"U2\",\"P2\",\"C2\",\"2009/07/14 08:05:09\"",
                                       "\"G2\",\"A2\",\"U2\",\"P2\",\"C2\",\"\""}) {
            SCOPED_TRACE(line + "\n" + next);
            RecordingSink sink;
            ASSERT_EQ(ImportCsv_ReadBytes(header + line + "\r\n" + next + "\r\n", sink).Ok, 1);
            ASSERT_EQ(sink.entries.size(), 2u);
            for (std::size_t i = 0; i < 2; ++i) {
                const EntryRecord& e = sink.entries[i];
                EXPECT_EQ((std::vector<std::u16string>{e.GroupName, e.Account, e.User, e.Password,
                                                       e.Comment}),
                          i == 0 ? fields : whole);
            }
        }
    }
}

TEST(OwnCsvImport, TheHeaderDecidesAfterAByteOrderMark) {
    const std::string older =
        "\"Group\",\"Account\",\"Login Name\",\"Password\",\"Comments\",\"Date\"\r\n"
        "\"Web\",\"a\",\"u\",\"p\",\"c\",\"2009/07/14 08:05:09\"\r\n";
    // As spreadsheets save it.
    RecordingSink marked;
    ASSERT_EQ(ImportCsv_ReadBytes("\xEF\xBB\xBF" + older, marked).Ok, 1);
    ASSERT_EQ(marked.entries.size(), 1u);
    EXPECT_EQ(marked.entries[0].GroupName, u"Web");
    EXPECT_EQ(marked.entries[0].Password, u"p");

    for (const std::string& bad :
         {"\xEF\xBB\xBF\xEF\xBB\xBF" + older, std::string(), std::string("\r\n \r\n"),
          std::string("\"Group\",\"Account\",\"Login Name\",\"Password\",\"Comments\"\r\n")}) {
        RecordingSink refused;
        const ImportResult result = ImportCsv_ReadBytes(bad, refused);
        EXPECT_EQ(result.Ok, 0);
        EXPECT_EQ(result.Text, u"This is not a valid VLT CSV file.");
        EXPECT_EQ(result.Icon, kIconWarning);
        EXPECT_TRUE(refused.groups.empty());
        EXPECT_TRUE(refused.entries.empty());
    }
}

}  // namespace
}  // namespace vlt::import
