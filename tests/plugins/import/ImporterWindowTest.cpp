// The importer window, driven the way a user drives it: offscreen on the GUI thread with a
// scripted reader, and as the real plugins started by the host, filling a vault.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QProgressBar>
#include <tuple>
#include <utility>
#include <vector>

#include "ImportTestSupport.h"
#include "ImporterWindow.h"
#include "PluginFolder.h"
#include "ScriptedDesktop.h"
#include "WindowScript.h"
#include "engine/vault/Engine.h"
#include "host/PluginLaunchers.h"
#include "host/PluginList.h"

namespace vlt::import {
namespace {

using test::RecordingSink;
using test::typePathAndImport;
using test::when;
using test::windowLeft;

const ImporterTexts kTexts{.title = "VLT CSV Importer",
                           .bandTitle = "VLT CSV Importer",
                           .bandText = "You can use this tool to import a .CSV file",
                           .label = "Input CSV file:",
                           .pathTip = "CSV file",
                           .browseTip = "Choose CSV file",
                           .importTip = "Begin importing data",
                           .dialogTitle = "Import CSV file",
                           .filter = "CSV file (*.csv)",
                           .emptyPath = "Please choose a valid CSV input file."};

TEST(ImporterWindow, BlankPathIsRefusedThenOneImportRunsAndTheWindowEnds) {
    QStringList messages;
    std::vector<std::string> paths;
    int barDuringRead = -1;
    QWidget* shown = nullptr;
    when("importerWindow", [&](QWidget* w) {
        shown = w;
        when("importerMessage", [&](QWidget* box) {
            messages << static_cast<QMessageBox*>(box)->text();
            static_cast<QMessageBox*>(box)->accept();
            // The window stays for another try; the path keeps its outer blanks.
            when("importerWindow",
                 [](QWidget* again) { typePathAndImport(again, " /no/such.csv "); });
            when("importerMessage", [&](QWidget* result) {
                messages << static_cast<QMessageBox*>(result)->text();
                EXPECT_EQ(static_cast<QMessageBox*>(result)->icon(), QMessageBox::Critical);
                static_cast<QMessageBox*>(result)->accept();
            });
        });
        typePathAndImport(w, "   ");
    });
    RecordingSink sink;
    const auto reader = [&](const std::string& path, ImportSink& s) {
        paths.push_back(path);
        s.progressOf(1, 2);
        s.progressOf(2, 2);
        barDuringRead = shown->findChild<QProgressBar*>(QStringLiteral("progress"))->value();
        return fileLocked();
    };
    EXPECT_EQ(RunImporterWindow(kTexts, reader, sink), 0);
    EXPECT_EQ(paths, std::vector<std::string>{" /no/such.csv "});
    EXPECT_EQ(barDuringRead, 100);
    EXPECT_EQ(sink.percents, (std::vector<int>{50, 100}));
    EXPECT_EQ(messages, (QStringList{"Please choose a valid CSV input file.",
                                     "The file is locked and could not be read."}));
    EXPECT_TRUE(windowLeft());
}

TEST(ImporterWindow, CloseAndQuitEndTheWindowWhateverIsOpen) {
    int reads = 0;
    const auto reader = [&](const std::string&, ImportSink&) {
        ++reads;
        return importedSuccessfully();
    };
    RecordingSink sink;
    when("importerWindow",
         [](QWidget* w) { w->findChild<QPushButton*>(QStringLiteral("close"))->click(); });
    EXPECT_EQ(RunImporterWindow(kTexts, reader, sink), 0);
    when("importerWindow", [](QWidget* w) {
        w->findChild<QLineEdit*>(QStringLiteral("path"))->setText("/typed/but/not/started.csv");
        test::quitFlag = 1;
    });
    EXPECT_EQ(RunImporterWindow(kTexts, reader, sink), 0);
    test::quitFlag = 0;
    EXPECT_EQ(reads, 0);
    EXPECT_TRUE(windowLeft());

    // The quit signal also closes a message box the window shows, before or after the import,
    // and the file dialog.
    for (const char* path : {"  ", "/some/file.csv"}) {
        when("importerWindow", [path](QWidget* w) {
            when("importerMessage", [](QWidget*) { test::quitFlag = 1; });
            typePathAndImport(w, path);
        });
        EXPECT_EQ(RunImporterWindow(kTexts, reader, sink), 0);
        test::quitFlag = 0;
        EXPECT_TRUE(windowLeft());
    }
    EXPECT_EQ(reads, 1);
    when("importerWindow", [](QWidget* w) {
        when("importerFileDialog", [](QWidget*) { test::quitFlag = 1; });
        w->findChild<QPushButton*>(QStringLiteral("browse"))->click();
    });
    EXPECT_EQ(RunImporterWindow(kTexts, reader, sink), 0);
    test::quitFlag = 0;
    EXPECT_TRUE(windowLeft());
}

class ImporterPlugin : public ::testing::Test {
  protected:
    vlt::test::PluginFolder folder;
    vlt::test::ScriptedDesktop desktop;
    Engine engine{desktop};
    PluginList plugins{engine.ids, engine.log};
    std::function<void(bool)> lock = [](bool) {};
};

TEST_F(ImporterPlugin, IniFileLandsInTheVaultThroughTheHostCallbacks) {
    const std::string file = folder.file("in.ini");
    using namespace std::string_literals;  // the file holds a NUL
    vlt::test::writeFile(file,
                         "[7]\r\nEntryType = 0\r\nGroupID = 7\r\nDepth = 1\r\n"
                         "Name = Mail\r\nIcon = 3\r\n\r\n"
                         "[8]\r\nEntryType = 1\r\nID = 8\r\nGroupID = 7\r\n"
                         "Account = nul\0inside\r\nUser = \r\nPassword = \r\nURL = \r\n"
                         "Comment = \\*a\\r\\nb\r\nExpires = 0\r\nCreationDate = 1234\r\n"s);
    ASSERT_EQ(plugins.VLT_Plugin_Load(folder.add("Keygate")), 1);
    EXPECT_EQ(plugins.VLT_Plugin_GetName(), u"VLT INI Importer");
    EXPECT_EQ(plugins.VLT_Plugin_GetType(), 1);
    EXPECT_GT(plugins.VLT_Plugin_GetIcon(), 0);  // its icon file decodes
    when("importerWindow", [&](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), "VLT INI Importer");
        when("importerMessage", [](QWidget* box) { static_cast<QMessageBox*>(box)->accept(); });
        typePathAndImport(w, QString::fromStdString(file));
    });
    ASSERT_EQ(RunImporter(plugins, engine, lock), 1);
    ASSERT_EQ(engine.vault.Groups.count(), 1);
    EXPECT_EQ(engine.vault.Groups.at(0).Name, u"Mail");
    EXPECT_EQ(engine.vault.Groups.at(0).Icon, 3);
    ASSERT_EQ(engine.vault.Entries.count(), 1);
    const Entry& e = engine.vault.Entries.at(0);
    EXPECT_EQ(e.ID, 8);
    EXPECT_EQ(e.GroupID, 7);
    EXPECT_EQ(e.Account, u"nul\uFFFDinside");  // not cut short at the NUL
    EXPECT_EQ(e.Comment, u"a\r\nb");
    EXPECT_EQ(e.CreationDate, 1234);
    EXPECT_TRUE(windowLeft());
}

