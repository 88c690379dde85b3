#include "engine/vault/MassModify.h"

#include <algorithm>

#include "engine/vault/Engine.h"
#include "engine/view/EntryList.h"

namespace vlt {

namespace {

int groupIndex(const Vault& vault, std::int32_t id) {
    for (int g = 0; g < vault.Groups.count(); ++g) {
        if (vault.Groups.at(g).ID == id) {
            return g;
        }
    }
    return -1;
}

// The indexes in range, each once, in the order given.
std::vector<int> distinctIndexes(const Vault& vault, const std::vector<int>& indexes) {
    std::vector<bool> seen(static_cast<std::size_t>(vault.Entries.count()), false);
    std::vector<int> result;
    for (int at : indexes) {
        if (at >= 0 && at < vault.Entries.count() && !seen[static_cast<std::size_t>(at)]) {
            seen[static_cast<std::size_t>(at)] = true;
            result.push_back(at);
        }
    }
    return result;
}

void moveEntries(Vault& vault, const std::vector<int>& indexes, const Group& target) {
    std::vector<bool> moving(static_cast<std::size_t>(vault.Entries.count()), false);
    for (int at : indexes) {
        moving[static_cast<std::size_t>(at)] = true;
    }
    int after = -1;
    for (int i = vault.Entries.count() - 1; i >= 0; --i) {
        if (!moving[static_cast<std::size_t>(i)] && vault.Entries.at(i).GroupID == target.ID) {
            after = i;
            break;
        }
    }
    for (int at : indexes) {
        Entry& entry = vault.Entries.at(at);
        entry.GroupID = target.ID;
        entry.GroupName = target.Name;
    }
    vault.Entries.relocate(indexes, after);
}

}  // namespace

std::vector<GroupChoice> MassModifyGroups(const Vault& vault) {
    std::vector<GroupChoice> items;
    items.reserve(static_cast<std::size_t>(vault.Groups.count()));
    for (const Group& group : vault.Groups) {
        const std::size_t blanks = 3 * static_cast<std::size_t>(std::max(group.Depth, 1));
        items.push_back({std::u16string(blanks, u' ') + group.Name, group.ID});
    }
    return items;
}

void ApplyMassModify(Vault& vault, const std::vector<int>& indexes,
                     const MassModifyChoice& choice) {
    const std::vector<int> picked = distinctIndexes(vault, indexes);
    // The records keep their addresses when they move, so the expiry reaches them afterwards.
    std::vector<Entry*> entries;
    entries.reserve(picked.size());
    for (int at : picked) {
        entries.push_back(&vault.Entries.at(at));
    }
    const int target = groupIndex(vault, choice.groupId);
    if (choice.moveToGroup && target >= 0) {
        moveEntries(vault, picked, vault.Groups.at(target));
    }
    if (choice.changeExpiry) {
        for (Entry* entry : entries) {
            entry->ExpirationDate = choice.expirationDate;
            entry->Expires = choice.expires ? 1 : 0;
        }
    }
}

namespace {

int openMassModifyWindow(Engine& engine) {
    Desktop& desktop = engine.desktop;
    Vault& vault = engine.vault;
    if (vault.Entries.empty()) {
        desktop.Message(u"Information",
                        u"You haven't added any entries to the database. There is no data to be "
                        u"moved.",
                        MessageIcon::Information);
        return 0;
    }
    std::vector<int> rows = desktop.SelectedEntryRows();
    if (rows.size() < 2) {
        desktop.Message(u"Information", u"Please select 2 or more items first.",
                        MessageIcon::Information);
        return 0;
    }
    const std::optional<MassModifyChoice> choice =
        desktop.MassModifyWindow(MassModifyGroups(vault), engine.clock());
    if (!choice) {
        return 0;
    }
    // Entries are taken in row order, however the selection was made. A row counts only while its
    // entry still stands where the list found it.
    std::sort(rows.begin(), rows.end());
    const EntryRows& shown = desktop.ShownEntryRows();
    std::vector<int> indexes;
    indexes.reserve(rows.size());
    for (int row : rows) {
        const EntryRow* r = shown.row(row);
        if (r != nullptr && r->id != 0 && shown.entry(vault, row) != nullptr) {
            indexes.push_back(r->index);
        }
    }
    ApplyMassModify(vault, indexes, *choice);
    const int target = groupIndex(vault, choice->groupId);
    if (target >= 0) {
        desktop.SelectGroupItem(target + 1);
    }
    Entry_RefreshList(engine);
    return 1;
}

}  // namespace

int OpenMassModifyWindow(Engine& engine) {
    try {
        return openMassModifyWindow(engine);
    } catch (const std::exception&) {
        // Out of memory: a move takes its memory before it starts, so no list is left torn.
        return 0;
    }
}

}  // namespace vlt
