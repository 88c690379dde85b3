#include "engine/view/EntryOperations.h"

#include <cstdlib>
#include <new>
#include <optional>
#include <string_view>

#include "engine/vault/Engine.h"
#include "engine/view/EntryList.h"

namespace vlt {

namespace {

constexpr std::int64_t kDay = 86'400;
constexpr std::int32_t kBrightRed = 255;
constexpr int kAddMode = 0;
constexpr int kEditMode = 1;

int findEntry(const Vault& vault, std::int32_t id) {
    for (int i = 0; i < vault.Entries.count(); ++i) {
        if (vault.Entries.at(i).ID == id) {
            return i;
        }
    }
    return -1;
}

const Group* findGroup(const Vault& vault, std::int32_t id) {
    for (const Group& group : vault.Groups) {
        if (group.ID == id) {
            return &group;
        }
    }
    return nullptr;
}

// Copies what the editor returns into the record; the caller sets the dates it keeps.
void takeEditorFields(Entry& record, const Entry& result) {
    record.Account = result.Account;
    record.User = result.User;
    record.Password = result.Password;
    record.URL = result.URL;
    record.Comment = result.Comment;
    record.Expires = result.Expires;
    record.CustomForeground = result.CustomForeground;
    record.ForegroundColor = result.ForegroundColor;
    record.CustomBackground = result.CustomBackground;
    record.BackgroundColor = result.BackgroundColor;
    record.ExpirationDate = result.ExpirationDate;
}

// Removes the entry at `index` with its attachments, releasing every ID they held: left behind,
// the attachments would stay in the file unseen, and an entry drawing the same ID later would
// inherit them.
void removeEntryAt(Engine& engine, int index) {
    Vault& vault = engine.vault;
    const std::int32_t id = vault.Entries.at(index).ID;
    for (int i = vault.Attachments.count() - 1; i >= 0; --i) {
        if (vault.Attachments.at(i).EntryID == id) {
            engine.ids.ID_Free(vault.Attachments.at(i).ID);
            vault.Attachments.select(i);
            vault.Attachments.deleteCurrent();
        }
    }
    engine.ids.ID_Free(id);
    vault.Entries.select(index);
    vault.Entries.deleteCurrent();
}

int moveEntry(Engine& engine, int step) {
    const bool down = step > 0;
    const std::string_view proc = down ? "Entry_MoveDown" : "Entry_MoveUp";
    engine.log.Trace(down ? u"Moving entry down" : u"Moving entry up", proc);
    const int row = engine.desktop.SelectedEntryRow();
    if (row < 0) {
        engine.log.Trace(down ? u"No item selected, returning" : u"No item selected", proc);
        engine.desktop.Message(u"Information",
                               u"Please select (click) an item in the list in order to move it.",
                               MessageIcon::Information);
        return 0;
    }
    const EntryRows& rows = engine.desktop.ShownEntryRows();
    if (rows.count() < 2) {
        engine.log.Trace(
            down ? u"Couldn't move entry (need at least 2 items)" : u"Need at least 2 items", proc);
        return 0;
    }
    const int neighbour = row + step;
    if (neighbour < 0 || neighbour >= rows.count()) {
        engine.log.Trace(u"Couldn't move entry", proc);
        return 0;
    }
    const std::int32_t movedId = rows.row(row)->id;
    const int from = findEntry(engine.vault, movedId);
    const int to = findEntry(engine.vault, rows.row(neighbour)->id);
    if (from < 0 || to < 0) {
        return 0;
    }
    // Only these two change places, however far apart other groups' entries keep them.
    engine.vault.Entries.swap(from, to);
    ShowGroupEntries(engine, movedId, neighbour);
    engine.log.Trace(u"Entry moved, returning", proc);
    return 1;
}

}  // namespace

Entry EntryEditorInput(const Engine& engine, const Entry& entry, int mode) {
    Entry input = entry;
    if (mode == kAddMode) {
        const std::int32_t now = engine.clock();
        const MainSettings& main = engine.settings.Main;
        input.Expires = main.NewlyAddedExpireIn == 1 ? 1 : 0;
        input.ExpirationDate =
            main.NewlyAddedExpireIn == 1 ? AddSeconds(now, main.NewlyAddedExpireDays * kDay) : now;
    }
    // A black background the user chose is kept; only the unset colour is offered as red.
    if (input.CustomBackground == 0 && input.BackgroundColor == 0) {
        input.BackgroundColor = kBrightRed;
    }
    return input;
}

int Entry_Add(Engine& engine) {
    constexpr std::string_view kProc = "Entry_Add";
    Desktop& desktop = engine.desktop;
    Vault& vault = engine.vault;
    engine.log.Trace(u"Adding entry", kProc);
    const int item = desktop.SelectedGroupItem();
    if (item < 0 || (item > vault.Groups.count() && !vault.Groups.empty())) {
        engine.log.Trace(u"No group selected, returning", kProc);
        desktop.Message(u"Information", u"No group selected. Please select a group and try again.",
                        MessageIcon::Information);
        return 0;
    }
    if (item == 0) {
        engine.log.Trace(u"Root group can't contain entries", kProc);
        desktop.Message(u"Information", u"The root group cannot contain any entries.",
                        MessageIcon::Information);
        return 0;
    }
    if (vault.Groups.empty()) {
        engine.log.Trace(u"No groups defined, returning", kProc);
        desktop.Message(u"Information",
                        u"It seems that you haven't defined any groups. You need at least one "
                        u"group before adding an account to the database.",
                        MessageIcon::Information);
        return 0;
    }
    const std::int32_t groupId = vault.Groups.at(item - 1).ID;
    try {
        Entry work;
        work.ID = engine.ids.ID_New();
        Attachment_BeginEditing(engine);
        std::optional<Entry> result =
            desktop.OpenEntryWindow(EntryEditorInput(engine, work, kAddMode), kAddMode);
        if (!result) {
            Attachment_CancelAdded(engine);
            return 0;
        }
        // The container may have been closed while the editor was open.
        const Group* group = findGroup(vault, groupId);
        if (group == nullptr) {
            return 0;
        }
        Entry record;
        record.ID = work.ID;
        record.GroupID = groupId;
        record.GroupName = group->Name;
        takeEditorFields(record, *result);
        record.AttachmentNames = AttachmentSummary(vault.Attachments, record.ID);
        const std::int32_t now = engine.clock();
        record.CreationDate = now;
        record.AccessDate = now;
        record.ModificationDate = now;

        const EntryRows& rows = desktop.ShownEntryRows();
        const int selected = desktop.SelectedEntryRow();
        const int anchorRow =
            selected >= 0 && selected < rows.count() ? selected : rows.count() - 1;
        const Entry* anchor = rows.entry(vault, anchorRow);
        const int anchorIndex = anchor != nullptr ? findEntry(vault, anchor->ID) : -1;
        if (anchorIndex >= 0) {
            vault.Entries.select(anchorIndex);
            vault.Entries.addAfter(std::move(record));
        } else {
            vault.Entries.append(std::move(record));
        }
        ShowGroupEntries(engine, work.ID, selected);
    } catch (const std::bad_alloc&) {
        engine.log.Trace(u"Error allocating memory", kProc);
        desktop.Message(u"Error", u"Error allocating memory for a new entry!", MessageIcon::Error);
        desktop.EndProgram(EXIT_FAILURE);
        return 0;
    }
    engine.log.Trace(u"Entry added, returning", kProc);
    return 1;
}

int Entry_Edit(Engine& engine) {
    constexpr std::string_view kProc = "Entry_Edit";
    Desktop& desktop = engine.desktop;
    engine.log.Trace(u"Editing entry", kProc);
    const int row = desktop.SelectedEntryRow();
    if (row < 0) {
        engine.log.Trace(u"No item selected", kProc);
        desktop.Message(u"Information", u"Please select (click) an entry in the list to edit it.",
                        MessageIcon::Information);
        return 0;
    }
    const Entry* shown = EntryOfRow(engine, row);
    if (shown == nullptr) {
        return 0;
    }
    const std::int32_t id = shown->ID;
    Attachment_BeginEditing(engine);
    std::optional<Entry> result =
        desktop.OpenEntryWindow(EntryEditorInput(engine, *shown, kEditMode), kEditMode);
    // Found again by ID: the container may have been closed while the editor was open.
    const int index = findEntry(engine.vault, id);
    if (!result) {
        // Attachments added and deleted stay so even when the editor is cancelled; the
        // Attachments column must say so.
        if (index >= 0) {
            std::u16string names = AttachmentSummary(engine.vault.Attachments, id);
            if (names != engine.vault.Entries.at(index).AttachmentNames) {
                engine.vault.Entries.at(index).AttachmentNames = std::move(names);
                ShowGroupEntries(engine, id, row);
            }
        }
        return 0;
    }
    if (index < 0) {
        return 0;
    }
    Entry& record = engine.vault.Entries.at(index);
    if (const Group* group = findGroup(engine.vault, record.GroupID)) {
        record.GroupName = group->Name;
    }
    takeEditorFields(record, *result);
    record.AttachmentNames = AttachmentSummary(engine.vault.Attachments, id);
    // The creation date is the entry's own; editing stamps access and modification.
    const std::int32_t now = engine.clock();
    record.AccessDate = now;
    record.ModificationDate = now;
    ShowGroupEntries(engine, id, row);
    engine.log.Trace(u"Entry edited, returning", kProc);
    return 1;
}

int Entry_MoveUp(Engine& engine) {
    return moveEntry(engine, -1);
}

int Entry_MoveDown(Engine& engine) {
    return moveEntry(engine, 1);
}

int Entry_Remove(Engine& engine) {
    constexpr std::string_view kProc = "Entry_Remove";
    Desktop& desktop = engine.desktop;
    engine.log.Trace(u"Removing entry", kProc);
    const int row = desktop.SelectedEntryRow();
    if (row < 0) {
        engine.log.Trace(u"No entry selected", kProc);
        desktop.Message(u"Information", u"Please select an entry first.", MessageIcon::Information);
        return 0;
    }
    if (!desktop.AskYesNo(u"Please confirm", u"Are you sure you want to remove the selected entry?",
                          MessageIcon::Question)) {
        engine.log.Trace(u"User aborted removal", kProc);
        return 0;
    }
    if (engine.vault.Entries.empty()) {
        engine.log.Trace(u"No entries in the list", kProc);
        return 0;
    }
    const Entry* entry = EntryOfRow(engine, row);
    if (entry == nullptr) {
        return 0;
    }
    removeEntryAt(engine, findEntry(engine.vault, entry->ID));
    // The row above takes the selection; row 0 when the first or second row went.
    ShowGroupEntries(engine, 0, row > 0 ? row - 1 : 0);
    desktop.ShowComment(u"");
    engine.log.Trace(u"Entry removed", kProc);
    return 1;
}

}  // namespace vlt
