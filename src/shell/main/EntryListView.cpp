#include "shell/main/EntryListView.h"

#include <QDrag>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>

#include "shell/main/EntryListHeader.h"
#include "shell/main/RowSelection.h"

namespace vlt {

EntryListView::EntryListView(QWidget* parent) : QTableView(parent) {
    setObjectName(QStringLiteral("entryList"));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setHorizontalHeader(new EntryListHeader(this));
    verticalHeader()->hide();
    // Fixed row heights keep very long lists fast to lay out and scroll.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

EntryListHeader* EntryListView::header() const {
    return static_cast<EntryListHeader*>(horizontalHeader());
}

int EntryListView::currentRow() const {
    // Qt keeps a current index of its own that need not be selected: a click on blank space
    // deselects all but leaves it, and the list gaining the focus puts it on the first row. A row
    // nobody sees selected must not be stamped, shown or edited.
    const QItemSelection selected = selectionModel()->selection();
    const QModelIndex current = currentIndex();
    if (current.isValid() && IsRowSelected(selected, current.row())) {
        return current.row();
    }
    return FirstSelectedRow(selected);
}

void EntryListView::selectOnly(int row) {
    const QModelIndex index = model()->index(row, 0);
    if (!index.isValid()) {
        selectionModel()->clearSelection();
        return;
    }
    selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

int EntryListView::selectedRowCount() const {
    return SelectedRowCount(selectionModel()->selection());
}

void EntryListView::toggleColumn(int column, ColumnSetting& setting) {
    if (setting.Show == 0) {
        setting.Show = 1;
        setColumnHidden(column, false);
        setColumnWidth(column, setting.Size);
    } else {
        setting.Show = 0;
        setting.Size = columnWidth(column);
        setColumnHidden(column, true);
    }
}

void EntryListView::fitColumns() {
    const int width = (viewport()->width() - 5) / 4;
    for (int c = 0; c < kColumnCount; ++c) {
        if (!isColumnHidden(c)) {
            setColumnWidth(c, width);
        }
    }
}

void EntryListView::mousePressEvent(QMouseEvent* event) {
    pressPosition_ = event->position().toPoint();
    QTableView::mousePressEvent(event);
    // A press on blank space deselects only when the button is released; it is no event of the
    // row that is still selected until then.
    if (indexAt(pressPosition_).isValid()) {
        emit touched();
    }
}

void EntryListView::startDrag(Qt::DropActions) {
    emit touched();
    const QModelIndex index = indexAt(pressPosition_);
    if (!index.isValid() || !dragText) {
        return;
    }
    const QString text = dragText(index);
    if (text.isEmpty()) {
        return;
    }
    auto* mime = new QMimeData;
    mime->setText(text);
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

}  // namespace vlt
