#pragma once
// What a writer reads: the host's group and entry lists, walked the way the host callbacks walk
// them (Count rewinds a list and gives its length; Next gives each record once, then null). Tests
// feed fixture records through the same interface.

#include <cstdint>

#include "PluginABI.h"

namespace vlt::plugin {

class RecordSource {
  public:
    virtual ~RecordSource() = default;
    virtual std::int32_t countGroups() = 0;
    virtual const VLT_Group* nextGroup() = 0;
    virtual std::int32_t countEntries() = 0;
    virtual const VLT_Entry* nextEntry() = 0;
};

// The host callbacks an exporter's entry export was given.
class HostRecords final : public RecordSource {
  public:
    HostRecords(VLT_CountFn countGroups, VLT_NextGroupFn nextGroup, VLT_CountFn countEntries,
                VLT_NextEntryFn nextEntry)
        : countGroups_(countGroups),
          nextGroup_(nextGroup),
          countEntries_(countEntries),
          nextEntry_(nextEntry) {}

    std::int32_t countGroups() override { return countGroups_(); }
    const VLT_Group* nextGroup() override { return nextGroup_(); }
    std::int32_t countEntries() override { return countEntries_(); }
    const VLT_Entry* nextEntry() override { return nextEntry_(); }

  private:
    VLT_CountFn countGroups_;
    VLT_NextGroupFn nextGroup_;
    VLT_CountFn countEntries_;
    VLT_NextEntryFn nextEntry_;
};

}  // namespace vlt::plugin
