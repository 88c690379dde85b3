#pragma once
// Attaching files to an entry, removing them, and extracting them again, each extracted file
// checked against the MD5 stored when it was attached. The entry editor adds, deletes and saves
// the rows of its attachment list; the main window saves every attachment of the selected row's
// entry. Files are chosen through the Desktop's requesters.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/vault/Records.h"
#include "engine/vault/Vault.h"

namespace vlt {

struct Engine;

// What the entry editor remembers between its attachment commands: whether Add accepts files
// (its last answer to the large-file question carries over to later Adds), and the attachments
// added since the editor opened, which Cancel in add mode removes again.
struct AttachmentEditing {
    std::int32_t AcceptFlag = 0;
    std::vector<std::int32_t> Added;
};

// One row of the editor's attachment list.
struct AttachmentRow {
    std::int32_t ID = 0;
    std::u16string FileName;
    std::u16string Size;  // FormatByteSize with 2 decimals
    std::u16string MD5;
};

AttachmentRow AttachmentRowOf(const Attachment& attachment);
// The rows of the entry's attachments, in the vault's order.
std::vector<AttachmentRow> AttachmentRows(const Vault& vault, std::int32_t entryId);

// Starts the editor's attachment state afresh; the editor calls it when it opens.
void Attachment_BeginEditing(Engine& engine);
// Asks for files and attaches them to the entry `entryId`, handing each added one's row to
// `added` as it goes (before the summary is shown). The number of files added.
int Attachment_Add(Engine& engine, std::int32_t entryId,
                   const std::function<void(const AttachmentRow&)>& added);
// Deletes the ticked attachments of a list of `rowCount` rows after asking; `ticked` in row
// order. The IDs removed.
std::vector<std::int32_t> Attachment_Delete(Engine& engine, int rowCount,
                                            const std::vector<std::int32_t>& ticked);
// Extracts the ticked attachments of a list of `rowCount` rows into a folder the user chooses.
// The number of files written and verified.
int Attachment_Save(Engine& engine, int rowCount, const std::vector<std::int32_t>& ticked);
// Cancel in add mode: removes what Add attached since the editor opened.
void Attachment_CancelAdded(Engine& engine);

// The main window's command: extracts every attachment of the selected row's entry into a
// folder the user chooses. Returns 0.
int SaveAttachments(Engine& engine);

// 1 when a previewer's comma-separated extension list covers `extension` (given without a
// dot): a field equal to it, ignoring case and outer blanks, or "*"; also when either is empty.
int ExtensionMatches(std::u16string_view list, std::u16string_view extension);

}  // namespace vlt