TEST_F(ImporterPlugin, EntriesFollowTheirGroupWhenGroupIdsRepeatOrLieOutsideTheRange) {
    const std::string file = folder.file("ids.ini");
    std::string text;
    for (const auto& [id, name] : std::vector<std::pair<std::string, std::string>>{
             {"7", "Home"}, {"7", "Work"}, {"-5", "Minus"}, {"100000000", "Big"}}) {
        text += "[" + id + "]\r\nEntryType = 0\r\nGroupID = " + id +
                "\r\nDepth = 1\r\nName = " + name + "\r\nIcon = 1\r\n\r\n";
    }
    for (const auto& [id, group, name] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {"20", "7", "Work"},
             {"21", "7", "Home"},
             {"22", "7", "Elsewhere"},
             {"-5", "-5", "Minus"},
             {"100000000", "100000000", "Big"}}) {
        text += "[" + id + "]\r\nEntryType = 1\r\nID = " + id + "\r\nGroupID = " + group +
                "\r\nGroupName = " + name + "\r\nAccount = a\r\n\r\n";
    }
    vlt::test::writeFile(file, text);
    ASSERT_EQ(plugins.VLT_Plugin_Load(folder.add("Keygate")), 1);
    when("importerWindow", [&](QWidget* w) {
        when("importerMessage", [](QWidget* box) { static_cast<QMessageBox*>(box)->accept(); });
        typePathAndImport(w, QString::fromStdString(file));
    });
    ASSERT_EQ(RunImporter(plugins, engine, lock), 1);
    const Vault& v = engine.vault;
    ASSERT_EQ(v.Groups.count(), 4);
    ASSERT_EQ(v.Entries.count(), 5);
    const Group& home = v.Groups.at(0);
    const Group& work = v.Groups.at(1);
    EXPECT_EQ(home.ID, 7);
    EXPECT_NE(work.ID, 7);
    // Filed as loading a file files them: by the group's name, else in the first group.
    EXPECT_EQ(v.Entries.at(0).GroupID, work.ID);
    EXPECT_EQ(v.Entries.at(1).GroupID, home.ID);
    EXPECT_EQ(v.Entries.at(2).GroupID, home.ID);
    // IDs outside 1..99,999,999 are replaced, for groups and entries alike.
    for (int i : {3, 4}) {
        const Group& g = v.Groups.at(i - 1);
        const Entry& e = v.Entries.at(i);
        for (std::int32_t id : {g.ID, e.ID}) {
            EXPECT_GE(id, 1);
            EXPECT_LE(id, IdRegistry::kMaxId);
            EXPECT_EQ(engine.ids.ID_Exists(id), 1);
        }
        EXPECT_EQ(e.GroupID, g.ID);
    }
    EXPECT_TRUE(windowLeft());
}

}  // namespace
}  // namespace vlt::import
