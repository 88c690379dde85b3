#include "engine/vault/GroupOperations.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <optional>
#include <string_view>
#include <unordered_set>

#include "engine/vault/Engine.h"
#include "engine/vault/GroupTreeEdits.h"
#include "engine/view/EntryList.h"
#include "engine/view/EntryRows.h"
#include "engine/view/GroupTree.h"

namespace vlt {

namespace {

constexpr int kGroupIconCount = 100;

void inform(Engine& engine, std::u16string_view text) {
    engine.desktop.Message(u"Information", text, MessageIcon::Information);
}

// The selected group's index in the list; -1 for none, -2 for the root item.
constexpr int kNoGroup = -1;
constexpr int kRootItem = -2;
int selectedGroup(Engine& engine) {
    const int item = engine.desktop.SelectedGroupItem();
    if (item == 0) {
        return kRootItem;
    }
    return item >= 1 && item <= engine.vault.Groups.count() ? item - 1 : kNoGroup;
}

int indexOfGroup(const RecordList<Group>& groups, std::int32_t id) {
    for (int i = 0; i < groups.count(); ++i) {
        if (groups.at(i).ID == id) {
            return i;
        }
    }
    return -1;
}

// Removes every record `doomed` picks, handing each to `removed` first.
template <typename T, typename Doomed, typename Removed>
void removeWhere(RecordList<T>& list, Doomed doomed, Removed removed) {
    for (int i = list.count() - 1; i >= 0; --i) {
        if (doomed(list.at(i))) {
            removed(list.at(i));
            list.select(i);
            list.deleteCurrent();
        }
    }
}

void showTreeWith(Engine& engine, int groupIndex) {
    engine.desktop.RebuildGroupTree();
    engine.desktop.SelectGroupItem(groupIndex + 1);
}

// The common course of the four moves: the refusals with their messages, then the move.
struct MoveTexts {
    std::string_view procedure;
    std::u16string_view start;
    std::u16string_view noneSelected;
    std::u16string_view rootSelected;
    std::u16string_view refused;
    std::u16string_view lastRefused = {};  // when the last group is refused before the move
};

template <typename Move>
int moveGroup(Engine& engine, const MoveTexts& texts, Move move) {
    auto trace = [&](std::u16string_view text) { engine.log.Trace(text, texts.procedure); };
    trace(texts.start);
    const int at = selectedGroup(engine);
    if (at == kNoGroup) {
        trace(texts.noneSelected);
        inform(engine, u"Please select (click) an item in the group list to move it.");
        return 0;
    }
    if (at == kRootItem) {
        trace(texts.rootSelected);
        inform(engine, u"The main group (root) cannot be moved.");
        return 0;
    }
    if (!texts.lastRefused.empty() && at == engine.vault.Groups.count() - 1) {
        trace(texts.lastRefused);
        return 0;
    }
    NormaliseDepths(engine.vault.Groups);
    const int movedTo = move(at);
    if (movedTo < 0) {
        trace(texts.refused);
        return 0;
    }
    showTreeWith(engine, movedTo);
    trace(u"Group moved");
    return 1;
}

}  // namespace

int Group_Add(Engine& engine) {
    constexpr std::string_view kProc = "Group_Add";
    engine.log.Trace(u"Adding new group", kProc);
    RecordList<Group>& groups = engine.vault.Groups;
    try {
        NormaliseDepths(groups);
        const std::optional<Group> chosen =
            engine.desktop.OpenGroupWindow(Group{}, kGroupAdd, groups);
        if (!chosen) {
            return 0;
        }
        const GroupPlace place = NewGroupPlace(groups, engine.desktop.SelectedGroupItem());
        Group group;
        group.ID = engine.ids.ID_New();
        group.Depth = place.depth;
        group.Name = chosen->Name;
        group.Icon = std::clamp(chosen->Icon, 0, kGroupIconCount - 1);
        if (place.index == 0) {
            groups.reset();
        } else {
            groups.select(place.index - 1);
        }
        groups.addAfter(std::move(group));
        showTreeWith(engine, place.index);
        // The list shows the new, empty group, so that an entry added next lands where the user
        // looks.
        engine.desktop.ShowEntryRows(BuildEntryRows(engine, groups.at(place.index).ID), -1);
        engine.desktop.ShowComment(u"");
    } catch (const std::bad_alloc&) {
        // The program cannot go on: it ends at once, saving nothing, with a failure status.
        engine.log.Trace(u"Error allocating memory", kProc);
        engine.desktop.Message(u"Error", u"Error allocating memory for a new group!",
                               MessageIcon::Error);
        engine.desktop.EndProgram(EXIT_FAILURE);
        return 0;
    }
    engine.log.Trace(u"Group added", kProc);
    return 1;
}

int Group_Edit(Engine& engine) {
    constexpr std::string_view kProc = "Group_Edit";
    engine.log.Trace(u"Editing group", kProc);
    const int at = selectedGroup(engine);
    if (at == kRootItem) {
        engine.log.Trace(u"Can't edit main group", kProc);
        inform(engine, u"The main group cannot be edited.");
        return 0;
    }
    if (at == kNoGroup) {
        engine.log.Trace(u"No group selected", kProc);
        inform(engine, u"Please select (click) a group to edit in the left box.");
        return 0;
    }
    // The window works on a copy: the vault may be closed while it is open.
    const Group start = engine.vault.Groups.at(at);
    const std::optional<Group> chosen =
        engine.desktop.OpenGroupWindow(start, kGroupEdit, engine.vault.Groups);
    const int now = indexOfGroup(engine.vault.Groups, start.ID);
    if (!chosen || now < 0) {
        return 0;
    }
    Group& group = engine.vault.Groups.at(now);
    group.Name = chosen->Name;
    group.Icon = std::clamp(chosen->Icon, 0, kGroupIconCount - 1);
    // By ID: other groups may carry the same name.
    for (Entry& entry : engine.vault.Entries) {
        if (entry.GroupID == group.ID) {
            entry.GroupName = group.Name;
        }
    }
    showTreeWith(engine, now);
    engine.log.Trace(u"Group updated", kProc);
    return 1;
}

int Group_Remove(Engine& engine) {
    constexpr std::string_view kProc = "Group_Remove";
    engine.log.Trace(u"Removing group", kProc);
    const int at = selectedGroup(engine);
    if (at == kRootItem) {
        engine.log.Trace(u"Main group can't be removed", kProc);
        inform(engine, u"The main group cannot be deleted.");
        return 0;
    }
    if (at == kNoGroup) {
        inform(engine, u"Please select a group from the box in the left first.");
        return 0;
    }
    if (!engine.desktop.AskYesNo(u"Please confirm",
                                 u"Are you sure you want to remove the selected group? All the "
                                 u"contained subgroups as well as their contained entries will "
                                 u"be removed as well.",
                                 MessageIcon::Question)) {
        engine.log.Trace(u"User cancelled removing the group", kProc);
        return 0;
    }
    Vault& vault = engine.vault;
    NormaliseDepths(vault.Groups);
    const int end = SubtreeEnd(vault.Groups, at);
    std::unordered_set<std::int32_t> groupIds;
    for (int i = at; i < end; ++i) {
        groupIds.insert(vault.Groups.at(i).ID);
    }
    auto freeId = [&](const auto& record) { engine.ids.ID_Free(record.ID); };
    removeWhere(
        vault.Groups, [&](const Group& g) { return groupIds.contains(g.ID); }, freeId);
    std::unordered_set<std::int32_t> entryIds;
    removeWhere(
        vault.Entries, [&](const Entry& e) { return groupIds.contains(e.GroupID); },
        [&](const Entry& e) {
            entryIds.insert(e.ID);
            freeId(e);
        });
    // Kept, a removed entry's attachments would stay in the file unseen, and a later entry
    // drawing the same ID would inherit them.
    removeWhere(
        vault.Attachments, [&](const Attachment& a) { return entryIds.contains(a.EntryID); },
        freeId);
    engine.desktop.RebuildGroupTree();
    engine.desktop.SelectGroupItem(at > 0 ? at : 0);
    engine.desktop.ShowEntryRows(EntryRows{}, -1);
    engine.desktop.ShowComment(u"");
    Entry_RefreshList(engine);
    engine.log.Trace(u"Group removed", kProc);
    return 0;
}

int Group_MoveUp(Engine& engine) {
    static constexpr MoveTexts kTexts{"Group_MoveUp", u"Moving group up", u"No group selected",
                                      u"The main group can't be moved",
                                      u"Can't move up the first group"};
    return moveGroup(engine, kTexts, [&](int at) { return MoveGroupUp(engine.vault.Groups, at); });
}

int Group_MoveDown(Engine& engine) {
    static constexpr MoveTexts kTexts{"Group_MoveDown",    u"Moving group down",
                                      u"No item selected", u"Root group can't be moved",
                                      u"Can't move item",  u"Can't move down last item"};
    return moveGroup(engine, kTexts,
                     [&](int at) { return MoveGroupDown(engine.vault.Groups, at); });
}

int Group_MoveLeft(Engine& engine) {
    static constexpr MoveTexts kTexts{"Group_MoveLeft", u"Moving group to the left",
                                      u"No group selected", u"Can't move root group",
                                      u"Error moving, Depth-1 <= 0"};
    return moveGroup(engine, kTexts,
                     [&](int at) { return MoveGroupLeft(engine.vault.Groups, at); });
}

int Group_MoveRight(Engine& engine) {
    static constexpr MoveTexts kTexts{"Group_MoveRight", u"Moving group to the right",
                                      u"No group selected", u"Can't move root group",
                                      u"Error, Depth >= Maximum"};
    return moveGroup(engine, kTexts,
                     [&](int at) { return MoveGroupRight(engine.vault.Groups, at); });
}

}  // namespace vlt
