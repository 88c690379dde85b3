#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Fifo.h"
#include "SampleVault.h"
#include "ScriptedDesktop.h"
#include "TempDir.h"
#include "common/Utf.h"
#include "engine/crypto/MD5.h"
#include "engine/vault/AttachmentFiles.h"
#include "engine/vault/Attachments.h"
#include "engine/vault/Engine.h"
#include "engine/view/EntryList.h"
#include "engine/view/EntryOperations.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;

constexpr std::int32_t kNow = 1796722130;
constexpr std::int32_t kEntry = 100;

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

struct Attachments : ::testing::Test {
    test::ScriptedDesktop desktop;
    Engine engine{desktop};
    test::TempDir dir;

    void SetUp() override {
        engine.clock = [] { return kNow; };
        engine.ids.RegisterID(10);
        engine.vault.Groups.append(Group{10, 1, u"Web", 0});
        engine.ids.RegisterID(kEntry);
        Entry entry;
        entry.ID = kEntry;
        entry.GroupID = 10;
        entry.Account = u"bank";
        engine.vault.Entries.append(std::move(entry));
        desktop.selectedGroupItem = 1;
        ShowGroupEntries(engine, kEntry, 0);
        fs::create_directory(dir.file("in"));
        fs::create_directory(dir.file("out"));
    }
    void TearDown() override {
        EXPECT_TRUE(desktop.unexpected.empty()) << desktop.unexpected.front();
    }
    std::u16string input(const std::string& name, const std::string& bytes) {
        test::writeFile(dir.file("in/" + name), bytes);
        return fromUtf8(dir.file("in/" + name));
    }
    // An attachment as a container could carry it, with any name and digest.
    void stored(std::int32_t id, std::u16string name, const std::string& bytes,
                std::u16string md5 = {}) {
        engine.ids.RegisterID(id);
        test::AddStoredAttachment(engine.vault, id, kEntry, std::move(name), bytes, std::move(md5));
    }
    std::u16string lastText() const { return desktop.messages.back().text; }
};

TEST(MD5, DigestsAreLowercaseHexOfTheContentAndOfTheFileOnDisk) {
    EXPECT_EQ(MD5Hex(bytesOf("abc")), u"900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(MD5Hex({}), u"d41d8cd98f00b204e9800998ecf8427e");
    test::TempDir dir;
    test::writeFile(dir.file("f"), "abc");
    EXPECT_EQ(FileMD5Hex(dir.file("f")), u"900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(FileMD5Hex(dir.file("missing")), u"");
}

TEST_F(Attachments, AddedFilesComeBackByteForByteAndAnExistingFileIsReplacedOnlyOnYes) {
    std::string content("line one\r\n\0\x01\xff", 14);
    desktop.openFilesAnswers.push_back(
        {input("notes.txt", content), input("empty.bin", ""), fromUtf8(dir.file("in/gone"))});
    Attachment_BeginEditing(engine);
    std::vector<AttachmentRow> rows;
    const auto collect = [&](const AttachmentRow& row) {
        EXPECT_TRUE(desktop.messages.empty());  // the row is shown before the summary
        rows.push_back(row);
    };
    EXPECT_EQ(Attachment_Add(engine, kEntry, collect), 1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].FileName, u"notes.txt");
    EXPECT_EQ(rows[0].MD5, MD5Hex(bytesOf(content)));
    EXPECT_EQ(rows[0].Size, u"14 B");
    EXPECT_EQ(desktop.messages.back().caption, u"Files added");
    EXPECT_EQ(lastText(), u"Attachment insertion finished. 1 of 3 files added successfully.");
    const Attachment& stored = engine.vault.Attachments.at(0);
    EXPECT_EQ(stored.EntryID, kEntry);
    EXPECT_EQ(stored.Size, 14);

    // From the main window, into a folder given without its trailing slash.
    desktop.pathAnswers.push_back(fromUtf8(dir.file("out")));
    EXPECT_EQ(SaveAttachments(engine), 0);
    EXPECT_EQ(test::readFile(dir.file("out/notes.txt")), content);
    EXPECT_EQ(lastText(), u"Attachment extraction finished. 1 of 1 files extracted successfully.");
    EXPECT_EQ(engine.vault.Entries.at(0).AccessDate, kNow);
    EXPECT_EQ(desktop.progressValues.back(), 0);

    // Again from the editor: the file is there now, so the user is asked; No keeps it as is.
    test::writeFile(dir.file("out/notes.txt"), "mine");
    desktop.pathAnswers.push_back(fromUtf8(dir.file("out/")));
    desktop.yesNoAnswers.push_back(false);
    EXPECT_EQ(Attachment_Save(engine, 1, {rows[0].ID}), 1);
    EXPECT_EQ(desktop.messages[desktop.messages.size() - 2].text,
              u"The following file already exists:\r\n\r\n" + fromUtf8(dir.file("out/notes.txt")) +
                  u"\r\n\r\nWould you like to replace it?");
    EXPECT_EQ(test::readFile(dir.file("out/notes.txt")), "mine");
    EXPECT_EQ(lastText(), u"Attachment extraction finished. 0 of 1 files extracted successfully.");
    desktop.pathAnswers.push_back(fromUtf8(dir.file("out/")));
    desktop.yesNoAnswers.push_back(true);
    Attachment_Save(engine, 1, {rows[0].ID});
    EXPECT_EQ(test::readFile(dir.file("out/notes.txt")), content);
    EXPECT_FALSE(fs::exists(dir.file("out/notes.txt.tmp")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("out")), fs::directory_iterator()), 1);
}

