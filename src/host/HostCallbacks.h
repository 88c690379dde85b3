#pragma once
// The functions exporters and importers call back into: read the vault through Count/Next, add
// groups and entries, ask for a password. They run on the plugin's thread while the GUI thread
// waits with the interface locked, so they are the vault's only user meanwhile. One exporter or
// importer runs at a time; its session names the engine the callbacks act on.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "PluginABI.h"
#include "engine/crypto/SecureText.h"
#include "engine/vault/Engine.h"

namespace vlt {

class CallbackSession {
  public:
    // askPassword runs the password window in the given mode on the GUI thread.
    CallbackSession(Engine& engine, std::function<SecureText(PasswordMode)> askPassword);
    ~CallbackSession();
    CallbackSession(const CallbackSession&) = delete;
    CallbackSession& operator=(const CallbackSession&) = delete;

  private:
    friend struct CallbackAccess;
    Engine& engine_;
    std::function<SecureText(PasswordMode)> askPassword_;

    // The records as plugins see them, taken by the first Count of the run; the texts point into
    // the vault's own.
    std::vector<VLT_Group> groups_;
    std::vector<VLT_Entry> entries_;
    std::vector<VLT_Attachment> attachments_;
    std::vector<SecureText> passwords_;  // NUL-terminated copies for the Entry records
    // The attachment summaries of the Entry records that have attachments; a deque, so that the
    // records' pointers stay valid while it grows.
    std::deque<std::u16string> attachmentNames_;
    std::size_t nextGroup_ = 0;
    std::size_t nextEntry_ = 0;
    std::size_t nextAttachment_ = 0;
    SecureText passwordResult_;  // the last RequestPassword answer, NUL-terminated
    // The groups an importer added, by the ID it gave them: their names and vault IDs, in order.
    struct ImportedGroup {
        std::u16string Name;
        std::int32_t ID;
    };
    std::unordered_map<std::int32_t, std::vector<ImportedGroup>> importedGroups_;
};

std::int32_t VLT_Plugin_CountGroups();
const VLT_Group* VLT_Plugin_NextGroup();
std::int32_t VLT_Plugin_CountEntries();
const VLT_Entry* VLT_Plugin_NextEntry();
std::int32_t VLT_Plugin_CountAttachments();
const VLT_Attachment* VLT_Plugin_NextAttachment();
const VLT_Char* VLT_Plugin_RequestExportPassword();
std::int32_t VLT_Plugin_AddGroup(const VLT_Char* Name, std::int32_t Icon, std::int32_t GroupID,
                                 std::int32_t Depth);
std::int32_t VLT_Plugin_AddEntry(std::int32_t ID, std::int32_t GroupID, const VLT_Char* GroupName,
                                 const VLT_Char* Account, const VLT_Char* User,
                                 const VLT_Char* Password, const VLT_Char* URL,
                                 const VLT_Char* Comment, std::int32_t Expires,
                                 std::int32_t CustomForeground, std::int32_t ForegroundColor,
                                 std::int32_t CustomBackground, std::int32_t BackgroundColor,
                                 std::int32_t CreationDate, std::int32_t AccessDate,
                                 std::int32_t ModificationDate, std::int32_t ExpirationDate);
const VLT_Char* VLT_Plugin_RequestImportPassword();

}  // namespace vlt
