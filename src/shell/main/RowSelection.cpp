#include "shell/main/RowSelection.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace vlt {

int SelectedRowCount(const QItemSelection& selection) {
    std::vector<std::pair<int, int>> spans;
    spans.reserve(static_cast<std::size_t>(selection.size()));
    for (const QItemSelectionRange& range : selection) {
        if (range.isValid()) {
            spans.emplace_back(range.top(), range.bottom());
        }
    }
    std::sort(spans.begin(), spans.end());
    int count = 0;
    int covered = -1;  // the last row counted so far
    for (const auto& [top, bottom] : spans) {
        if (bottom > covered) {
            count += bottom - std::max(top, covered + 1) + 1;
            covered = bottom;
        }
    }
    return count;
}

std::vector<int> SelectedRows(const QItemSelection& selection) {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selection) {
        for (int row = range.top(); range.isValid() && row <= range.bottom(); ++row) {
            rows.push_back(row);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int FirstSelectedRow(const QItemSelection& selection) {
    int first = -1;
    for (const QItemSelectionRange& range : selection) {
        if (range.isValid() && (first < 0 || range.top() < first)) {
            first = range.top();
        }
    }
    return first;
}

bool IsRowSelected(const QItemSelection& selection, int row) {
    return std::any_of(selection.begin(), selection.end(), [row](const QItemSelectionRange& r) {
        return r.isValid() && r.top() <= row && row <= r.bottom();
    });
}

}  // namespace vlt