// Reading a FIFO would block for good: chosen as a file, or put in a file's place once its
// size was read, it is skipped like any unreadable file, and its digest is never taken.
TEST_F(Attachments, AFifoIsSkippedLikeAnUnreadableFileAndNeverRead) {
    test::Fifo fifo(dir.file("in/pipe"));
    desktop.openFilesAnswers.push_back({fromUtf8(fifo.path()), input("a.txt", "abc")});
    Attachment_BeginEditing(engine);
    EXPECT_EQ(Attachment_Add(engine, kEntry, {}), 1);
    EXPECT_EQ(lastText(), u"Attachment insertion finished. 1 of 2 files added successfully.");
    SecureBuffer block(3);
    EXPECT_FALSE(ReadFileInto(fifo.path(), block));
    EXPECT_EQ(FileMD5Hex(fifo.path()), u"");
    EXPECT_FALSE(fifo.blocked());
}

TEST_F(Attachments, ARefusedLargeFileLeavesNoSummaryAndItsAnswerCarriesOverToTheNextAdd) {
    const std::string large(2'097'153, 'x');
    desktop.openFilesAnswers.push_back({input("a", "1"), input("b", "22"), input("big", large)});
    desktop.yesNoAnswers.push_back(false);
    Attachment_BeginEditing(engine);
    EXPECT_EQ(Attachment_Add(engine, kEntry, {}), 2);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text,
              u"The file \"big\" is bigger than 2 MB. It is recommended to add smaller files or "
              u"the program might be slow. Are you sure you want to attach this file?");
    // An empty file alone adds nothing and, the flag still 0, shows nothing.
    desktop.openFilesAnswers.push_back({input("empty", "")});
    EXPECT_EQ(Attachment_Add(engine, kEntry, {}), 0);
    EXPECT_EQ(desktop.messages.size(), 1u);
    // Yes attaches it whole.
    desktop.openFilesAnswers.push_back({fromUtf8(dir.file("in/big"))});
    desktop.yesNoAnswers.push_back(true);
    ASSERT_EQ(Attachment_Add(engine, kEntry, {}), 1);
    EXPECT_EQ(engine.vault.Attachments.count(), 3);
    EXPECT_EQ(engine.vault.Attachments.at(2).MD5, MD5Hex(bytesOf(large)));
    EXPECT_EQ(lastText(), u"Attachment insertion finished. 1 of 1 files added successfully.");
}

TEST_F(Attachments, HostileStoredNamesLandInsideTheChosenFolderOrAreRefused) {
    stored(201, u"../escaped", "a");
    stored(202, u"/etc/abs", "b");
    stored(203, u"..\\..\\back", "c");
    stored(204, u"..", "d");
    stored(205, u"bad\nname", "e");
    stored(206, u"sub/", "f");
    stored(207, u"link", "g");
    // A symbolic link of the same name is replaced itself; what it points to is never written.
    test::writeFile(dir.file("victim"), "precious");
    ASSERT_EQ(::symlink(dir.file("victim").c_str(), dir.file("out/link").c_str()), 0);
    desktop.pathAnswers.push_back(fromUtf8(dir.file("out")));
    desktop.yesNoAnswers.push_back(true);  // replace "link"
    SaveAttachments(engine);
    EXPECT_EQ(lastText(), u"Attachment extraction finished. 4 of 7 files extracted successfully.");
    EXPECT_EQ(test::readFile(dir.file("out/escaped")), "a");
    EXPECT_EQ(test::readFile(dir.file("out/abs")), "b");
    EXPECT_EQ(test::readFile(dir.file("out/back")), "c");
    EXPECT_FALSE(fs::is_symlink(dir.file("out/link")));
    EXPECT_EQ(test::readFile(dir.file("out/link")), "g");
    EXPECT_EQ(test::readFile(dir.file("victim")), "precious");
    EXPECT_FALSE(fs::exists(dir.file("escaped")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("out")), fs::directory_iterator()), 4);
}

