#pragma once
// What an export covers, its progress, and the entry walk most writers share.

#include <cstdint>
#include <functional>
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
// passes 100 when records are visited more than once, and the bar then simply stays full.
class Progress {
  public:
    Progress(double total, std::function<void(int)> show) : total_(total), show_(std::move(show)) {}
    void step();

  private:
    double total_;
    double count_ = 1;
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

// The entry walk of the writers that list entries only: every entry in the host's order, or per
// ticked group the entries filed under it. Progress moves after every entry visited.
void WalkEntries(RecordSource& records, const ExportScope& scope, Progress& progress,
                 const std::function<void(const VLT_Entry&)>& write);

}  // namespace vlt::plugin
