#include "engine/view/EntryList.h"

#include <string_view>

#include "engine/vault/Engine.h"
#include "engine/view/EntryRows.h"

namespace vlt {

namespace {

constexpr std::string_view kRefreshProc = "Entry_RefreshList";

}  // namespace

int ShowGroupEntries(Engine& engine, std::int32_t selectId, int fallbackRow) {
    Desktop& desktop = engine.desktop;
    const Vault& vault = engine.vault;
    const int item = desktop.SelectedGroupItem();
    // An item past the last group names no group; the list is left as it is, as with none.
    if (vault.Groups.empty() || item < 0 || item > vault.Groups.count()) {
        return 0;
    }
    const std::int32_t groupId = item == 0 ? 0 : vault.Groups.at(item - 1).ID;
    EntryRows rows = BuildEntryRows(engine, groupId);
    int select = fallbackRow;
    for (int row = 0; row < rows.count(); ++row) {
        if (rows.rows[static_cast<std::size_t>(row)].id == selectId) {
            select = row;
            break;
        }
    }
    const Entry* selected = rows.entry(vault, select);
    desktop.ShowEntryRows(std::move(rows), select);
    desktop.ShowComment(selected != nullptr ? std::u16string_view(selected->Comment) : u"");
    return 1;
}

int Entry_RefreshList(Engine& engine) {
    engine.log.Trace(u"Refresing list", kRefreshProc);
    // Entry IDs are never 0, so the row is kept by its index. With no entries at all the list
    // keeps its rows.
    const int result = engine.vault.Entries.empty()
                           ? 0
                           : ShowGroupEntries(engine, 0, engine.desktop.SelectedEntryRow());
    engine.log.Trace(u"Done", kRefreshProc);
    return result;
}

Entry* EntryOfRow(Engine& engine, int row) {
    return engine.desktop.ShownEntryRows().entry(engine.vault, row);
}

int ShowSelectedEntry(Engine& engine) {
    if (engine.busy()) {
        return 0;
    }
    const int row = engine.desktop.SelectedEntryRow();
    if (row < 0) {
        engine.desktop.ShowComment(u"");
        return 0;
    }
    if (engine.vault.Groups.empty() || engine.vault.Entries.empty()) {
        return 0;
    }
    Entry* entry = EntryOfRow(engine, row);
    if (entry == nullptr) {
        engine.desktop.ShowComment(u"");
        return 0;
    }
    entry->AccessDate = engine.clock();
    engine.desktop.ShowComment(entry->Comment);
    return 1;
}

}  // namespace vlt
