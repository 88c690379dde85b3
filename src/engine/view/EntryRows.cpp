#include "engine/view/EntryRows.h"

#include <ctime>
#include <iterator>
#include <unordered_map>
#include <utility>

#include "common/Trim.h"
#include "engine/text/Misc.h"
#include "engine/vault/Engine.h"
#include "engine/vault/Vault.h"

namespace vlt {

namespace {

constexpr int kPrefetchAhead = 16;
constexpr std::uint32_t kAttachedFilterBits = 1u << 16;

// One entry's summary is built by adding each file name with addName, in list order, and
// finishing the result with finishNames; the same rules serve a single entry and a whole list.
void addName(std::u16string& names, std::u16string_view fileName) {
    names += fileName;
    names += u", ";
}

std::u16string finishNames(std::u16string_view names) {
    std::u16string text(trimBlanks(names));
    if (!text.empty() && text.back() == u',') {
        text.pop_back();
    }
    return text;
}

// The mask shows a fixed width so that it gives nothing away about the value's length.
const std::u16string& maskedCell() {
    static const std::u16string mask = MaskText(u"     ");
    return mask;
}

bool masked(const MaskFields& masks, int column) {
    switch (column) {
        case kColAccounts:
            return masks.Accounts == 1;
        case kColUserNames:
            return masks.UserNames == 1;
        case kColPasswords:
            return masks.Passwords == 1;
        case kColURLs:
            return masks.URLs == 1;
        default:
            return false;
    }
}

// The stored text of one of the first four columns.
std::u16string_view storedText(const Entry& entry, int column) {
    const std::u16string_view texts[] = {entry.Account, entry.User, entry.Password.view(),
                                         entry.URL};
    return texts[column];
}

}  // namespace

std::u16string EntryDateText(std::int32_t date) {
    // A list refresh formats four dates per row, so this fills a fixed pattern instead of going
    // through the general mask formatter, which is several times slower. An int32 date always
    // has a four-digit year.
    const std::time_t time = date;
    std::tm parts{};
    gmtime_r(&time, &parts);
    const int year = parts.tm_year + 1900;
    const int fields[] = {parts.tm_mon + 1, parts.tm_mday, year / 100,  year % 100,
                          parts.tm_hour,    parts.tm_min,  parts.tm_sec};
    static constexpr std::size_t kOffsets[] = {0, 3, 6, 8, 11, 14, 17};
    std::u16string text = u"00/00/0000 00:00:00";
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        text[kOffsets[i]] = static_cast<char16_t>(u'0' + fields[i] / 10);
        text[kOffsets[i] + 1] = static_cast<char16_t>(u'0' + fields[i] % 10);
    }
    return text;
}

bool EntryExpired(const Entry& entry, std::int32_t now) {
    return entry.Expires == 1 && now >= entry.ExpirationDate;
}

std::u16string AttachmentSummary(const RecordList<Attachment>& attachments, std::int32_t entryId) {
    bool any = false;
    std::u16string names;
    for (const Attachment& attachment : attachments) {
        if (attachment.EntryID == entryId) {
            any = true;
            addName(names, attachment.FileName);
        }
    }
    return any ? finishNames(names) : kNoAttachments;
}

AttachmentSummaries::AttachmentSummaries(const RecordList<Attachment>& attachments)
    : mayHave_(kAttachedFilterBits) {
    for (const Attachment& attachment : attachments) {
        addName(names_[attachment.EntryID], attachment.FileName);
        mayHave_[static_cast<std::uint32_t>(attachment.EntryID) % kAttachedFilterBits] = true;
    }
}

std::optional<std::u16string> AttachmentSummaries::find(std::int32_t entryId) const {
    if (!mayHave_[static_cast<std::uint32_t>(entryId) % kAttachedFilterBits]) {
        return std::nullopt;
    }
    auto found = names_.find(entryId);
    if (found == names_.end()) {
        return std::nullopt;
    }
    return finishNames(found->second);
}

const EntryRow* EntryRows::row(int at) const {
    return at >= 0 && at < count() ? &rows[static_cast<std::size_t>(at)] : nullptr;
}

