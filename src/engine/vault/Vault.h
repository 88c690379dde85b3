#pragma once
// The open vault: three ordered record lists. The order of Groups is the tree's display order.

#include "engine/vault/RecordList.h"
#include "engine/vault/Records.h"

namespace vlt {

struct Vault {
    RecordList<Group> Groups;
    RecordList<Entry> Entries;
    RecordList<Attachment> Attachments;

    bool empty() const { return Groups.empty() && Entries.empty(); }
    void clear() {
        Groups.clear();
        Entries.clear();
        Attachments.clear();
    }
};

}  // namespace vlt
