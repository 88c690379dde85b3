#pragma once
// The entry list's column header. It draws the sort arrows itself: a header click shows the
// sort-up arrow after sorting ascending and the sort-down arrow after sorting descending (Qt's
// own indicator draws them the other way round), and only header clicks set them.

#include <QHeaderView>
#include <QStyleOptionHeader>
#include <vector>

namespace vlt {

class EntryListHeader : public QHeaderView {
    Q_OBJECT
  public:
    explicit EntryListHeader(QWidget* parent = nullptr);

    // Clears the arrow of every column and shows `arrow` on `section`.
    void showSortArrow(int section, QStyleOptionHeader::SortIndicator arrow);

    // What a section is painted with, its arrow included (public so that tests see it).
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;

  private:
    int arrowSection_ = -1;
    QStyleOptionHeader::SortIndicator arrow_ = QStyleOptionHeader::None;
};

}  // namespace vlt
