#include "shell/main/MainWindow.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QUrl>

#include "common/Utf.h"
#include "engine/container/Container.h"
#include "engine/session/ExitSequence.h"
#include "engine/session/Help.h"
#include "engine/session/PasswordChange.h"
#include "engine/session/RecentFileCommands.h"
#include "engine/text/Misc.h"
#include "engine/vault/Attachments.h"
#include "engine/vault/GroupOperations.h"
#include "engine/vault/MassModify.h"
#include "engine/view/CopyField.h"
#include "engine/view/EntryList.h"
#include "engine/view/EntryOperations.h"
#include "engine/view/Find.h"
#include "engine/view/OpenLink.h"
#include "engine/view/SortEntries.h"
#include "shell/app/PluginShell.h"
#include "shell/app/QtText.h"
#include "shell/commands/MainMenu.h"
#include "shell/commands/MainToolbar.h"
#include "shell/commands/PopupMenus.h"
#include "shell/commands/Shortcuts.h"
#include "shell/dialogs/AboutWindow.h"
#include "shell/main/BossKey.h"
#include "shell/main/CommentView.h"
#include "shell/main/Configuration.h"
#include "shell/main/EntryListHeader.h"
#include "shell/main/EntryListModel.h"
#include "shell/main/EntryListView.h"
#include "shell/main/FileDropFilter.h"
#include "shell/main/GroupTreeView.h"
#include "shell/main/MainStatusBar.h"
#include "shell/main/PaneArea.h"
#include "shell/main/RowSelection.h"
#include "shell/main/TrayIcon.h"
#include "shell/widgets/IconCatalog.h"
#include "shell/widgets/Painting.h"

namespace vlt {

MainWindow::MainWindow(Engine& engine, QWidget* parent) : QMainWindow(parent), engine_(engine) {
    setObjectName(QStringLiteral("mainWindow"));
    // Each step of the building is traced as it begins.
    engine_.log.Trace(u"Configuring main window");
    setMinimumSize(550, 300);
    setAttribute(Qt::WA_DeleteOnClose, false);
    createBars();
    createGadgets();
}

MainWindow::~MainWindow() = default;

QTreeWidget* MainWindow::groupTree() const {
    return tree_;
}

QTableView* MainWindow::entryList() const {
    return list_;
}

QTextBrowser* MainWindow::commentView() const {
    return comment_;
}

QLabel* MainWindow::statusField(int field) const {
    return status_->field(field);
}

void MainWindow::createGadgets() {
    engine_.log.Trace(u"Creating gadgets");
    panes_ = new PaneArea(this);
    setCentralWidget(panes_);
    tree_ = new GroupTreeView;
    list_ = new EntryListView;
    model_ = new EntryListModel(engine_, list_);
    list_->setModel(model_);
    list_->dragText = [this](const QModelIndex& index) { return model_->dragText(index); };

    comment_ = new CommentView;
    comment_->linkClicked = [this](const std::u16string& shown, const std::u16string& url) {
        OpenLink(engine_, shown, url);
        comment_->viewport()->setCursor(Qt::ArrowCursor);
        comment_->setFocus();
    };

    panes_->setPanes(tree_, list_, comment_);
    // The area registers its splitters for auto-resizing once it has its first real size.
    engine_.log.Trace(u"Adding auto-resize support");

    engine_.log.Trace(u"Configuring gadgets");
    auto* drops =
        new FileDropFilter([this](const QList<QUrl>& urls) { openDroppedFiles(urls); }, this);
    for (QWidget* view : {tree_->viewport(), list_->viewport(), comment_->viewport()}) {
        drops->watch(view);
    }

    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &MainWindow::onGroupTreeEvent);
    connect(tree_, &QTreeWidget::itemClicked, this, &MainWindow::onGroupTreeEvent);
    connect(tree_, &QWidget::customContextMenuRequested, this, &MainWindow::showGroupPopup);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::onEntryListEvent);
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &MainWindow::onEntryListEvent);
    connect(list_, &EntryListView::touched, this, &MainWindow::onEntryListEvent);
    connect(list_, &QWidget::customContextMenuRequested, this, &MainWindow::showEntryPopup);
    connect(list_, &QAbstractItemView::doubleClicked, this, [this] {
        onEntryListEvent();
        if (list_->currentRow() >= 0) {
            perform({Action::EditEntry});
        }
    });
    connect(list_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &MainWindow::onHeaderClicked);
    connect(list_->horizontalHeader(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) {
                popups_->popup(PopupMenus::kListHeaderPopup)
                    ->exec(list_->horizontalHeader()->mapToGlobal(at));
            });
}

