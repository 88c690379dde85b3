#pragma once
// What an export covers, its progress, and the entry walk most writers share.

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "ExportOutput.h"
#include "RecordSource.h"

namespace vlt::plugin {

// The whole vault, or the groups ticked in the window's list, in the list's order.
struct ExportScope {
    bool whole = true;
    std::vector<std::int32_t> groups;
};

// Counts the records visited and shows count / total as a percentage rounded half to even; it
// passes 100 when records are visited more than once, and the bar then simply stays full. A walk
// steps once per record visited, hundreds of millions of times in a large export: the percentage
// is kept as a quotient and remainder that each step only adds to, and it is shown only when it
// changes, so that a long walk does not flood the window either.
class Progress {
  public:
    Progress(std::int64_t total, std::function<void(int)> show);
    void step() {
        if (show_ && total_ > 0) {
            if (const int position = this->position(); position != shown_) {
                shown_ = position;
                show_(position);
            }
        }
        whole_ += stepWhole_;
        rest_ += stepRest_;
        if (rest_ >= total_) {
            rest_ -= total_;
            ++whole_;
        }
    }

  private:
    int position() const;

    std::int64_t total_;
    std::int64_t stepWhole_ = 0;  // 100 = stepWhole_ * total_ + stepRest_
    std::int64_t stepRest_ = 0;
    std::int64_t whole_ = 0;  // 100 * count = whole_ * total_ + rest_
    std::int64_t rest_ = 0;
    int shown_ = -1;
    std::function<void(int)> show_;
};

// Everything a writer needs; `now` is the current date (seconds of the local wall clock).
struct ExportJob {
    RecordSource& records;
    const ExportScope& scope;
    ExportOutput& out;
    std::function<void(int)> showProgress;
    std::int32_t now = 0;
};

using ExportWriter = void (*)(ExportJob& job);

// Every entry of the vault, taken in one walk and filed by group ID in the host's order. A writer
// that lists the entries of each group in turn looks them up here rather than walking the whole
// entry list once per group: with a thousand groups that was a thousand walks.
class EntryIndex {
  public:
    explicit EntryIndex(RecordSource& records);
    const std::vector<const VLT_Entry*>& under(std::int32_t group) const;
    // The length of the host's entry list: the records one walk of it visits.
    std::int32_t count() const { return count_; }

  private:
    std::unordered_map<std::int32_t, std::vector<const VLT_Entry*>> byGroup_;
    std::int32_t count_ = 0;
};

// Steps the progress once per entry of a walk over the whole list, as if it had been walked.
void StepOverEntries(const EntryIndex& index, Progress& progress);

// The entry walk of the writers that list entries only: every entry in the host's order, or per
// ticked group the entries filed under it. Progress moves after every entry visited.
void WalkEntries(RecordSource& records, const ExportScope& scope, Progress& progress,
                 const std::function<void(const VLT_Entry&)>& write);

}  // namespace vlt::plugin