TEST_F(Attachments, AWrittenFileThatDiffersFromItsDigestIsReportedAndNotCounted) {
    stored(301, u"tampered.txt", "changed", MD5Hex(bytesOf("original")));
    desktop.pathAnswers.push_back(fromUtf8(dir.file("out")));
    SaveAttachments(engine);
    const std::u16string target = fromUtf8(dir.file("out/tampered.txt"));
    ASSERT_GE(desktop.messages.size(), 2u);
    const test::ShownMessage& error = desktop.messages[desktop.messages.size() - 2];
    EXPECT_EQ(error.caption, u"Error");
    EXPECT_EQ(error.text,
              u"MD5 integrity error while extracting the following file: \r\n\r\n" + target + u".");
    EXPECT_EQ(lastText(), u"Attachment extraction finished. 0 of 1 files extracted successfully.");
    // A read-only file of that name is asked about, cannot be replaced and is not counted.
    fs::remove(dir.file("out/tampered.txt"));
    stored(302, u"locked", "new");
    test::writeFile(dir.file("out/locked"), "old");
    ::chmod(dir.file("out/locked").c_str(), 0444);
    desktop.pathAnswers.push_back(fromUtf8(dir.file("out")));
    desktop.yesNoAnswers.push_back(true);
    SaveAttachments(engine);
    EXPECT_EQ(test::readFile(dir.file("out/locked")), "old");
    EXPECT_EQ(lastText(), u"Attachment extraction finished. 0 of 2 files extracted successfully.");
}

TEST_F(Attachments, ACancelledNewEntryTakesItsAttachmentsAlongAndDeletionIsFinal) {
    desktop.openFilesAnswers.push_back({input("a", "1"), input("b", "2")});
    std::int32_t newId = 0;
    desktop.onEntryWindow = [&] {
        newId = desktop.entryWindowInputs.back().ID;
        ASSERT_EQ(Attachment_Add(engine, newId, {}), 2);
    };
    desktop.entryWindowAnswers.push_back(std::nullopt);
    EXPECT_EQ(Entry_Add(engine), 0);
    EXPECT_EQ(engine.vault.Attachments.count(), 0);

    // In edit mode Delete is final even when the editor is cancelled, and the entry's
    // attachment column follows.
    stored(401, u"keep", "k");
    stored(402, u"drop", "d");
    engine.vault.Entries.at(0).AttachmentNames = u"keep, drop";
    desktop.onEntryWindow = [&] {
        EXPECT_TRUE(Attachment_Delete(engine, 2, {}).empty());
        EXPECT_EQ(lastText(), u"Please check some items from the list and try again.");
        desktop.yesNoAnswers.push_back(true);
        EXPECT_EQ(Attachment_Delete(engine, 2, {402}), std::vector<std::int32_t>{402});
    };
    desktop.entryWindowAnswers.push_back(std::nullopt);
    desktop.selectedEntryRow = 0;
    EXPECT_EQ(Entry_Edit(engine), 0);
    ASSERT_EQ(engine.vault.Attachments.count(), 1);
    EXPECT_EQ(engine.vault.Attachments.at(0).FileName, u"keep");
    EXPECT_EQ(engine.ids.ID_Exists(402), 0);
    EXPECT_EQ(engine.vault.Entries.at(0).AttachmentNames,
              AttachmentSummary(engine.vault.Attachments, kEntry));
}

TEST(AttachmentFiles, AFileShorterThanItsSizeIsAnErrorNotZeroPadding) {
    test::TempDir dir;
    test::writeFile(dir.file("f"), "abc");
    SecureBuffer exact(3);
    EXPECT_TRUE(ReadFileInto(dir.file("f"), exact));
    SecureBuffer longer(4);
    EXPECT_FALSE(ReadFileInto(dir.file("f"), longer));
    EXPECT_EQ(AttachableFileSize(dir.path().string()), -1);  // a folder is no file
}

TEST(ExtensionMatches, ListsAreCommaFieldsComparedWithoutCaseOrBlanks) {
    EXPECT_EQ(ExtensionMatches(u"txt, log,", u"LOG"), 1);
    EXPECT_EQ(ExtensionMatches(u",rtf", u"rtf"), 1);
    EXPECT_EQ(ExtensionMatches(u"*", u"png"), 1);
    EXPECT_EQ(ExtensionMatches(u"txt", u""), 1);  // no extension: offered
    EXPECT_EQ(ExtensionMatches(u".txt", u"txt"), 0);
    EXPECT_EQ(ExtensionMatches(u"txt,log", u"tx"), 0);
}

}  // namespace
}  // namespace vlt
