#include "ExportWalk.h"

#include <algorithm>
#include <climits>

namespace vlt::plugin {

Progress::Progress(std::int64_t total, std::function<void(int)> show)
    : total_(total), show_(std::move(show)) {
    if (total_ > 0) {
        stepWhole_ = 100 / total_;
        stepRest_ = 100 % total_;
        // The count starts at 1.
        whole_ = stepWhole_;
        rest_ = stepRest_;
    }
}

int Progress::position() const {
    const std::int64_t twice = 2 * rest_;
    const bool up = twice > total_ || (twice == total_ && whole_ % 2 == 1);
    return static_cast<int>(std::min<std::int64_t>(whole_ + (up ? 1 : 0), INT_MAX));
}

EntryIndex::EntryIndex(RecordSource& records) : count_(records.countEntries()) {
    for (std::int32_t i = 0; i < count_; ++i) {
        if (const VLT_Entry* entry = records.nextEntry()) {
            byGroup_[entry->GroupID].push_back(entry);
        }
    }
}

const std::vector<const VLT_Entry*>& EntryIndex::under(std::int32_t group) const {
    static const std::vector<const VLT_Entry*> none;
    const auto found = byGroup_.find(group);
    return found != byGroup_.end() ? found->second : none;
}

void StepOverEntries(const EntryIndex& index, Progress& progress) {
    for (std::int32_t i = 0; i < index.count(); ++i) {
        progress.step();
    }
}

void WalkEntries(RecordSource& records, const ExportScope& scope, Progress& progress,
                 const std::function<void(const VLT_Entry&)>& write) {
    if (scope.whole) {
        const std::int32_t count = records.countEntries();
        for (std::int32_t i = 0; i < count; ++i) {
            if (const VLT_Entry* entry = records.nextEntry()) {
                write(*entry);
            }
            progress.step();
        }
        return;
    }
    if (scope.groups.empty()) {
        return;
    }
    const EntryIndex index(records);
    for (std::int32_t group : scope.groups) {
        for (const VLT_Entry* entry : index.under(group)) {
            write(*entry);
        }
        StepOverEntries(index, progress);
    }
}

}  // namespace vlt::plugin
