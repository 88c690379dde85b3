#pragma once
// The rows of the main window's entry list, built from the vault without any toolkit. A row keeps
// where its entry stands and the numbers it was built with, not the entry's texts: a cell's text
// is made from the live entry when the cell is shown. Building the list thus copies no text (and
// no password), and only the cells on screen are ever formatted.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/settings/Settings.h"
#include "engine/vault/RecordList.h"
#include "engine/vault/Records.h"

namespace vlt {

struct Engine;
struct Vault;

inline constexpr std::array<std::u16string_view, kColumnCount> kColumnTitles = {
    u"Account", u"User name", u"Password", u"URL",     u"Attachments",
    u"Created", u"Accessed",  u"Modified", u"Expires",
};

struct EntryRow {
    std::int32_t id = 0;        // the entry's ID, the row's item data
    std::int32_t index = -1;    // the entry's index in Entries when the row was built
    std::int32_t summary = -1;  // its attachment summary in EntryRows::summaries, -1 for none
    // The dates as they were when the row was built (the list shows them so until the next
    // rebuild, also after selecting the row stamps a new access date).
    std::int32_t creationDate = 0;
    std::int32_t accessDate = 0;
    std::int32_t modificationDate = 0;
    std::int32_t expirationDate = 0;
    bool expires = false;  // the expiry column shows the date, not "Never"
    bool expired = false;  // drawn with the expired image
    bool customForeground = false;
    bool customBackground = false;
    std::int32_t foreground = 0;  // 0x00BBGGRR
    std::int32_t background = 0;  // 0x00BBGGRR
};

// The entry list of one group.
struct EntryRows {
    std::vector<EntryRow> rows;
    // The attachment summaries of the listed entries that have attachments.
    std::vector<std::u16string> summaries;

    int count() const { return static_cast<int>(rows.size()); }
    const EntryRow* row(int at) const;

    // The entry shown in that row, found where the row was built; nullptr when the row does not
    // exist or that entry has gone from there (the list was not rebuilt after a change).
    Entry* entry(Vault& vault, int at) const;
    const Entry* entry(const Vault& vault, int at) const;

    // The cell's text as the list shows it; "" when the row's entry has gone. A masked column
    // never reads the entry; the text is wiped when dropped, as it may be a password.
    SecureText cellText(const Vault& vault, int at, int column, const MaskFields& masks) const;

    // The text a drag from the cell carries: the stored account, user name, password or URL in
    // those columns (also when the column is masked), the shown text in the others. "" (no drag)
    // when the row's entry has gone, and while the engine is busy: a load or a plugin run may be
    // rebuilding the vault the row points into.
    SecureText dragText(const Engine& engine, int at, int column) const;
};

// "mm/dd/yyyy hh:ii:ss", the form every date takes in the list and in copied dates.
std::u16string EntryDateText(std::int32_t date);

// Whether the entry counts as expired at `now`; an expiry moment of exactly now has passed.
bool EntryExpired(const Entry& entry, std::int32_t now);

// The summary of an entry without attachments.
inline constexpr char16_t kNoAttachments[] = u"No attachments";

// The file names of the entry's attachments in list order, separated by ", ", or
// kNoAttachments. This is also what an added or edited entry stores in AttachmentNames.
std::u16string AttachmentSummary(const RecordList<Attachment>& attachments, std::int32_t entryId);

// Every entry's attachment summary from one pass over the attachments, for walks over many
// entries: AttachmentSummary alone passes over all of them for each entry.
class AttachmentSummaries {
  public:
    explicit AttachmentSummaries(const RecordList<Attachment>& attachments);

    // AttachmentSummary(attachments, entryId) for an entry that has attachments; nullopt for one
    // without, whose summary is kNoAttachments.
    std::optional<std::u16string> find(std::int32_t entryId) const;

  private:
    // Each entry's file names, each followed by ", ".
    std::unordered_map<std::int32_t, std::u16string> names_;
    // Most entries have no attachment: a bit per low ID bits answers most of them without a
    // lookup in the map.
    std::vector<bool> mayHave_;
};

// The rows of one group's entries in list order; with viewFilter 1 only the expired ones.
// One pass over Attachments and one over Entries, whatever their sizes.
EntryRows BuildEntryRows(const Vault& vault, std::int32_t groupId, std::int32_t viewFilter,
                         std::int32_t now);
// The same with the engine's view filter and clock.
EntryRows BuildEntryRows(const Engine& engine, std::int32_t groupId);

}  // namespace vlt
