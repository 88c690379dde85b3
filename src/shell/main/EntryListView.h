#pragma once
// The entry list's view: a report with full-row selection whose drags carry one cell's text.

#include <QTableView>
#include <array>
#include <functional>

#include "engine/settings/Settings.h"

namespace vlt {

class EntryListHeader;

class EntryListView : public QTableView {
    Q_OBJECT
  public:
    explicit EntryListView(QWidget* parent = nullptr);

    EntryListHeader* header() const;

    // The row the user is on: Qt's current row while it is selected, else the topmost selected
    // row; -1 when nothing is selected.
    int currentRow() const;
    int selectedRowCount() const;
    // Makes the row the only selected and the current one, scrolled into view; -1 selects none.
    void selectOnly(int row);

    // Shows a hidden column at its stored width, or hides a shown one and stores its width.
    void toggleColumn(int column, ColumnSetting& setting);
    // Gives every shown column the same share of the list's width.
    void fitColumns();

    // The text a drag from that cell carries; empty starts no drag.
    std::function<QString(const QModelIndex&)> dragText;

  signals:
    // Every mouse press on a row and every drag start, before it is handled.
    void touched();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;

  private:
    QPoint pressPosition_;
};

}  // namespace vlt
