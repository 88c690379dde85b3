#include "shell/main/MainWindow.h"

#include "shell/main/CommentView.h"
#include "shell/main/EntryListModel.h"
#include "shell/main/EntryListView.h"
#include "shell/main/GroupTreeView.h"
#include "shell/main/MainStatusBar.h"
#include "shell/main/RowSelection.h"

namespace vlt {

void MainWindow::setStatusField(int field, const QString& text) {
    status_->setField(field, text);
}

void MainWindow::setContainerLabel(const QString& text) {
    tree_->setRootText(text);
}

void MainWindow::clearViews() {
    tree_->clearGroups();
    const QSignalBlocker blockSelection(list_->selectionModel());
    model_->clear();
    comment_->showText(u"");
}

void MainWindow::rebuildGroupTree() {
    tree_->showGroups(engine_.vault.Groups);
    updateCounts();
}

int MainWindow::selectedGroupItem() const {
    return tree_->selectedItem();
}

int MainWindow::currentRow() const {
    return list_->currentRow();
}

void MainWindow::showEntryRows(EntryRows rows, int selectRow) {
    {
        // Reselecting from code is no user event: no access date, no second refresh.
        const QSignalBlocker block(list_->selectionModel());
        model_->setRows(std::move(rows));
        if (model_->row(selectRow) != nullptr) {
            list_->selectionModel()->setCurrentIndex(
                model_->index(selectRow, 0),
                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
    }
    updateSelectionStatus();
}

void MainWindow::selectEntryRow(int row) {
    {
        const QSignalBlocker block(list_->selectionModel());
        list_->selectOnly(row);
    }
    updateSelectionStatus();
}

std::vector<int> MainWindow::selectedRows() const {
    return SelectedRows(list_->selectionModel()->selection());
}

void MainWindow::ExpandAllTreeItems() {
    tree_->expandAllKeepingCurrent();
}

void MainWindow::CollapseAllTreeItems() {
    tree_->collapseAll();
}

void MainWindow::selectGroupItem(int item) {
    tree_->selectItem(item);
    tree_->setFocus();
}

void MainWindow::expandSelectedGroup(bool expand) {
    const std::string_view procedure = expand ? "Group_Expand" : "Group_Collapse";
    engine_.log.Trace(u"Expanding group", procedure);
    tree_->expandSelected(expand);
    engine_.log.Trace(u"Done", procedure);
}

void MainWindow::updateCounts() {
    status_->setField(0, QStringLiteral("%1 groups / %2 entries")
                             .arg(engine_.vault.Groups.count())
                             .arg(engine_.vault.Entries.count()));
}

void MainWindow::showComment(std::u16string_view text) {
    comment_->showText(text);
}

void MainWindow::updateSelectionStatus() {
    status_->setField(
        1,
        QStringLiteral("%1 of %2 selected").arg(list_->selectedRowCount()).arg(model_->rowCount()));
}

}  // namespace vlt