void MainWindow::createBars() {
    auto send = [this](Command command) { dispatch(command); };
    engine_.log.Trace(u"Adding keyboard shortcuts");
    InstallMainShortcuts(this, send);

    engine_.log.Trace(u"Creating statusbar");
    status_ = new MainStatusBar(this);
    setStatusBar(status_);

    engine_.log.Trace(u"Setting up bosskey");
    bossKey_ = new BossKey(*this, this);
    bossKey_->reportRefusal = [this](const QString& reason) {
        engine_.log.Trace(u"Could not register the boss key");
        engine_.desktop.Message(u"Warning",
                                u"The boss key could not be registered. " + reason.toStdU16String(),
                                MessageIcon::Warning);
    };
    connect(bossKey_, &BossKey::pressed, this, [this] {
        if (engine_.settings.Main.EnableBossKey == 1) {
            bossKey_->toggle();
        }
    });
    registerBossKey();

    engine_.log.Trace(u"Creating main menu");
    mainMenu_ = std::make_unique<MainMenu>();
    connect(mainMenu_.get(), &MainMenu::command, this, send);
    CreateMainMenu();
    // One object builds the nine popups, checking the list-header items of the shown columns.
    for (const char16_t* popup :
         {u"Creating groups menu", u"Creating entries menu", u"Creating list header menu",
          u"Creating time menu", u"Creting systray menu", u"Creating toolbar 'add' menu",
          u"Creating toolbar 'remove' menu", u"Creating toolbar 'move' menu",
          u"Creating toolbar 'clipboard' menu"}) {
        engine_.log.Trace(popup);
    }
    popups_ = std::make_unique<PopupMenus>(engine_.settings.Columns, this);
    connect(popups_.get(), &PopupMenus::command, this, send);
    engine_.log.Trace(u"Configuring menus");
    tray_ = new TrayIcon(*this, popups_->popup(PopupMenus::kTrayPopup), engine_.log, this);
    tray_->minimiseToTray = [this] { return engine_.settings.Main.MinSendTray == 1; };

    engine_.log.Trace(u"Creating toolbar");
    toolbar_ = new MainToolbar(*popups_, this);
    connect(toolbar_, &MainToolbar::command, this, send);
    addToolBar(Qt::TopToolBarArea, toolbar_);
}

void MainWindow::greyUnavailable() {
    mainMenu_->greyUnavailable();
    popups_->greyUnavailable();
    toolbar_->greyUnavailable();
}

void MainWindow::CreateMainMenu() {
    MainMenuState state;
    state.recentsOn = engine_.settings.Main.Recents == 1;
    for (const auto& path : engine_.Recent.paths) {
        state.recentPaths << qs(path);
    }
    state.mask = engine_.settings.Mask;
    state.columns = engine_.settings.Columns;
    state.viewFilter = engine_.ViewFilter;
    state.stayOnTop = stayOnTop_;
    if (plugins_ != nullptr) {
        state.plugins = plugins_->menuEntries();
    }
    mainMenu_->CreateMainMenu(menuBar(), state);
    // The popups and the toolbar grey their own items; a rebuilt bar has only its own to grey.
    mainMenu_->greyUnavailable();
}

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

// ---------------------------------------------------------------- views the engine refreshes

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

// ---------------------------------------------------------------------------- gadget events

void MainWindow::updateSelectionStatus() {
    status_->setField(
        1,
        QStringLiteral("%1 of %2 selected").arg(list_->selectedRowCount()).arg(model_->rowCount()));
}

void MainWindow::onEntryListEvent() {
    updateSelectionStatus();
    ShowSelectedEntry(engine_);
}

void MainWindow::onGroupTreeEvent() {
    if (engine_.busy()) {
        return;
    }
    updateCounts();
    Entry_RefreshList(engine_);
}

void MainWindow::showGroupPopup(const QPoint& at) {
    updateCounts();
    ApplyGroupPopupRules(*popups_, selectedGroupItem());
    greyUnavailable();
    popups_->popup(PopupMenus::kGroupsPopup)->exec(tree_->viewport()->mapToGlobal(at));
}

void MainWindow::showEntryPopup(const QPoint& at) {
    onEntryListEvent();
    ApplyEntryPopupRules(*popups_, list_->currentRow() >= 0, model_->rowCount(),
                         list_->selectedRowCount());
    greyUnavailable();
    popups_->popup(PopupMenus::kEntriesPopup)->exec(list_->viewport()->mapToGlobal(at));
}

