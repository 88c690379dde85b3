#include "shell/main/EntryListHeader.h"

namespace vlt {

EntryListHeader::EntryListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setObjectName(QStringLiteral("entryListHeader"));
    setSortIndicatorShown(false);
}

void EntryListHeader::showSortArrow(int section, QStyleOptionHeader::SortIndicator arrow) {
    arrowSection_ = section;
    arrow_ = arrow;
    viewport()->update();
}

void EntryListHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const {
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    option->sortIndicator = logicalIndex == arrowSection_ ? arrow_ : QStyleOptionHeader::None;
}

}  // namespace vlt
