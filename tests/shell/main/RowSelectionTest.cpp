#include <gtest/gtest.h>

#include <QStandardItemModel>

#include "shell/main/RowSelection.h"

namespace vlt {
namespace {

TEST(RowSelection, RowsCoveredByOverlappingOrSplitRangesCountOnce) {
    QStandardItemModel model(20, 9);
    auto rows = [&](int top, int bottom, int left = 0, int right = 8) {
        return QItemSelectionRange(model.index(top, left), model.index(bottom, right));
    };
    QItemSelection selection;
    EXPECT_EQ(SelectedRowCount(selection), 0);
    EXPECT_EQ(FirstSelectedRow(selection), -1);

    selection << rows(4, 9) << rows(2, 5) << rows(12, 12, 0, 3) << rows(12, 12, 4, 8) << rows(7, 8)
              << rows(19, 19);
    EXPECT_EQ(SelectedRowCount(selection), 8 + 1 + 1);  // rows 2-9, 12 and 19
    EXPECT_EQ(FirstSelectedRow(selection), 2);
    EXPECT_TRUE(IsRowSelected(selection, 9));
    EXPECT_TRUE(IsRowSelected(selection, 12));
    EXPECT_FALSE(IsRowSelected(selection, 10));
    EXPECT_FALSE(IsRowSelected(selection, 1));
}

}  // namespace
}  // namespace vlt
