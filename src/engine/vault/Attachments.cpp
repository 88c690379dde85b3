#include "engine/vault/Attachments.h"

#include <sys/stat.h>

#include <cmath>
#include <new>
#include <optional>

#include "common/AsciiCase.h"
#include "common/Trim.h"
#include "common/Utf.h"
#include "engine/crypto/MD5.h"
#include "engine/text/Misc.h"
#include "engine/text/Text.h"
#include "engine/vault/AttachmentFiles.h"
#include "engine/vault/Engine.h"
#include "engine/view/EntryList.h"

namespace vlt {

namespace {

constexpr std::int64_t kLargeFile = 2'097'152;

Attachment* findAttachment(Vault& vault, std::int32_t id, int* index = nullptr) {
    for (int i = 0; i < vault.Attachments.count(); ++i) {
        if (vault.Attachments.at(i).ID == id) {
            if (index != nullptr) {
                *index = i;
            }
            return &vault.Attachments.at(i);
        }
    }
    return nullptr;
}

void removeAttachment(Engine& engine, std::int32_t id) {
    int index = -1;
    if (findAttachment(engine.vault, id, &index) == nullptr) {
        return;
    }
    engine.ids.ID_Free(id);
    engine.vault.Attachments.select(index);
    engine.vault.Attachments.deleteCurrent();  // the content block is wiped as it goes
}

void information(Engine& engine, std::u16string_view text) {
    engine.desktop.Message(u"Information", text, MessageIcon::Information);
}

// The editor's precondition for Delete and Save; false after telling the user.
bool checkTicked(Engine& engine, int rowCount, const std::vector<std::int32_t>& ticked) {
    if (rowCount <= 0) {
        information(engine, u"There are no attachments in the list.");
        return false;
    }
    if (ticked.empty()) {
        information(engine, u"Please check some items from the list and try again.");
        return false;
    }
    return true;
}

// Attaches one chosen file when the accept flag allows; true when it was added.
bool addFile(Engine& engine, std::int32_t entryId, const std::u16string& path,
             const std::function<void(const AttachmentRow&)>& added) {
    Desktop& desktop = engine.desktop;
    AttachmentEditing& editing = engine.AttachmentEdit;
    const std::string file = toUtf8(path);
    const std::u16string name = fileNamePart(path);
    const std::int64_t size = AttachableFileSize(file);
    if (size <= 0) {
        return false;
    }
    if (size > kMaxAttachmentSize) {
        // The container keeps sizes as int32: such a file could never be stored.
        desktop.Message(u"Warning",
                        u"The file \"" + name + u"\" is 2 GB or bigger and cannot be attached.",
                        MessageIcon::Warning);
        return false;
    }
    if (size > kLargeFile) {
        editing.AcceptFlag =
            desktop.AskYesNo(u"Warning",
                             u"The file \"" + name +
                                 u"\" is bigger than 2 MB. It is recommended to add smaller "
                                 u"files or the program might be slow. Are you sure you want to "
                                 u"attach this file?",
                             MessageIcon::Warning)
                ? 1
                : 0;
    } else {
        editing.AcceptFlag = 1;
    }
    if (editing.AcceptFlag != 1) {
        return false;
    }
    Attachment attachment;
    try {
        attachment.Data = SecureBuffer(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        desktop.Message(u"Warning", u"Error allocating memory!", MessageIcon::Warning);
        return false;
    }
    if (!ReadFileInto(file, attachment.Data)) {
        return false;
    }
    attachment.ID = engine.ids.ID_New();
    attachment.EntryID = entryId;
    attachment.FileName = name;
    attachment.Size = static_cast<std::int32_t>(size);
    attachment.Attributes = FileAttributeBits(file);
    attachment.MD5 = MD5Hex(attachment.Data.bytes());
    const Attachment& record = engine.vault.Attachments.addAfter(std::move(attachment));
    editing.Added.push_back(record.ID);
    if (added) {
        added(AttachmentRowOf(record));
    }
    return true;
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Writes one attachment into `folder` (ending in '/'); true when written and verified.
bool extractOne(Engine& engine, const Attachment& attachment, const std::u16string& folder) {
    Desktop& desktop = engine.desktop;
    const std::optional<std::string> name = SafeFileName(attachment.FileName);
    if (!name) {
        return false;  // a name that would leave the folder is never written
    }
    const std::u16string target = folder + fromUtf8(*name);
    const std::string targetFile = toUtf8(target);
    if (PathTaken(targetFile) &&
        !desktop.AskYesNo(u"Please confirm",
                          u"The following file already exists:\r\n\r\n" + target +
                              u"\r\n\r\nWould you like to replace it?",
                          MessageIcon::Question)) {
        return false;
    }
    if (!WriteAttachmentFile(targetFile, attachment.Data.bytes(), attachment.Attributes)) {
        return false;
    }
    if (FileMD5Hex(targetFile) == attachment.MD5) {
        return true;
    }
    desktop.Message(
        u"Error",
        u"MD5 integrity error while extracting the following file: \r\n\r\n" + target + u".",
        MessageIcon::Error);
    return false;
}

// Extracts the attachments `ids` into a folder the user chooses. `accessed`, when given, is the
// entry stamped as used for each file. Says when the folder is not one only from the editor.
void extract(Engine& engine, const std::vector<std::int32_t>& ids, std::int32_t accessed,
             bool fromEditor) {
    Desktop& desktop = engine.desktop;
    std::u16string folder =
        desktop.PathRequester(u"Please choose an output path for the attachments to be saved:");
    if (folder.empty()) {
        return;
    }
    if (folder.back() != u'/') {
        folder += u'/';
    }
    if (!isFolder(toUtf8(folder))) {
        if (fromEditor) {
            desktop.Message(u"Warning", u"Please choose a valid directory!", MessageIcon::Warning);
        }
        return;
    }
    desktop.Progress_Open(u"Save attachments", u"Please wait while the files are extracted...");
    const int total = static_cast<int>(ids.size());
    int written = 0;
    for (std::int32_t id : ids) {
        if (accessed != 0) {
            for (Entry& entry : engine.vault.Entries) {
                if (entry.ID == accessed) {
                    entry.AccessDate = engine.clock();
                }
            }
        }
        const Attachment* attachment = findAttachment(engine.vault, id);
        if (attachment != nullptr && extractOne(engine, *attachment, folder)) {
            ++written;
        }
        desktop.Progress_Update(static_cast<int>(std::lround(written * 100.0 / total)));
    }
    desktop.Progress_Update(0);
    desktop.Progress_Close();
    desktop.Message(u"Files extracted",
                    u"Attachment extraction finished. " + decimal(written) + u" of " +
                        decimal(total) + u" files extracted successfully.",
                    MessageIcon::Information);
}

}  // namespace

AttachmentRow AttachmentRowOf(const Attachment& attachment) {
    return {attachment.ID, attachment.FileName, FormatByteSize(attachment.Size, 2), attachment.MD5};
}

std::vector<AttachmentRow> AttachmentRows(const Vault& vault, std::int32_t entryId) {
    std::vector<AttachmentRow> rows;
    for (const Attachment& attachment : vault.Attachments) {
        if (attachment.EntryID == entryId) {
            rows.push_back(AttachmentRowOf(attachment));
        }
    }
    return rows;
}

void Attachment_BeginEditing(Engine& engine) {
    engine.AttachmentEdit = {};
}

int Attachment_Add(Engine& engine, std::int32_t entryId,
                   const std::function<void(const AttachmentRow&)>& added) {
    const std::vector<std::u16string> paths =
        engine.desktop.OpenFilesRequester(u"Please choose file", u"All files (*.*)|*.*");
    int tried = 0;
    int count = 0;
    for (const std::u16string& path : paths) {
        ++tried;
        if (addFile(engine, entryId, path, added)) {
            ++count;
        }
    }
    if (!paths.empty() && engine.AttachmentEdit.AcceptFlag == 1) {
        engine.desktop.Message(u"Files added",
                               u"Attachment insertion finished. " + decimal(count) + u" of " +
                                   decimal(tried) + u" files added successfully.",
                               MessageIcon::Information);
    }
    return count;
}

std::vector<std::int32_t> Attachment_Delete(Engine& engine, int rowCount,
                                            const std::vector<std::int32_t>& ticked) {
    std::vector<std::int32_t> removed;
    if (!checkTicked(engine, rowCount, ticked) ||
        !engine.desktop.AskYesNo(u"Please confirm",
                                 u"Are you sure you want to delete the selected attachments?",
                                 MessageIcon::Question)) {
        return removed;
    }
    for (auto id = ticked.rbegin(); id != ticked.rend(); ++id) {
        removeAttachment(engine, *id);
        removed.push_back(*id);
    }
    return removed;
}

int Attachment_Save(Engine& engine, int rowCount, const std::vector<std::int32_t>& ticked) {
    if (!checkTicked(engine, rowCount, ticked)) {
        return 0;
    }
    extract(engine, std::vector<std::int32_t>(ticked.rbegin(), ticked.rend()), 0, true);
    return 1;
}

void Attachment_CancelAdded(Engine& engine) {
    for (std::int32_t id : engine.AttachmentEdit.Added) {
        removeAttachment(engine, id);
    }
    engine.AttachmentEdit.Added.clear();
}

int SaveAttachments(Engine& engine) {
    constexpr std::string_view kProc = "SaveAttachments";
    engine.log.Trace(u"Saving attachments", kProc);
    if (engine.desktop.ShownEntryRows().count() == 0) {
        engine.log.Trace(u"No items in the list, returning", kProc);
        return 0;
    }
    const int row = engine.desktop.SelectedEntryRow();
    if (row < 0) {
        engine.log.Trace(u"No item selected, returning", kProc);
        information(engine, u"Please select (click) an item in the list.");
        return 0;
    }
    const Entry* entry = EntryOfRow(engine, row);
    if (entry == nullptr) {
        return 0;
    }
    std::vector<std::int32_t> ids;
    for (const Attachment& attachment : engine.vault.Attachments) {
        if (attachment.EntryID == entry->ID) {
            ids.push_back(attachment.ID);
        }
    }
    if (!ids.empty()) {
        extract(engine, ids, entry->ID, false);
        engine.log.Trace(u"Returning", kProc);
    }
    return 0;
}

int ExtensionMatches(std::u16string_view list, std::u16string_view extension) {
    if (list.empty() || extension.empty()) {
        return 1;
    }
    if (list.back() == u',') {
        list.remove_suffix(1);
    }
    if (!list.empty() && list.front() == u',') {
        list.remove_prefix(1);
    }
    const std::u16string wanted = lowerAscii(trimBlanks(extension));
    while (true) {
        const std::size_t comma = list.find(u',');
        const std::u16string field = lowerAscii(trimBlanks(list.substr(0, comma)));
        if (field == wanted || field == u"*") {
            return 1;
        }
        if (comma == std::u16string_view::npos) {
            return 0;
        }
        list.remove_prefix(comma + 1);
    }
}

}  // namespace vlt
