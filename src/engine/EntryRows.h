#pragma once
// The rows of the main window's entry list, built from the vault without any toolkit. The list
// model keeps these copies, so that a plugin thread changing the records never races a repaint.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "RecordList.h"
#include "Records.h"
#include "SecureBuffer.h"
#include "Settings.h"

namespace vlt {

struct Engine;
struct Vault;

inline constexpr std::array<std::u16string_view, kColumnCount> kColumnTitles = {
    u"Account", u"User name", u"Password", u"URL",     u"Attachments",
    u"Created", u"Accessed",  u"Modified", u"Expires",
};

struct EntryRow {
    std::int32_t id = 0;  // the entry's ID, the row's item data
    std::array<std::u16string, kColumnCount> cells;
    bool expired = false;  // drawn with the expired image
    bool customForeground = false;
    std::int32_t foreground = 0;  // 0x00BBGGRR
    bool customBackground = false;
    std::int32_t background = 0;  // 0x00BBGGRR

    // An unmasked row holds a copy of the password.
    ~EntryRow() {
        wipeBytes(cells[kColPasswords].data(), cells[kColPasswords].capacity() * sizeof(char16_t));
    }
    EntryRow() = default;
    EntryRow(const EntryRow&) = default;
    EntryRow& operator=(const EntryRow&) = default;
    EntryRow(EntryRow&&) = default;
    EntryRow& operator=(EntryRow&&) = default;
};

// "mm/dd/yyyy hh:ii:ss", the form every date takes in the list and in copied dates.
std::u16string EntryDateText(std::int32_t date);

// Whether the entry counts as expired at `now`; an expiry moment of exactly now has passed.
bool EntryExpired(const Entry& entry, std::int32_t now);

// The file names of the entry's attachments in list order, separated by ", ", or
// "No attachments". This is also what an added or edited entry stores in AttachmentNames.
std::u16string AttachmentSummary(const RecordList<Attachment>& attachments, std::int32_t entryId);

// One row; `summary` is the entry's attachment summary.
EntryRow BuildEntryRow(const Entry& entry, std::u16string summary, const MaskFields& masks,
                       std::int32_t now);

// The rows of one group's entries in list order; with viewFilter 1 only the expired ones.
// One pass over Attachments and one over Entries, whatever their sizes.
std::vector<EntryRow> BuildEntryRows(const Vault& vault, std::int32_t groupId,
                                     const MaskFields& masks, std::int32_t viewFilter,
                                     std::int32_t now);
// The same with the engine's masks, view filter and clock.
std::vector<EntryRow> BuildEntryRows(const Engine& engine, std::int32_t groupId);

}  // namespace vlt
