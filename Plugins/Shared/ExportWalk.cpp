#include "ExportWalk.h"

#include <cmath>

namespace vlt::plugin {

void Progress::step() {
    // nearbyint rounds half to even in the default rounding mode.
    const double position = std::nearbyint(count_ / total_ * 100.0);
    if (show_ && std::isfinite(position)) {
        show_(static_cast<int>(position));
    }
    count_ += 1;
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
    for (std::int32_t group : scope.groups) {
        const std::int32_t count = records.countEntries();
        for (std::int32_t i = 0; i < count; ++i) {
            const VLT_Entry* entry = records.nextEntry();
            if (entry != nullptr && entry->GroupID == group) {
                write(*entry);
            }
            progress.step();
        }
    }
}

}  // namespace vlt::plugin
