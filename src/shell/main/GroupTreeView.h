#pragma once
// The group tree of the main window: item 0 stands for the container, the vault's groups hang
// below it as they nest. Each item knows its index: 0 the container, i the group at index i - 1
// of the vault's groups.

#include <QTreeWidget>

#include "engine/vault/RecordList.h"
#include "engine/vault/Records.h"

namespace vlt {

class GroupTreeView : public QTreeWidget {
    Q_OBJECT
  public:
    explicit GroupTreeView(QWidget* parent = nullptr);

    // The container item's text: the file name, or "New container".
    void setRootText(const QString& text);
    // Only the container item stays.
    void clearGroups();
    // Shows these groups below the container item, expanded, with the first group selected.
    void showGroups(const RecordList<Group>& groups);

    // The selected item's index, -1 when none is selected.
    int selectedItem() const;
    // Expands every item; the current item stays current without a new selection event.
    void expandAllKeepingCurrent();
    // Expands or collapses the selected item, which stays selected; nothing when none is.
    void expandSelected(bool expand);
    // Makes item `index` current and selected without a selection event, and scrolls to it;
    // nothing when there is no such item.
    void selectItem(int index);

  private:
    QTreeWidgetItem* addRoot(const QString& text);
    QString rootText() const;
};

}  // namespace vlt
