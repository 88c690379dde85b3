// The group operations as the user runs them: selection from the tree, answers from the editor
// window and the confirmation, scripted.
#include <gtest/gtest.h>

#include <new>

#include "ScriptedDesktop.h"
#include "TraceCapture.h"
#include "engine/vault/Engine.h"
#include "engine/vault/GroupOperations.h"
#include "engine/view/EntryList.h"

namespace vlt {
namespace {

class GroupOperations : public ::testing::Test {
  protected:
    GroupOperations() {
        // Two groups named "Mail": renames must not cross from one to the other.
        for (const Group& g :
             {Group{10, 1, u"Web", 1}, Group{20, 1, u"Mail", 2}, Group{30, 2, u"Work", 3},
              Group{40, 1, u"Mail", 4}, Group{50, 1, u"Empty", 5}}) {
            vault.Groups.append(g);
            engine.ids.RegisterID(g.ID);
        }
        addEntry(101, 10, u"Web");
        addEntry(102, 20, u"Mail");
        addEntry(103, 30, u"Work");
        addEntry(104, 40, u"Mail");
        addAttachment(201, 103);
        addAttachment(202, 101);
    }
    void addEntry(std::int32_t id, std::int32_t groupId, std::u16string groupName) {
        Entry entry;
        entry.ID = id;
        entry.GroupID = groupId;
        entry.GroupName = std::move(groupName);
        entry.Account = u"account";
        vault.Entries.append(std::move(entry));
        engine.ids.RegisterID(id);
    }
    void addAttachment(std::int32_t id, std::int32_t entryId) {
        Attachment attachment;
        attachment.ID = id;
        attachment.EntryID = entryId;
        vault.Attachments.append(std::move(attachment));
        engine.ids.RegisterID(id);
    }
    std::string groupNames() const {
        std::string out;
        for (const Group& g : vault.Groups) {
            // Appended piece by piece: GCC 12 at -O3 warns a false -Wrestrict on "" + text.
            if (!out.empty()) {
                out += ' ';
            }
            out.append(g.Name.begin(), g.Name.end());
            out += ':';
            out += std::to_string(g.Depth);
        }
        return out;
    }
    static Group answer(std::u16string name, std::int32_t icon) {
        Group g;
        g.Name = std::move(name);
        g.Icon = icon;
        return g;
    }