const Entry* EntryRows::entry(const Vault& vault, int at) const {
    const EntryRow* shown = row(at);
    if (shown == nullptr || shown->index < 0 || shown->index >= vault.Entries.count()) {
        return nullptr;
    }
    const Entry& found = vault.Entries.at(shown->index);
    return found.ID == shown->id ? &found : nullptr;
}

Entry* EntryRows::entry(Vault& vault, int at) const {
    return const_cast<Entry*>(entry(static_cast<const Vault&>(vault), at));
}

SecureText EntryRows::cellText(const Vault& vault, int at, int column,
                               const MaskFields& masks) const {
    const EntryRow* shown = row(at);
    const Entry* source = entry(vault, at);
    if (shown == nullptr || source == nullptr) {
        return {};
    }
    switch (column) {
        case kColAccounts:
        case kColUserNames:
        case kColPasswords:
        case kColURLs:
            return SecureText(masked(masks, column) ? std::u16string_view(maskedCell())
                                                    : storedText(*source, column));
        case kColAttachments:
            return SecureText(
                shown->summary >= 0
                    ? std::u16string_view(summaries[static_cast<std::size_t>(shown->summary)])
                    : std::u16string_view(kNoAttachments));
        case kColCreationDates:
            return SecureText(EntryDateText(shown->creationDate));
        case kColAccessDates:
            return SecureText(EntryDateText(shown->accessDate));
        case kColModificationDates:
            return SecureText(EntryDateText(shown->modificationDate));
        case kColExpirationDates:
            return SecureText(shown->expires ? EntryDateText(shown->expirationDate) : u"Never");
        default:
            return {};
    }
}

SecureText EntryRows::dragText(const Engine& engine, int at, int column) const {
    if (engine.busy()) {
        return {};
    }
    if (column >= kColAccounts && column <= kColURLs) {
        const Entry* source = entry(engine.vault, at);
        return source != nullptr ? SecureText(storedText(*source, column)) : SecureText();
    }
    return cellText(engine.vault, at, column, engine.settings.Mask);
}

EntryRows BuildEntryRows(const Vault& vault, std::int32_t groupId, std::int32_t viewFilter,
                         std::int32_t now) {
    const AttachmentSummaries attached(vault.Attachments);
    EntryRows list;
    const int count = vault.Entries.count();
    // Room for the largest group: pages a smaller group leaves unused are never touched.
    list.rows.reserve(static_cast<std::size_t>(count));
    for (int index = 0; index < count; ++index) {
        // The records lie scattered over the heap: asking for them well ahead overlaps the
        // waits for memory instead of taking them one after another.
        if (index + kPrefetchAhead < count) {
            // A row reads the record's head and its numbers at the far end, lines apart.
            const Entry& ahead = vault.Entries.at(index + kPrefetchAhead);
            __builtin_prefetch(&ahead);
            __builtin_prefetch(&ahead.Expires);
            __builtin_prefetch(&ahead.ExpirationDate);
        }
        const Entry& entry = vault.Entries.at(index);
        if (entry.GroupID != groupId || (viewFilter == 1 && !EntryExpired(entry, now))) {
            continue;
        }
        EntryRow& row = list.rows.emplace_back();
        row.id = entry.ID;
        row.index = index;
        if (std::optional<std::u16string> summary = attached.find(entry.ID)) {
            row.summary = static_cast<std::int32_t>(list.summaries.size());
            list.summaries.push_back(std::move(*summary));
        }
        row.creationDate = entry.CreationDate;
        row.accessDate = entry.AccessDate;
        row.modificationDate = entry.ModificationDate;
        row.expirationDate = entry.ExpirationDate;
        row.expires = entry.Expires == 1;
        row.expired = EntryExpired(entry, now);
        row.customForeground = entry.CustomForeground == 1;
        row.foreground = entry.ForegroundColor;
        row.customBackground = entry.CustomBackground == 1;
        row.background = entry.BackgroundColor;
    }
    return list;
}

EntryRows BuildEntryRows(const Engine& engine, std::int32_t groupId) {
    return BuildEntryRows(engine.vault, groupId, engine.ViewFilter, engine.clock());
}

}  // namespace vlt
