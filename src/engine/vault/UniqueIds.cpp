#include "engine/vault/UniqueIds.h"

#include <unordered_map>
#include <vector>

namespace vlt {

namespace {

// The groups that had one ID in the file, in file order, for IDs that more than one group had.
using SharedGroupIds = std::unordered_map<std::int32_t, std::vector<const Group*>>;

std::int32_t placedGroup(const Entry& entry, const SharedGroupIds& shared) {
    auto it = shared.find(entry.GroupID);
    if (it == shared.end()) {
        return entry.GroupID;
    }
    for (const Group* group : it->second) {
        if (group->Name == entry.GroupName) {
            return group->ID;
        }
    }
    return it->second.front()->ID;
}

}  // namespace

void MakeIdsUnique(Vault& vault, IdRegistry& ids) {
    ids.reserve(static_cast<std::size_t>(vault.Groups.count()) +
                static_cast<std::size_t>(vault.Entries.count()) +
                static_cast<std::size_t>(vault.Attachments.count()));

    // Every stored ID is registered before any fresh one is drawn, so that no fresh ID can
    // equal an ID stored further on in the file.
    std::unordered_map<std::int32_t, const Group*> firstGroup;
    std::vector<Group*> groupsToRename;
    std::vector<Entry*> entriesToRename;
    std::vector<Attachment*> attachmentsToRename;
    for (Group& group : vault.Groups) {
        if (ids.tryRegister(group.ID)) {
            firstGroup.emplace(group.ID, &group);
        } else {
            groupsToRename.push_back(&group);
        }
    }
    for (Entry& entry : vault.Entries) {
        if (!ids.tryRegister(entry.ID)) {
            entriesToRename.push_back(&entry);
        }
    }
    for (Attachment& attachment : vault.Attachments) {
        if (!ids.tryRegister(attachment.ID)) {
            attachmentsToRename.push_back(&attachment);
        }
    }

    SharedGroupIds sharedGroups;
    for (Group* group : groupsToRename) {
        auto& sharing = sharedGroups[group->ID];
        if (sharing.empty()) {
            sharing.push_back(firstGroup.at(group->ID));
        }
        sharing.push_back(group);
        group->ID = ids.ID_New();
    }
    // An entry renamed because a group had its ID is still the first entry with that ID when no
    // earlier entry was renamed for the same reason: the attachments naming the ID follow it.
    std::unordered_map<std::int32_t, std::int32_t> movedEntries;
    for (Entry* entry : entriesToRename) {
        const std::int32_t stored = entry->ID;
        entry->ID = ids.ID_New();
        if (firstGroup.contains(stored)) {
            movedEntries.emplace(stored, entry->ID);
        }
    }
    for (Attachment* attachment : attachmentsToRename) {
        attachment->ID = ids.ID_New();
    }

    if (!sharedGroups.empty()) {
        for (Entry& entry : vault.Entries) {
            entry.GroupID = placedGroup(entry, sharedGroups);
        }
    }
    if (!movedEntries.empty()) {
        for (Attachment& attachment : vault.Attachments) {
            if (auto moved = movedEntries.find(attachment.EntryID); moved != movedEntries.end()) {
                attachment.EntryID = moved->second;
            }
        }
    }
}

}  // namespace vlt
