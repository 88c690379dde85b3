#include "engine/view/SortEntries.h"

#include <string>
#include <string_view>
#include <vector>

#include "engine/vault/Engine.h"
#include "engine/view/EntryList.h"
#include "engine/view/SortOrder.h"

namespace vlt {

namespace {

constexpr const char* kProcedure = "SortEntries";
constexpr int kPrefetchAhead = 64;

std::u16string_view textKey(const Entry& entry, std::int32_t column) {
    switch (column) {
        case kColAccounts:
            return entry.Account;
        case kColUserNames:
            return entry.User;
        case kColPasswords:
            return entry.Password.view();
        case kColURLs:
            return entry.URL;
        default:  // kColAttachments, the last text column
            return entry.AttachmentNames;
    }
}

std::int32_t dateKey(const Entry& entry, std::int32_t column) {
    switch (column) {
        case kColCreationDates:
            return entry.CreationDate;
        case kColAccessDates:
            return entry.AccessDate;
        case kColModificationDates:
            return entry.ModificationDate;
        default:
            return entry.ExpirationDate;
    }
}

// Where the column's key lies in the record, for prefetching it.
const void* keyField(const Entry& entry, std::int32_t column) {
    switch (column) {
        case kColAccounts:
            return &entry.Account;
        case kColUserNames:
            return &entry.User;
        case kColPasswords:
            return &entry.Password;
        case kColURLs:
            return &entry.URL;
        case kColAttachments:
            return &entry.AttachmentNames;
        default:
            return &entry.ExpirationDate;  // the dates lie together at the record's end
    }
}

}  // namespace

int SortEntries(Engine& engine, std::int32_t column, std::int32_t direction) {
    engine.log.Trace(u"Sorting entries", kProcedure);
    RecordList<Entry>& entries = engine.vault.Entries;
    const int item = engine.desktop.SelectedGroupItem();
    // A selection past the last group would name no group; it is turned away like no selection.
    if (item <= 0 || item > engine.vault.Groups.count()) {
        engine.log.Trace(u"State <= 0, returning", kProcedure);
        return 0;
    }
    const std::int32_t groupId = engine.vault.Groups.at(item - 1).ID;
    const bool known = column >= 0 && column < kColumnCount;
    const bool byText = known && column < kColCreationDates;
    const bool descending = direction == kSortDescending;

    // One walk collects the group's positions and sort keys; the keys are then ordered on their
    // own, and the records are moved once.
    const auto most = static_cast<std::size_t>(entries.count());
    std::vector<int> positions;
    positions.reserve(most);  // room for the largest group: unused pages are never touched
    std::vector<std::u16string_view> texts;
    std::vector<std::int32_t> dates;
    if (byText) {
        texts.reserve(most);
    } else if (known) {
        dates.reserve(most);
    }
    for (int i = 0; i < entries.count(); ++i) {
        // The records lie scattered over the heap: asking for them well ahead overlaps the
        // waits for memory instead of taking them one after another.
        if (i + kPrefetchAhead < entries.count()) {
            const Entry& ahead = entries.at(i + kPrefetchAhead);
            __builtin_prefetch(&ahead);
            __builtin_prefetch(keyField(ahead, column));
        }
        const Entry& entry = entries.at(i);
        if (entry.GroupID != groupId) {
            continue;
        }
        positions.push_back(i);
        if (byText) {
            texts.push_back(textKey(entry, column));
        } else if (known) {
            dates.push_back(dateKey(entry, column));
        }
    }
    if (positions.empty()) {
        engine.log.Trace(u"Done", kProcedure);
        return 0;
    }

    if (known) {
        entries.reorderAt(positions,
                          byText ? TextOrder(texts, descending) : NumberOrder(dates, descending));
    }

    Entry_RefreshList(engine);
    engine.log.Trace(u"Done", kProcedure);
    return 0;
}

std::int32_t NextSortDirection(Engine& engine, int column) {
    if (column < 0 || column >= kColumnCount) {
        return kSortAscending;
    }
    std::int32_t& flag = engine.SortDirections[column];
    if (flag == 0) {
        flag = 1;
        return kSortAscending;
    }
    flag = 0;
    return kSortDescending;
}

}  // namespace vlt
