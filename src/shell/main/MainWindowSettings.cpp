#include "shell/main/MainWindow.h"

#include "shell/commands/PopupMenus.h"
#include "shell/main/BossKey.h"
#include "shell/main/CommentView.h"
#include "shell/main/EntryListView.h"
#include "shell/main/GroupTreeView.h"
#include "shell/main/PaneArea.h"
#include "shell/widgets/Painting.h"

namespace vlt {

void MainWindow::applyLook() {
    const MainSettings& m = engine_.settings.Main;
    SetGadgetColors(list_, m.EnableEntryBKColor, m.EntryBKColor, 0, 0);
    SetGadgetColors(tree_, m.EnableGroupBKColor, m.GroupBKColor, m.EnableGroupFGColor,
                    m.GroupFGColor);
    SetGadgetColors(comment_, m.EnableCommentBKColor, m.CommentBKColor, m.EnableCommentFGColor,
                    m.CommentFGColor);
    list_->setShowGrid(m.DrawGrid == 1);
}

void MainWindow::applySettings() {
    const MainSettings& m = engine_.settings.Main;
    applyLook();
    for (int c = 0; c < kColumnCount; ++c) {
        const ColumnSetting& column = engine_.settings.Columns[static_cast<std::size_t>(c)];
        list_->setColumnWidth(c, column.Size);
        list_->setColumnHidden(c, column.Show == 0);
        popups_->setChecked({Action::ToggleColumn, c}, column.Show == 1);
    }
    panes_->setDividers(m.Splitter1, m.Splitter2);
    greyUnavailable();
}

void MainWindow::setProgram(std::string programFile, ProgramPaths paths) {
    programFile_ = std::move(programFile);
    paths_ = std::move(paths);
}

void MainWindow::registerBossKey() {
    const MainSettings& m = engine_.settings.Main;
    bossKey_->apply(m.EnableBossKey == 1, m.BossKey1, m.BossKey2);
}

void MainWindow::restorePosition(const QPoint& position) {
    setGeometry(QRect(position, size()));
}

WindowLayout MainWindow::windowLayout() const {
    WindowLayout result;
    result.minimized = isMinimized();
    result.x = geometry().x();
    result.y = geometry().y();
    result.width = width();
    result.height = height();
    result.splitter1 = panes_->treeWidth();
    result.splitter2 = panes_->upperHeight();
    result.stayOnTop = stayOnTop_;
    for (int c = 0; c < kColumnCount; ++c) {
        result.columnWidths[static_cast<std::size_t>(c)] = list_->columnWidth(c);
    }
    return result;
}

}  // namespace vlt
