#include "SortEntries.h"

#include <algorithm>
#include <string>
#include <vector>

#include "Engine.h"

namespace vlt {

namespace {

constexpr const char* kProcedure = "SortEntries";

// Folds A-Z to a-z only, then compares UTF-16 code units: the C locale's case-insensitive
// compare, under which '_' (0x5F) sorts before every letter of either case.
int compareText(const std::u16string& a, const std::u16string& b) {
    auto fold = [](char16_t c) {
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    };
    const std::size_t n = std::min(a.size(), b.size());
    // Identical runs need no folding; only a differing pair of code units is looked at closely.
    for (std::size_t i = 0; i < n; ++i) {
        i = static_cast<std::size_t>(
            std::mismatch(a.begin() + i, a.begin() + n, b.begin() + i).first - a.begin());
        if (i == n) {
            break;
        }
        const char16_t ca = fold(a[i]);
        const char16_t cb = fold(b[i]);
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

const std::u16string* textKey(const Entry& entry, std::int32_t column) {
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
            return nullptr;
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

// Negative, zero or positive as a orders before, with or after b under the column.
int compareEntries(const Entry& a, const Entry& b, std::int32_t column) {
    if (const std::u16string* keyA = textKey(a, column)) {
        return compareText(*keyA, *textKey(b, column));
    }
    const std::int32_t keyA = dateKey(a, column);
    const std::int32_t keyB = dateKey(b, column);
    return keyA < keyB ? -1 : (keyA > keyB ? 1 : 0);
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

    std::vector<int> positions;
    for (int i = 0; i < entries.count(); ++i) {
        if (entries.at(i).GroupID == groupId) {
            positions.push_back(i);
        }
    }
    if (positions.empty()) {
        engine.log.Trace(u"Done", kProcedure);
        return 0;
    }

    if (column >= 0 && column < kColumnCount) {
        // Descending swaps the operands rather than reversing an ascending result, so that
        // equal keys keep their previous order in both directions.
        const bool descending = direction == kSortDescending;
        entries.stableSortAt(positions, [&](const Entry& a, const Entry& b) {
            return descending ? compareEntries(b, a, column) < 0 : compareEntries(a, b, column) < 0;
        });
    }

    engine.desktop.RefreshEntryList();
    engine.log.Trace(u"Done", kProcedure);
    return 0;
}

std::int32_t NextSortDirection(Settings& settings, int column) {
    if (column < 0 || column >= kColumnCount) {
        return kSortAscending;
    }
    std::int32_t& flag = settings.SortDirections[column];
    if (flag == 0) {
        flag = 1;
        return kSortAscending;
    }
    flag = 0;
    return kSortDescending;
}

}  // namespace vlt