void MainWindow::openDroppedFiles(const QList<QUrl>& urls) {
    if (urls.isEmpty() || engine_.busy()) {
        return;
    }
    // Only the first file counts; a folder or an empty path is ignored.
    const QString path = urls.first().toLocalFile();
    if (path.isEmpty() || QFileInfo(path).isDir()) {
        return;
    }
    OpenContainer(engine_, u16s(path));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    status_->fitTo(width());
    if (engine_.settings.Main.AutoresizeColumns == 1) {
        list_->fitColumns();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (exiting_) {
        event->accept();
        return;
    }
    event->ignore();
    if (engine_.busy()) {
        return;  // not in the middle of a load or a save
    }
    if (engine_.settings.Main.CloseSendTray == 1) {
        engine_.log.Trace(u"Sending program to systray");
        tray_->SendToTray();
        return;
    }
    engine_.log.Trace(u"Confirming exit");
    ConfirmExit(engine_);
}

// ---------------------------------------------------------------------------------- commands

void MainWindow::dispatch(Command command) {
    perform(ActionOf(command));
}

void MainWindow::perform(ActionCall call) {
    // A command arriving while a load, a save or a plugin run pumps events waits its turn.
    if (engine_.busy() || !IsAvailable(call.action)) {
        return;
    }
    Engine::BusyGuard guard(engine_);
    switch (call.action) {
        case Action::CloseContainer:
            CloseContainer(engine_, kCloseAsking);
            break;
        case Action::OpenContainer:
            OpenContainer(engine_, u"");
            break;
        case Action::SaveContainer:
            SaveContainer(engine_);
            break;
        case Action::SaveContainerAs:
            SaveContainerAs(engine_, u"", kSaveAs);
            break;
        case Action::ChangePassword:
            ChangePassword(engine_);
            break;
        case Action::ClearRecentFiles:
            ClearRecentFiles(engine_);
            break;
        case Action::Exit:
            ConfirmExit(engine_);
            break;
        case Action::SelectAllEntries:
            list_->selectAll();
            list_->setFocus();
            break;
        case Action::ExpandAllGroups:
            ExpandAllTreeItems();
            break;
        case Action::CollapseAllGroups:
            CollapseAllTreeItems();
            break;
        case Action::ToggleMask:
            toggleMask(call.argument);
            break;
        case Action::ToggleColumn:
            toggleColumn(call.argument);
            break;
        case Action::SetViewFilter:
            setViewFilter(call.argument);
            break;
        case Action::ToggleStayOnTop:
            setStayOnTop(!stayOnTop_);
            break;
        case Action::SortByColumn:
            sortBy(call.argument);
            break;
        case Action::ExpandGroup:
        case Action::CollapseGroup:
            expandSelectedGroup(call.action == Action::ExpandGroup);
            break;
        case Action::OpenRecentFile:
            OpenRecentFile(engine_, call.argument);
            break;
        // Group editing
        case Action::AddGroup:
            Group_Add(engine_);
            break;
        case Action::EditGroup:
            Group_Edit(engine_);
            break;
        case Action::RemoveGroup:
            Group_Remove(engine_);
            break;
        case Action::MoveGroupUp:
            Group_MoveUp(engine_);
            break;
        case Action::MoveGroupDown:
            Group_MoveDown(engine_);
            break;
        case Action::MoveGroupLeft:
            Group_MoveLeft(engine_);
            break;
        case Action::MoveGroupRight:
            Group_MoveRight(engine_);
            break;
        // Entry operations.
        case Action::AddEntry:
            Entry_Add(engine_);
            break;
        case Action::EditEntry:
            Entry_Edit(engine_);
            break;
        case Action::RemoveEntry:
            Entry_Remove(engine_);
            break;
        case Action::MoveEntryUp:
            Entry_MoveUp(engine_);
            break;
        case Action::MoveEntryDown:
            Entry_MoveDown(engine_);
            break;
        case Action::PluginManager:
            if (plugins_ != nullptr) {
                plugins_->openManager(*this);
            }
            break;
        case Action::RunPlugin:
            runPlugin(call.argument);
            break;
        case Action::Find:
            OpenFindWindow(engine_);
            break;
        case Action::FindNext:
            FindNextEntry(engine_, 0);
            break;
        case Action::MassModify:
            OpenMassModifyWindow(engine_);
            break;
        // Copying fields, opening URLs, attachments.
        case Action::CopyField:
            CopyField(engine_, call.argument);
            break;
        case Action::OpenUrl:
            FieldLaunchURL(engine_);
            break;
        case Action::SaveAttachments:
            SaveAttachments(engine_);
            break;
        // Configuration, tray, help and about.
        case Action::Configuration:
            OpenSettingsWindow(engine_, *this, programFile_, paths_);
            break;
        case Action::SendToTray:
            tray_->SendToTray();
            break;
        case Action::RestoreFromTray:
            tray_->RestoreFromTray();
            break;
        case Action::Help:
            RunHelp(engine_, u"Introduction.html", paths_.ProgramFolder);
            break;
        case Action::VisitHomepage:
            engine_.desktop.OpenUrl(u16(AboutWindow::kHomePage));
            break;
        case Action::About:
            ShowAbout(this, paths_.PortableMode == 1,
                      [this](const QUrl& url) { engine_.desktop.OpenUrl(u16s(url.toString())); });
            break;
        default:
            // The drop-down buttons only carry their popups; nothing else is available.
            break;
    }
    updateCounts();
}

void MainWindow::toggleMask(int field) {
    std::int32_t* masks[] = {&engine_.settings.Mask.Accounts, &engine_.settings.Mask.UserNames,
                             &engine_.settings.Mask.Passwords, &engine_.settings.Mask.URLs};
    std::int32_t& mask = *masks[field];
    mask = mask == 0 ? 1 : 0;
    mainMenu_->setChecked({Action::ToggleMask, field}, mask == 1);
    Entry_RefreshList(engine_);
}

void MainWindow::toggleColumn(int column) {
    ColumnSetting& setting = engine_.settings.Columns[static_cast<std::size_t>(column)];
    list_->toggleColumn(column, setting);
    mainMenu_->setChecked({Action::ToggleColumn, column}, setting.Show == 1);
    popups_->setChecked({Action::ToggleColumn, column}, setting.Show == 1);
}

void MainWindow::setViewFilter(int filter) {
    engine_.ViewFilter = filter;
    mainMenu_->setChecked({Action::SetViewFilter, 0}, filter == 0);
    mainMenu_->setChecked({Action::SetViewFilter, 1}, filter == 1);
    Entry_RefreshList(engine_);
}

void MainWindow::setStayOnTop(bool on) {
    stayOnTop_ = on;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible) {
        show();
    }
    mainMenu_->setChecked({Action::ToggleStayOnTop}, on);
}

