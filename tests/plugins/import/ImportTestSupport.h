#pragma once
// A sink that keeps what a reader hands over, and the quit flag the window polls.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "ImportSink.h"

namespace vlt::import::test {

extern std::atomic<std::int32_t> quitFlag;

class RecordingSink : public ImportSink {
  public:
    void addGroup(const GroupRecord& group) override { groups.push_back(group); }
    void addEntry(const EntryRecord& entry) override { entries.push_back(entry); }
    // Hands out the queued IDs first, then 1000, 1001, ...
    std::int32_t drawGroupId() override {
        if (!idQueue.empty()) {
            const std::int32_t id = idQueue.front();
            idQueue.erase(idQueue.begin());
            return id;
        }
        return nextId++;
    }
    void progress(int percent) override { percents.push_back(percent); }

    std::vector<GroupRecord> groups;
    std::vector<EntryRecord> entries;
    std::vector<int> percents;
    std::vector<std::int32_t> idQueue;
    std::int32_t nextId = 1000;
};

}  // namespace vlt::import::test
