// The INI reader on hand-edited files and on comments written over several lines: every other
// value is its one line, one record's lines never reach another, numbers read as the layout
// writes them and beyond, and odd lines are ignored (the exporter's own files are read back in
// the round-trip tests). Then what every
// importer does with a path that names no regular file, or too large a one.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "ImportFile.h"
#include "ImportTestSupport.h"
#include "ImporterWindow.h"
#include "IniImport.h"
#include "KeePassCsvImport.h"
#include "OwnCsvImport.h"
#include "TempDir.h"
#include "V3Container.h"
#include "common/Utf.h"

namespace vlt::import {
namespace {

using test::RecordingSink;

TEST(IniImport, HandEditedFilesAndOddValues) {
    const std::string text =
        "\xEF\xBB\xBF"
        "Name = before any section\r"  // ignored: belongs to no record
        "[1]\r"                        // CR-only line ends
        "name=No type is a group\r"
        "ICON =  42abc\r"
        "GroupID = $1F\r"
        "Depth = %101\r"
        "a stray line without an equals sign\r"
        "[1]\n"  // the same name again: a record of its own
        "EntryType = 1\n"
        "ID = 99999999999\n"
        "ID = 5\n"  // of a repeated key the first counts
        "GroupID = -99999999999\n"
        "CreationDate = -0x10\n"
        "Password = a\xFF"
        "b\n"
        "URL = u\n"
        "[2]\n"
        "EntryType = 2\n"
        "Name = skipped\n"
        "[ ]\n"
        "EntryType = \t-1\n";
    RecordingSink sink;
    ASSERT_EQ(ImportIni_ReadBytes(text, sink).Ok, 1);
    ASSERT_EQ(sink.groups.size(), 1u);
    EXPECT_EQ(sink.groups[0].Name, u"No type is a group");
    EXPECT_EQ(sink.groups[0].Icon, 42);
    EXPECT_EQ(sink.groups[0].GroupID, 31);
    EXPECT_EQ(sink.groups[0].Depth, 5);
    ASSERT_EQ(sink.entries.size(), 1u);
    const EntryRecord& e = sink.entries[0];
    EXPECT_EQ(e.ID, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(e.GroupID, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(e.Password, u"a\uFFFDb");
    EXPECT_EQ(e.URL, u"u");
    EXPECT_EQ(e.CreationDate, 0);
    EXPECT_EQ(e.Account, u"");  // missing keys are empty texts and zeros
    EXPECT_EQ(e.Expires, 0);
    EXPECT_EQ(sink.percents.back(), 100);  // four sections, skipped ones counted

    // An empty file imports nothing and still succeeds.
    RecordingSink empty;
    EXPECT_EQ(ImportIni_ReadBytes("", empty).Ok, 1);
    EXPECT_TRUE(empty.groups.empty() && empty.entries.empty());
}

TEST(IniImport, HandEditedValuesAreTheirOneLine) {
    const std::string text =
        "[1]\r\nEntryType = 1\r\nID = 1\r\n"
        "Password = pw\r\nNotes = hand note\r\n"  // a key the layout does not know
        "User = first\r\nUser = second\r\n"
        "GroupName = two\r\nlines\r\n"  // as the exporter once wrote a text with a line break
        "Password = \\*a\\\\b\\r\\nc\r\n"
        "[wan]\r\nhost = 10.0.0.1\r\nURL = foreign\r\n"  // no record: its keys are not the entry's
        "[2]\r\n\r\nEntryType = 1\r\nID = 2\r\nPassword = \\*a\\\\b\\r\\nc\r\nURL = \\*C:\\temp\r\n"
        "[3]\r\n; a note\r\n\r\nEntryType = 1\r\nID = 3\r\n";
    RecordingSink sink;
    ASSERT_EQ(ImportIni_ReadBytes(text, sink).Ok, 1);
    EXPECT_TRUE(sink.groups.empty());  // none from "[wan]"
    ASSERT_EQ(sink.entries.size(), 3u);
    const EntryRecord& first = sink.entries[0];
    EXPECT_EQ(first.Password, u"pw");
    EXPECT_EQ(first.User, u"first");
    EXPECT_EQ(first.GroupName, u"two");
    EXPECT_EQ(first.URL, u"");
    // A record whose first key comes after a blank or a comment line is a record all the same.
    EXPECT_EQ(sink.entries[1].ID, 2);
    EXPECT_EQ(sink.entries[1].Password, u"a\\b\r\nc");
    EXPECT_EQ(sink.entries[1].URL, u"\\*C:\\temp");  // not our escapes: kept as stored
    EXPECT_EQ(sink.entries[2].ID, 3);
}

TEST(IniImport, ACommentRunsOnUpToItsExpiresLine) {
    // The exporter's layout, the comment written unescaped over lines that look like anything.
    const std::string dash = ";-------------------------------------------------------\r\n";
    const std::string dates =
        "CustomForeground = 1\r\nForegroundColor = 255\r\nCustomBackground = 1\r\n"
        "BackgroundColor = 65280\r\nCreationDate = 100\r\nAccessDate = 200\r\n"
        "ModificationDate = 300\r\nExpirationDate = 400\r\n\r\n";
    const std::string text =
        dash + ";VLT INI Exporter\r\n" + dash + "\r\n" + dash + ";Entry list\r\n" + dash +
        "[6]\r\nEntryType = 1\r\nID = 6\r\nPassword = p\r\n"
        "Comment = first\r\nName = Bob Smith\r\n[wan]\r\nhost = 10.0.0.1\n\r\n; kept\r"
        "Password = x\r\n[]\r\nnot a key\r\n \r\n"
        "Expires = 1\r\n" +
        dates +
        // No Expires line before the next record: the comment is its one line.
        "[7]\r\nEntryType = 1\r\nID = 7\r\nComment = one\r\nline\r\n\r\n" +
        // Expires set before the comment: the next Expires line ends nothing.
        "[8]\r\nEntryType = 1\r\nExpires = 1\r\nComment = \\*esc\\r\\naped\r\nUser = u\r\n"
        "Expires = 0\r\n\r\n" +
        dash + "[9]\r\nEntryType = 0\r\nName = last\r\n";
    RecordingSink sink;
    ASSERT_EQ(ImportIni_ReadBytes(text, sink).Ok, 1);
    ASSERT_EQ(sink.groups.size(), 1u);  // none from "[wan]" or "[]"
    EXPECT_EQ(sink.groups[0].Name, u"last");
    ASSERT_EQ(sink.entries.size(), 3u);
    const EntryRecord& e = sink.entries[0];
    EXPECT_EQ(e.Comment,
              u"first\r\nName = Bob Smith\r\n[wan]\r\nhost = 10.0.0.1\n\r\n; kept\r"
              u"Password = x\r\n[]\r\nnot a key\r\n ");
    EXPECT_EQ(e.Password, u"p");
    EXPECT_EQ(e.ID, 6);
    EXPECT_EQ((std::vector<std::int32_t>{e.Expires, e.CustomForeground, e.ForegroundColor,
                                         e.CustomBackground, e.BackgroundColor, e.CreationDate,
                                         e.AccessDate, e.ModificationDate, e.ExpirationDate}),
              (std::vector<std::int32_t>{1, 1, 255, 1, 65280, 100, 200, 300, 400}));
    EXPECT_EQ(sink.entries[1].ID, 7);
    EXPECT_EQ(sink.entries[1].Comment, u"one");
    EXPECT_EQ(sink.entries[2].Comment, u"esc\r\naped");
    EXPECT_EQ(sink.entries[2].User, u"u");
    EXPECT_EQ(sink.entries[2].Expires, 1);
}

// A section's keys as written, in the layout's order.
using IniKeys = std::vector<std::pair<std::string, std::string>>;

const IniKeys kGroupKeys = {
    {"EntryType", "0"}, {"GroupID", "5"}, {"Depth", "1"}, {"Name", "g"}, {"Icon", "3"}};
const IniKeys kEntryKeys = {{"EntryType", "1"},
                            {"ID", "6"},
                            {"GroupID", "5"},
                            {"GroupName", "g"},
                            {"Account", "mail"},
                            {"User", "me"},
                            {"Password", "secret"},
                            {"URL", "http://x"},
                            {"Comment", "c"},
                            {"Expires", "1"},
                            {"CustomForeground", "1"},
                            {"ForegroundColor", "255"},
                            {"CustomBackground", "1"},
                            {"BackgroundColor", "65280"},
                            {"CreationDate", "100"},
                            {"AccessDate", "200"},
                            {"ModificationDate", "300"},
                            {"ExpirationDate", "400"}};

std::string iniSection(const std::string& name, const IniKeys& keys) {
    std::string text = "[" + name + "]\r\n";
    for (const auto& [key, value] : keys) {
        text += key + " = " + value + "\r\n";
    }
    return text + "\r\n";
}

// What the keys hand over, a left-out key read as the empty text or 0.
std::vector<std::string> expectedFields(const IniKeys& layout, const IniKeys& written) {
    std::vector<std::string> fields;
    for (const auto& [key, value] : layout) {
        const auto found = std::find_if(written.begin(), written.end(),
                                        [&key](const auto& k) { return k.first == key; });
        const bool text = key == "Name" || key == "GroupName" || key == "Account" ||
                          key == "User" || key == "Password" || key == "URL" || key == "Comment";
        fields.push_back(found != written.end() ? value : text ? "" : "0");
    }
    return fields;
}

std::vector<std::string> fieldsOf(const GroupRecord& g) {
    return {"0", std::to_string(g.GroupID), std::to_string(g.Depth), toUtf8(g.Name),
            std::to_string(g.Icon)};
}

std::vector<std::string> fieldsOf(const EntryRecord& e) {
    std::vector<std::string> fields = {"1", std::to_string(e.ID), std::to_string(e.GroupID)};
    for (const std::u16string* text :
         {&e.GroupName, &e.Account, &e.User, &e.Password, &e.URL, &e.Comment}) {
        fields.push_back(toUtf8(*text));
    }
    for (std::int32_t n :
         {e.Expires, e.CustomForeground, e.ForegroundColor, e.CustomBackground, e.BackgroundColor,
          e.CreationDate, e.AccessDate, e.ModificationDate, e.ExpirationDate}) {
        fields.push_back(std::to_string(n));
    }
    return fields;
}

TEST(IniImport, KeysLeftOutOrReorderedStayInTheirFields) {
    // Sections without EntryType (groups) between and after the others; "[]" is one too.
    const std::string untyped = "[7]\r\nName = untyped\r\nIcon = 2\r\n\r\n";
    const std::string last = "[]\r\nName = last\r\n";
    auto check = [&](const IniKeys& group, const IniKeys& entry) {
        RecordingSink sink;
        ASSERT_EQ(
            ImportIni_ReadBytes(
                iniSection("5", group) + untyped + iniSection("6", entry) + untyped + last, sink)
                .Ok,
            1);
        ASSERT_EQ(sink.groups.size(), 4u);
        ASSERT_EQ(sink.entries.size(), 1u);
        EXPECT_EQ(fieldsOf(sink.groups[0]), expectedFields(kGroupKeys, group));
        EXPECT_EQ(sink.groups[1].Name, u"untyped");
        EXPECT_EQ(sink.groups[2].Name, u"untyped");
        EXPECT_EQ(sink.groups[3].Name, u"last");
        EXPECT_EQ(fieldsOf(sink.entries[0]), expectedFields(kEntryKeys, entry));
    };
    for (std::size_t i = 1; i < kGroupKeys.size(); ++i) {
        SCOPED_TRACE(kGroupKeys[i].first);
        IniKeys group = kGroupKeys;
        group.erase(group.begin() + static_cast<std::ptrdiff_t>(i));
        check(group, kEntryKeys);
    }
    for (std::size_t i = 1; i < kEntryKeys.size(); ++i) {
        SCOPED_TRACE(kEntryKeys[i].first);
        IniKeys entry = kEntryKeys;
        entry.erase(entry.begin() + static_cast<std::ptrdiff_t>(i));
        check(kGroupKeys, entry);
    }
    SCOPED_TRACE("reversed");
    check(IniKeys(kGroupKeys.rbegin(), kGroupKeys.rend()),
          IniKeys(kEntryKeys.rbegin(), kEntryKeys.rend()));
}

// Runs the reader on a thread of its own. One still blocked after five seconds (in the open of
// a FIFO) is set free by opening the FIFO's other end, and the test fails.
ImportResult readAtOnce(const ImportReader& read, const std::string& path, ImportSink& sink) {
    std::promise<ImportResult> promise;
    std::future<ImportResult> result = promise.get_future();
    std::thread reader([&] { promise.set_value(read(path, sink)); });
    if (result.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << path << " blocked the reader";
        while (result.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
            const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    reader.join();
    return result.get();
}

TEST(ImportFiles, OnlyRegularFilesWithinTheLimitAreRead) {
    vlt::test::TempDir dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string huge = dir.file("huge");
    vlt::test::writeFile(huge, "[1]\r\nName = x\r\n");
    std::filesystem::resize_file(huge, kMaxImportFileSize + 1);  // sparse: nothing is written
    const std::vector<ImportReader> readers = {ImportIni_ReadFile, ImportCsv_ReadFile,
                                               ImportKpCsv_ReadFile,
                                               [](const std::string& path, ImportSink& sink) {
                                                   return ImportV3_ReadContainer(u"pw", path, sink);
                                               }};
    for (std::size_t r = 0; r < readers.size(); ++r) {
        for (const std::string& path : {dir.file("missing"), dir.path().string(), fifo}) {
            RecordingSink sink;
            const ImportResult result = readAtOnce(readers[r], path, sink);
            EXPECT_EQ(result.Ok, 0);
            EXPECT_EQ(result.Text, u"The file is locked and could not be read.") << r << path;
            EXPECT_TRUE(sink.groups.empty() && sink.entries.empty());
        }
    }
    // The old containers are read in parts, whatever their size; the text readers load the file.
    for (std::size_t r = 0; r < 3; ++r) {
        RecordingSink sink;
        const ImportResult result = readers[r](huge, sink);
        EXPECT_EQ(result.Ok, 0);
        EXPECT_EQ(result.Text, u"The file is too large and could not be read (256 MB at most).");
        EXPECT_TRUE(sink.groups.empty() && sink.entries.empty());
    }
}

}  // namespace
}  // namespace vlt::import
