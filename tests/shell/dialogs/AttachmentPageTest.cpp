// The entry editor's attachment page over the real attachment commands, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>

#include "FakePrompter.h"
#include "SampleVault.h"
#include "ScriptedDesktop.h"
#include "TempDir.h"
#include "common/Utf.h"
#include "engine/crypto/MD5.h"
#include "engine/vault/Engine.h"
#include "host/PluginList.h"
#include "shell/app/AttachmentServices.h"
#include "shell/dialogs/EntryWindow.h"

namespace vlt {
namespace {

constexpr std::int32_t kEntry = 20;

void attach(Engine& engine, std::int32_t id, std::u16string name, const std::string& bytes) {
    engine.ids.RegisterID(id);
    test::AddStoredAttachment(engine.vault, id, kEntry, std::move(name), bytes);
}

TEST(AttachmentPage, RowsAreTickedAndTheTickedOnesAreDeletedSavedAndAdded) {
    test::ScriptedDesktop desktop;
    Engine engine{desktop};
    PluginList plugins(engine.ids, engine.log);
    attach(engine, 31, u"a.txt", "alpha");
    attach(engine, 32, u"b.txt", "beta");
    attach(engine, 33, u"other", "x");
    engine.vault.Attachments.at(2).EntryID = 99;  // another entry's
    Entry input;
    input.ID = kEntry;
    EntryWindowServices services;
    test::FakePrompter prompter;
    services.prompter = &prompter;
    services.attachments = BindAttachmentServices(engine, plugins);
    EntryWindow window(input, EntryWindow::kEditMode, services);
    window.show();

    auto* list = window.findChild<QTreeWidget*>(QStringLiteral("attachmentList"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(1)->text(0), QStringLiteral("b.txt"));
    EXPECT_EQ(list->topLevelItem(1)->text(1), QStringLiteral("4 B"));
    EXPECT_EQ(list->topLevelItem(1)->text(2),
              QStringLiteral("987bcab01b929eb2c07877b224215c92"));  // MD5 of "beta"
    EXPECT_EQ(list->currentItem(), list->topLevelItem(1));
    EXPECT_EQ(list->topLevelItem(0)->checkState(0), Qt::Checked);
    // No previewer is loaded.
    EXPECT_FALSE(window.findChild<QPushButton*>(QStringLiteral("previewButton"))->isEnabled());

    // Only the ticked row goes.
    list->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    desktop.yesNoAnswers.push_back(true);
    window.findChild<QPushButton*>(QStringLiteral("deleteButton"))->click();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("b.txt"));
    ASSERT_EQ(engine.vault.Attachments.count(), 2);
    EXPECT_EQ(engine.vault.Attachments.at(0).FileName, u"b.txt");

    // Nothing ticked: Save says so and asks for no folder.
    window.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
    EXPECT_EQ(desktop.messages.back().text,
              u"Please check some items from the list and try again.");

    // An added file arrives ticked and selected.
    test::TempDir dir;
    test::writeFile(dir.file("c.bin"), "gamma");
    desktop.openFilesAnswers.push_back({fromUtf8(dir.file("c.bin"))});
    window.findChild<QPushButton*>(QStringLiteral("addButton"))->click();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(1)->text(0), QStringLiteral("c.bin"));
    EXPECT_EQ(list->topLevelItem(1)->checkState(0), Qt::Checked);
    EXPECT_EQ(list->currentItem(), list->topLevelItem(1));
    std::filesystem::create_directory(dir.file("out"));
    desktop.pathAnswers.push_back(fromUtf8(dir.file("out")));
    window.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
    EXPECT_EQ(test::readFile(dir.file("out/c.bin")), "gamma");
    EXPECT_FALSE(std::filesystem::exists(dir.file("out/b.txt")));
    EXPECT_EQ(desktop.messages.back().text,
              u"Attachment extraction finished. 1 of 1 files extracted successfully.");
    EXPECT_TRUE(desktop.unexpected.empty());
}

}  // namespace
}  // namespace vlt
