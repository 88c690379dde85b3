// Exporters and importers reach the vault only through the host callbacks: what they read must
// be the vault's own records, and what they add must land as valid, unique records.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "PluginFolder.h"
#include "SampleVault.h"
#include "ScriptedDesktop.h"
#include "TempDir.h"
#include "engine/vault/Engine.h"
#include "host/HostCallbacks.h"
#include "host/PluginLaunchers.h"
#include "host/PluginList.h"

namespace vlt {
namespace {

using test::PluginFolder;

class VaultPlugin : public ::testing::Test {
  protected:
    void load(const std::string& plugin) {
        ASSERT_EQ(plugins.VLT_Plugin_Load(folder.add(plugin)), 1);
    }
    template <typename T>
    T exported(const char* name) {
        return reinterpret_cast<T>(::dlsym(plugins.VLT_Plugin_GetHandle(), name));
    }

    PluginFolder folder;
    test::ScriptedDesktop desktop;
    Engine engine{desktop};
    PluginList plugins{engine.ids, engine.log};
    std::vector<bool> lockCalls;
    std::function<void(bool)> lock = [this](bool on) { lockCalls.push_back(on); };
};

TEST_F(VaultPlugin, ExporterSeesEveryRecordOnceInOrder) {
    Vault& v = engine.vault;
    v.Groups.append(Group{11, 1, u"Top", 4});
    v.Groups.append(Group{12, 2, u"Inner", 0});
    Entry e;
    e.ID = 21;
    e.GroupID = 12;
    e.GroupName = u"Inner";
    e.Account = u"Bank";
    e.User = u"ann";
    e.Password = std::u16string_view(u"p\u00e9ss");
    e.URL = u"https://bank.example";
    e.AttachmentNames = u"a.txt";
    e.Comment = u"two\r\nlines";
    e.Expires = 1;
    e.ForegroundColor = 255;
    e.CreationDate = -5;
    e.ExpirationDate = 2147483647;
    v.Entries.append(std::move(e));
    Attachment a;
    a.ID = 31;
    a.EntryID = 21;
    a.FileName = u"a.txt";
    a.Size = 3;
    a.Attributes = 32;
    a.Data = SecureBuffer(3);
    a.Data.data()[0] = 1;
    a.Data.data()[1] = 2;
    a.Data.data()[2] = 250;
    a.MD5 = u"00112233445566778899aabbccddeeff";
    v.Attachments.append(std::move(a));
    desktop.passwordAnswers.push_back(u"key");

    load("ProbeExporter");
    ASSERT_EQ(RunExporter(plugins, engine, lock), 1);
    EXPECT_EQ(lockCalls, (std::vector<bool>{true, false}));
    EXPECT_EQ(desktop.passwordModes, std::vector<PasswordMode>{kPasswordExport});
    auto report = exported<const char* (*)()>("Test_Report");
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(std::string(report()),
              "password|key\n"
              "groups|2|2\n"
              "G|11|1|Top|4\n"
              "G|12|2|Inner|0\n"
              "end\n"
              "entries|1\n"
              "E|21|12|Inner|Bank|ann|p?ss|https://bank.example|a.txt|two\r\nlines|1|0|255|0|0|-5"
              "|0|0|2147483647\n"
              "attachments|1\n"
              "A|31|21|a.txt|3|32|253|00112233445566778899aabbccddeeff\n"
              "end");
}

// An exporter reads the attachment names the entry list shows, whatever the entry stores: a
// loaded container or an importer may have left that text empty or out of date.
TEST_F(VaultPlugin, ExporterReadsTheAttachmentNamesTheListShows) {
    Vault& v = engine.vault;
    v.Groups.append(Group{11, 1, u"Top", 0});
    const std::pair<std::int32_t, std::u16string> stored[] = {
        {21, u""}, {22, u"stale.txt"}, {23, u""}, {24, u"old.pdf"}};
    for (const auto& [id, names] : stored) {
        Entry e;
        e.ID = id;
        e.GroupID = 11;
        e.AttachmentNames = names;
        v.Entries.append(std::move(e));
    }
    const std::pair<std::int32_t, std::u16string> files[] = {
        {21, u"note.txt"}, {24, u"new.pdf"}, {21, u"key.bin"}};
    for (const auto& [entryId, name] : files) {
        Attachment a;
        a.ID = 31 + static_cast<std::int32_t>(v.Attachments.count());
        a.EntryID = entryId;
        a.FileName = name;
        v.Attachments.append(std::move(a));
    }

    CallbackSession run(engine, nullptr);
    for (int walk = 0; walk < 2; ++walk) {  // the records of a rewound list stay whole
        ASSERT_EQ(VLT_Plugin_CountEntries(), 4);
        std::vector<std::u16string> seen;
        while (const VLT_Entry* e = VLT_Plugin_NextEntry()) {
            seen.emplace_back(e->AttachmentNames);
        }
        EXPECT_EQ(seen, (std::vector<std::u16string>{u"note.txt, key.bin", u"No attachments",
                                                     u"No attachments", u"new.pdf"}));
    }
    EXPECT_EQ(v.Entries.at(0).AttachmentNames, u"");  // what the file holds stays as it was
}

// Written in C from the interface header alone: it must find every field where the header
// says it is, the pointer-width attachment data included.
TEST_F(VaultPlugin, PlainCExporterReadsTheVaultThroughTheHeaderAlone) {
    engine.vault = test::SampleVault({0, 3});
    test::TempDir out;
    const std::string file = out.file("titles.txt");
    ::setenv("VLT_PLAIN_EXPORT_FILE", file.c_str(), 1);

    load("PlainExporter");
    EXPECT_EQ(plugins.VLT_Plugin_GetName(), u"Plain C exporter");
    const int launched = RunExporter(plugins, engine, lock);
    ::unsetenv("VLT_PLAIN_EXPORT_FILE");
    ASSERT_EQ(launched, 1);
    // The attachment of 3 bytes holds 3, 10 and 17.
    EXPECT_EQ(test::readFile(file),
              "groups 4\nHome\nBanks \xc3\xa9\xf0\x9f\x8f\xa6\nDeep\n\n"
              "entries 2\nSavings\n\n"
              "attachments 2\nfile-0.bin 0 0\nfile-3.bin 3 30\n");
}

TEST_F(VaultPlugin, ImporterDefaultsAndRepeatedIdsLandSoundly) {
    engine.clock = [] { return 123456; };
    desktop.passwordAnswers.push_back(u"");  // cancelled
    load("ProbeImporter");
    ASSERT_EQ(RunImporter(plugins, engine, lock), 1);
    EXPECT_EQ(desktop.passwordModes, std::vector<PasswordMode>{kPasswordImport});
    EXPECT_EQ(std::u16string(exported<const char16_t* (*)()>("Test_Password")()), u"");

    const Vault& v = engine.vault;
    ASSERT_EQ(v.Groups.count(), 4);
    ASSERT_EQ(v.Entries.count(), 7);
    const Group& mail = v.Groups.at(0);
    const Group& deep = v.Groups.at(1);
    const Group& twin = v.Groups.at(2);
    EXPECT_EQ(mail.ID, 700);
    EXPECT_EQ(mail.Icon, 5);
    EXPECT_EQ(deep.Depth, 2);  // clamped below its predecessor
    EXPECT_EQ(deep.Icon, 0);   // no such icon
    EXPECT_NE(twin.ID, 700);   // a second 700 would make two groups one
    EXPECT_EQ(engine.ids.ID_Exists(twin.ID), 1);

    const Entry& inbox = v.Entries.at(0);
    EXPECT_EQ(inbox.GroupID, 700);
    EXPECT_GT(inbox.ID, 0);
    EXPECT_EQ(engine.ids.ID_Exists(inbox.ID), 1);
    EXPECT_EQ(inbox.Password, std::u16string_view(u"secret"));
    EXPECT_EQ(inbox.AttachmentNames, u"");
    EXPECT_EQ(inbox.Expires, 0);
    EXPECT_EQ(inbox.CustomForeground, 0);
    EXPECT_EQ(inbox.CustomBackground, 0);
    EXPECT_EQ(inbox.ForegroundColor, -1);
    EXPECT_EQ(inbox.BackgroundColor, -1);
    for (std::int32_t date :
         {inbox.CreationDate, inbox.AccessDate, inbox.ModificationDate, inbox.ExpirationDate}) {
        EXPECT_EQ(date, 123456);
    }
    const Entry& red = v.Entries.at(1);
    EXPECT_EQ(red.ID, 800);
    EXPECT_EQ(red.CustomBackground, 1);
    EXPECT_EQ(red.BackgroundColor, 255);
    EXPECT_EQ(red.ExpirationDate, 40);
    const Entry& twins = v.Entries.at(2);
    EXPECT_NE(twins.ID, 800);  // taken by the entry before
    EXPECT_EQ(twins.GroupID, twin.ID);

    // When the import ends, an entry under a group ID that names no group is filed into the
    // group its group name names, else into a new group of that name, so that it can be seen.
    EXPECT_EQ(v.Entries.at(3).GroupID, deep.ID);
    const Group& lost = v.Groups.at(3);
    EXPECT_EQ(lost.Name, u"Lost");
    EXPECT_EQ(lost.Depth, 1);
    EXPECT_EQ(engine.ids.ID_Exists(lost.ID), 1);
    for (int i : {4, 5}) {
        EXPECT_EQ(v.Entries.at(i).GroupID, lost.ID);
        EXPECT_EQ(v.Entries.at(i).GroupName, u"Lost");
    }
    EXPECT_EQ(v.Groups.count(), 4);  // no nameless group: the first one takes that entry
    EXPECT_EQ(v.Entries.at(6).GroupID, v.Groups.at(0).ID);
    EXPECT_EQ(v.Entries.at(6).GroupName, u"Mail");
}

// Writers count once per group, so Count only rewinds the records the run's first Count took;
// what the plugin adds is seen by its next Count, and what changed in between by the next run.
TEST_F(VaultPlugin, CountRewindsTheRecordsTakenOncePerRun) {
    engine.vault.Groups.append(Group{11, 1, u"Top", 4});
    Entry e;
    e.ID = 21;
    e.GroupID = 11;
    e.Password = std::u16string_view(u"first");
    engine.vault.Entries.append(std::move(e));
    {
        CallbackSession run(engine, nullptr);
        ASSERT_EQ(VLT_Plugin_CountEntries(), 1);
        const VLT_Entry* taken = VLT_Plugin_NextEntry();
        ASSERT_NE(taken, nullptr);
        EXPECT_EQ(VLT_Plugin_NextEntry(), nullptr);
        engine.vault.Entries.at(0).Password = std::u16string_view(u"second");
        for (int count = 0; count < 3; ++count) {
            ASSERT_EQ(VLT_Plugin_CountEntries(), 1);
            EXPECT_EQ(VLT_Plugin_NextEntry(), taken);
            EXPECT_EQ(std::u16string(taken->Password), u"first");
        }

        VLT_Plugin_AddGroup(u"Added", 0, 12, 1);
        VLT_Plugin_AddEntry(22, 12, u"Added", u"New", u"", u"added", u"", u"", -1, -1, -1, -1, -1,
                            -1, -1, -1, -1);
        ASSERT_EQ(VLT_Plugin_CountGroups(), 2);
        VLT_Plugin_NextGroup();
        EXPECT_EQ(std::u16string(VLT_Plugin_NextGroup()->Name), u"Added");
        ASSERT_EQ(VLT_Plugin_CountEntries(), 2);
        VLT_Plugin_NextEntry();
        EXPECT_EQ(std::u16string(VLT_Plugin_NextEntry()->Password), u"added");
    }
    CallbackSession next(engine, nullptr);
    ASSERT_EQ(VLT_Plugin_CountEntries(), 2);
    EXPECT_EQ(std::u16string(VLT_Plugin_NextEntry()->Password), u"second");
}

TEST_F(VaultPlugin, FailedLaunchNeitherLocksNorWaits) {
    load("NoEntryImporter");
    EXPECT_EQ(RunImporter(plugins, engine, lock), -2);
    EXPECT_EQ(RunExporter(plugins, engine, lock), -4);
    EXPECT_TRUE(lockCalls.empty());
    EXPECT_FALSE(engine.busy());
}

}  // namespace
}  // namespace vlt
