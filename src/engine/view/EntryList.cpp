#include "engine/view/EntryList.h"

#include <string_view>

#include "engine/vault/Engine.h"
#include "engine/view/EntryRows.h"

namespace vlt {

namespace {

constexpr std::string_view kRefreshProc = "Entry_RefreshList";

}  // namespace

int Entry_RefreshList(Engine& engine) {
    Desktop& desktop = engine.desktop;
    const Vault& vault = engine.vault;
    engine.log.Trace(u"Refresing list", kRefreshProc);
    const int item = desktop.SelectedGroupItem();
    // An item past the last group names no group; the list is left as it is, as with none.
    if (vault.Groups.empty() || vault.Entries.empty() || item < 0 || item > vault.Groups.count()) {
        engine.log.Trace(u"Done", kRefreshProc);
        return 0;
    }
    const int remembered = desktop.SelectedEntryRow();
    const std::int32_t groupId = item == 0 ? 0 : vault.Groups.at(item - 1).ID;
    EntryRows rows = BuildEntryRows(engine, groupId);
    const Entry* selected = rows.entry(vault, remembered);
    desktop.ShowEntryRows(std::move(rows), remembered);
    desktop.ShowComment(selected != nullptr ? std::u16string_view(selected->Comment) : u"");
    engine.log.Trace(u"Done", kRefreshProc);
    return 1;
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