void MainWindow::sortBy(int column) {
    if (column < 0 || column >= kColumnCount) {
        return;
    }
    SortEntries(engine_, column, NextSortDirection(engine_, column));
}

void MainWindow::onHeaderClicked(int column) {
    if (engine_.busy() || column < 0 || column >= kColumnCount) {
        return;
    }
    perform({Action::SortByColumn, column});
    // The column's flag now names the direction of its next sort: 1 after an ascending one.
    list_->header()->showSortArrow(column, engine_.SortDirections[column] == 1
                                               ? QStyleOptionHeader::SortUp
                                               : QStyleOptionHeader::SortDown);
}

// ------------------------------------------------------------------------------ exit and lock

WindowLayout MainWindow::windowLayout() const {
    WindowLayout result;
    result.minimized = isMinimized();
    result.x = pos().x();
    result.y = pos().y();
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

void MainWindow::closeForExit() {
    exiting_ = true;
    close();
}

void MainWindow::SetInterfaceDisabled(bool disabled) {
    const bool enabled = !disabled;
    const QList<QAction*> menus = menuBar()->actions();
    for (int i = 0; i < menus.size() && i < 6; ++i) {
        menus[i]->setEnabled(enabled);
    }
    for (QAction* action : toolbar_->actions()) {
        action->setEnabled(enabled);
    }
    tree_->setEnabled(enabled);
    list_->setEnabled(enabled);
    comment_->setEnabled(enabled);
    if (enabled) {
        greyUnavailable();
    }
    menuBar()->update();
}

void MainWindow::runPlugin(int menuPlace) {
    const auto& items = mainMenu_->pluginMenu();
    if (plugins_ != nullptr && menuPlace >= 0 && menuPlace < static_cast<int>(items.size())) {
        plugins_->run(items[static_cast<std::size_t>(menuPlace)].pluginId, *this);
    }
}

}  // namespace vlt
