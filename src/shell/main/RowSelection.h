#pragma once
// Questions about the rows of a list selection, answered from its ranges: a selection of
// 100,000 rows (Select All) costs no more than one of a single row.

#include <QItemSelection>
#include <vector>

namespace vlt {

// The number of rows that the selection touches; a row covered by several ranges counts once.
int SelectedRowCount(const QItemSelection& selection);

// The topmost selected row, -1 when nothing is selected.
int FirstSelectedRow(const QItemSelection& selection);

// The rows that the selection touches, each once, in row order.
std::vector<int> SelectedRows(const QItemSelection& selection);

// Whether the selection touches the row.
bool IsRowSelected(const QItemSelection& selection, int row);

}  // namespace vlt
