#include "host/OrphanEntries.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "engine/vault/Engine.h"

namespace vlt {

namespace {

constexpr std::u16string_view kImportedGroupName = u"Imported entries";

}  // namespace

void FileOrphanEntries(Engine& engine) {
    Vault& vault = engine.vault;
    // Which entries are orphans is decided on the groups the import left: a new group's fresh ID
    // may equal the stale group ID of an entry not yet filed.
    std::unordered_set<std::int32_t> groupIds;
    std::unordered_map<std::u16string, std::int32_t> firstNamed;
    for (const Group& group : vault.Groups) {
        groupIds.insert(group.ID);
        firstNamed.try_emplace(group.Name, group.ID);
    }
    for (Entry& entry : vault.Entries) {
        if (groupIds.contains(entry.GroupID)) {
            continue;
        }
        // A group with no name could be neither told apart nor found: an entry naming none goes
        // into the first group, made with a name when the import brought none.
        if (entry.GroupName.empty()) {
            if (!vault.Groups.empty()) {
                entry.GroupID = vault.Groups.at(0).ID;
                entry.GroupName = vault.Groups.at(0).Name;
                continue;
            }
            entry.GroupName = kImportedGroupName;
        }
        auto [named, isNew] = firstNamed.try_emplace(entry.GroupName, 0);
        if (isNew) {
            Group& group = vault.Groups.append(Group{engine.ids.ID_New(), 1, entry.GroupName, 0});
            named->second = group.ID;
        }
        entry.GroupID = named->second;
    }
}

}  // namespace vlt
