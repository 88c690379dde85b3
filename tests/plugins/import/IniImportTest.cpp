// The INI reader on hand-edited files: one record's lines never reach another, numbers read as
// the layout writes them and beyond, and odd lines are ignored. (The exporter's own files are
// read back in the round-trip tests.)
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>

#include "ImportFile.h"
#include "ImportTestSupport.h"
#include "IniImport.h"
#include "KeePassCsvImport.h"
#include "OwnCsvImport.h"
#include "TempDir.h"

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
        "GroupID = -99999999999\n"
        "Account = first\n"
        "Account = second\n"
        "Password = a\xFF"
        "b\n"
        "CreationDate = -0x10\n"
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
    EXPECT_EQ(e.Account, u"first");
    EXPECT_EQ(e.Password, u"a\uFFFDb");
    EXPECT_EQ(e.CreationDate, 0);
    EXPECT_EQ(e.User, u"");  // missing keys are empty texts and zeros
    EXPECT_EQ(e.Expires, 0);
    EXPECT_EQ(sink.percents.back(), 100);  // four sections, skipped ones counted

    // An empty file imports nothing and still succeeds.
    RecordingSink empty;
    EXPECT_EQ(ImportIni_ReadBytes("", empty).Ok, 1);
    EXPECT_TRUE(empty.groups.empty() && empty.entries.empty());
}

TEST(ImportFiles, MissingFoldersAndOversizedFilesAreRefusedUnread) {
    vlt::test::TempDir dir;
    const std::string huge = dir.file("huge.ini");
    vlt::test::writeFile(huge, "[1]\r\nName = x\r\n");
    std::filesystem::resize_file(huge, kMaxImportFileSize + 1);  // sparse: nothing is written
    for (auto read : {ImportIni_ReadFile, ImportCsv_ReadFile, ImportKpCsv_ReadFile}) {
        for (const std::string& path : {dir.file("missing.ini"), dir.path().string(), huge}) {
            RecordingSink sink;
            const ImportResult result = read(path, sink);
            EXPECT_EQ(result.Ok, 0);
            EXPECT_EQ(result.Text, u"The file is locked and could not be read.") << path;
            EXPECT_TRUE(sink.groups.empty() && sink.entries.empty());
        }
    }
}

}  // namespace
}  // namespace vlt::import