    test::ScriptedDesktop desktop;
    Engine engine{desktop};
    Vault& vault = engine.vault;
    test::TraceCapture trace{engine.log};
};

TEST_F(GroupOperations, AddPutsTheGroupUnderTheSelectionAndShowsItsEmptyList) {
    desktop.selectedGroupItem = 1;
    ASSERT_EQ(Entry_RefreshList(engine), 1);
    ASSERT_EQ(desktop.entryRows.count(), 1);  // "Web"'s entry

    desktop.selectedGroupItem = 2;  // "Mail" with its child "Work"
    desktop.groupWindowAnswers.push_back(answer(u"New", 7));
    EXPECT_EQ(Group_Add(engine), 1);
    ASSERT_EQ(desktop.groupWindowCalls.size(), 1u);
    EXPECT_EQ(desktop.groupWindowCalls[0].mode, kGroupAdd);
    EXPECT_TRUE(desktop.groupWindowCalls[0].start.Name.empty());
    EXPECT_EQ(groupNames(), "Web:1 Mail:1 Work:2 New:2 Mail:1 Empty:1");
    const Group& added = vault.Groups.at(3);
    EXPECT_EQ(added.Icon, 7);
    EXPECT_NE(added.ID, 0);
    EXPECT_EQ(engine.ids.ID_Exists(added.ID), 1);
    EXPECT_EQ(desktop.selectedGroupItem, 4);
    EXPECT_EQ(desktop.entryRows.count(), 0);  // the new group's list, not "Web"'s

    // Nothing selected: a top-level group at the end. Cancelled: nothing.
    desktop.selectedGroupItem = -1;
    desktop.groupWindowAnswers.push_back(answer(u"Last", 0));
    desktop.groupWindowAnswers.push_back(std::nullopt);
    EXPECT_EQ(Group_Add(engine), 1);
    EXPECT_EQ(Group_Add(engine), 0);
    EXPECT_EQ(groupNames(), "Web:1 Mail:1 Work:2 New:2 Mail:1 Empty:1 Last:1");
    // The cancelled add is traced as begun and never as done.
    EXPECT_TRUE(
        trace.lines().ends_with("Group_Add() -> Group added\nGroup_Add() -> Adding new group\n"));
    EXPECT_TRUE(desktop.unexpected.empty());
}

TEST_F(GroupOperations, AddRunningOutOfMemoryEndsTheProgramWithAFailureStatus) {
    desktop.onGroupWindow = [] { throw std::bad_alloc(); };
    EXPECT_EQ(Group_Add(engine), 0);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_TRUE(desktop.messages[0].caption == u"Error");
    EXPECT_TRUE(desktop.messages[0].text == u"Error allocating memory for a new group!");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::Error);
    ASSERT_EQ(desktop.endCodes.size(), 1u);
    EXPECT_NE(desktop.endCodes[0], 0);
    EXPECT_EQ(vault.Groups.count(), 5);
}

TEST_F(GroupOperations, EditRenamesTheEntriesOfThatGroupOnly) {
    desktop.selectedGroupItem = 0;
    EXPECT_EQ(Group_Edit(engine), 0);
    desktop.selectedGroupItem = -1;
    EXPECT_EQ(Group_Edit(engine), 0);
    EXPECT_EQ(
        desktop.messageTexts(),
        (std::vector<std::u16string>{u"The main group cannot be edited.",
                                     u"Please select (click) a group to edit in the left box."}));

    desktop.selectedGroupItem = 2;
    desktop.groupWindowAnswers.push_back(answer(u"Post", 9));
    EXPECT_EQ(Group_Edit(engine), 1);
    EXPECT_EQ(desktop.groupWindowCalls.at(0).mode, kGroupEdit);
    EXPECT_EQ(desktop.groupWindowCalls.at(0).start.Name, u"Mail");
    EXPECT_EQ(desktop.groupWindowCalls.at(0).start.Icon, 2);
    EXPECT_EQ(vault.Groups.at(1).Name, u"Post");
    EXPECT_EQ(vault.Groups.at(1).Icon, 9);
    EXPECT_EQ(vault.Entries.at(1).GroupName, u"Post");
    EXPECT_EQ(vault.Entries.at(3).GroupName, u"Mail");  // the other "Mail" group's entry
    EXPECT_EQ(desktop.selectedGroupItem, 2);

    // The container closed while the window was open: the answer is dropped, nothing breaks.
    desktop.onGroupWindow = [&] { vault.clear(); };
    desktop.groupWindowAnswers.push_back(answer(u"Late", 0));
    EXPECT_EQ(Group_Edit(engine), 0);
    EXPECT_TRUE(vault.Groups.empty());
}

TEST_F(GroupOperations, RemoveTakesTheSubtreeWithItsEntriesAndTheirAttachments) {
    desktop.selectedGroupItem = 2;  // "Mail" with "Work" below it
    desktop.yesNoAnswers = {false, true};
    EXPECT_EQ(Group_Remove(engine), 0);
    EXPECT_EQ(vault.Groups.count(), 5);
    EXPECT_EQ(Group_Remove(engine), 0);
    EXPECT_EQ(groupNames(), "Web:1 Mail:1 Empty:1");
    EXPECT_EQ(vault.Groups.at(1).ID, 40);
    ASSERT_EQ(vault.Entries.count(), 2);
    EXPECT_EQ(vault.Entries.at(0).ID, 101);
    EXPECT_EQ(vault.Entries.at(1).ID, 104);
    ASSERT_EQ(vault.Attachments.count(), 1);
    EXPECT_EQ(vault.Attachments.at(0).ID, 202);
    for (std::int32_t gone : {20, 30, 102, 103, 201}) {
        EXPECT_EQ(engine.ids.ID_Exists(gone), 0) << gone;
    }
    for (std::int32_t kept : {10, 40, 50, 101, 104, 202}) {
        EXPECT_EQ(engine.ids.ID_Exists(kept), 1) << kept;
    }
    EXPECT_EQ(desktop.selectedGroupItem, 1);  // the item above
    EXPECT_EQ(desktop.entryRows.count(), 1);  // and its entries

    desktop.selectedGroupItem = 0;
    EXPECT_EQ(Group_Remove(engine), 0);
    EXPECT_EQ(desktop.lastMessage()->text, u"The main group cannot be deleted.");
    EXPECT_EQ(vault.Groups.count(), 3);
    EXPECT_TRUE(
        trace.lines().starts_with("Group_Remove() -> Removing group\n"
                                  "Group_Remove() -> User cancelled removing the group\n"
                                  "Group_Remove() -> Removing group\n"));
}

TEST_F(GroupOperations, MovesRefuseWithTheirMessagesOrSilentlyAndSelectTheMovedGroup) {
    using Move = int (*)(Engine&);
    const Move moves[] = {Group_MoveUp, Group_MoveDown, Group_MoveLeft, Group_MoveRight};
    for (int item : {-1, 0}) {
        desktop.selectedGroupItem = item;
        for (Move move : moves) {
            EXPECT_EQ(move(engine), 0);
        }
    }
    const std::u16string none = u"Please select (click) an item in the group list to move it.";
    const std::u16string root = u"The main group (root) cannot be moved.";
    EXPECT_EQ(desktop.messageTexts(),
              (std::vector<std::u16string>{none, none, none, none, root, root, root, root}));

    struct Refusal {
        Move move;
        int item;
        const char* line;
    };
    const Refusal refusals[] = {
        {Group_MoveUp, 1, "Group_MoveUp() -> Can't move up the first group"},
        {Group_MoveDown, 5, "Group_MoveDown() -> Can't move down last item"},
        {Group_MoveDown, 3, "Group_MoveDown() -> Can't move item"},  // last child of "Mail"
        {Group_MoveLeft, 2, "Group_MoveLeft() -> Error moving, Depth-1 <= 0"},
        {Group_MoveRight, 3, "Group_MoveRight() -> Error, Depth >= Maximum"},
    };
    const std::string before = groupNames();
    for (const Refusal& r : refusals) {
        desktop.selectedGroupItem = r.item;
        EXPECT_EQ(r.move(engine), 0) << r.line;
        EXPECT_TRUE(trace.lines().ends_with(std::string(r.line) + "\n")) << r.line;
    }
    EXPECT_EQ(groupNames(), before);
    EXPECT_EQ(desktop.messages.size(), 8u);  // no message for these

    desktop.selectedGroupItem = 1;
    EXPECT_EQ(Group_MoveDown(engine), 1);
    EXPECT_EQ(groupNames(), "Mail:1 Work:2 Web:1 Mail:1 Empty:1");
    EXPECT_EQ(desktop.selectedGroupItem, 3);
    EXPECT_TRUE(trace.lines().ends_with("Group_MoveDown() -> Group moved\n"));
}

}  // namespace
}  // namespace vlt
