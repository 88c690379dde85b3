#pragma once
// Where a reader hands its records: the host's AddGroup/AddEntry in a plugin, a recorder in
// tests. Readers are Qt-free and never see the window; progress goes through the sink too.

#include <cstddef>
#include <cstdint>
#include <string>

#include "PluginABI.h"

namespace vlt::import {

// One group for AddGroup.
struct GroupRecord {
    std::u16string Name;
    std::int32_t Icon = 0;
    std::int32_t GroupID = -1;
    std::int32_t Depth = 1;
};

// One entry for AddEntry; -1 leaves the choice to the host (fresh ID, 0, or now). The secret
// fields are wiped when the record goes.
struct EntryRecord {
    EntryRecord() = default;
    EntryRecord(const EntryRecord&) = default;
    EntryRecord& operator=(const EntryRecord&) = default;
    ~EntryRecord();

    std::int32_t ID = -1;
    std::int32_t GroupID = -1;
    std::u16string GroupName;
    std::u16string Account;
    std::u16string User;
    std::u16string Password;
    std::u16string URL;
    std::u16string Comment;
    std::int32_t Expires = -1;
    std::int32_t CustomForeground = -1;
    std::int32_t ForegroundColor = -1;
    std::int32_t CustomBackground = -1;
    std::int32_t BackgroundColor = -1;
    std::int32_t CreationDate = -1;
    std::int32_t AccessDate = -1;
    std::int32_t ModificationDate = -1;
    std::int32_t ExpirationDate = -1;
};

class ImportSink {
  public:
    virtual ~ImportSink() = default;
    virtual void addGroup(const GroupRecord& group) = 0;
    virtual void addEntry(const EntryRecord& entry) = 0;
    // A random group ID 0..99,999,999 for importers that make their own groups.
    virtual std::int32_t drawGroupId() = 0;
    // The progress bar's position, 0..100.
    virtual void progress(int percent) = 0;

    // done of total records handed over: done / total x 100, rounded (halves to even).
    void progressOf(std::size_t done, std::size_t total);
};

// The sink of a running plugin: the host's callbacks, on the plugin's thread. A NUL inside a
// text would cut it short at the host, so it is handed over as U+FFFD.
class CallbackSink : public ImportSink {
  public:
    CallbackSink(VLT_AddGroupFn addGroup, VLT_AddEntryFn addEntry);
    void addGroup(const GroupRecord& group) override;
    void addEntry(const EntryRecord& entry) override;
    std::int32_t drawGroupId() override;
    void progress(int) override {}

  private:
    VLT_AddGroupFn addGroup_;
    VLT_AddEntryFn addEntry_;
};

}  // namespace vlt::import
