#include "shell/main/MainWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>

#include "engine/container/Container.h"
#include "engine/settings/ConfigFile.h"
#include "engine/text/LinkFinder.h"
#include "engine/text/Misc.h"
#include "engine/text/Text.h"
#include "engine/view/EntryRows.h"
#include "engine/view/GroupTree.h"
#include "engine/view/SortEntries.h"
#include "shell/app/QtText.h"
#include "shell/commands/MainMenu.h"
#include "shell/commands/MainToolbar.h"
#include "shell/commands/PopupMenus.h"
#include "shell/commands/Shortcuts.h"
#include "shell/main/EntryListHeader.h"
#include "shell/main/EntryListModel.h"
#include "shell/main/EntryListView.h"
#include "shell/main/RowSelection.h"
#include "shell/widgets/IconCatalog.h"
#include "shell/widgets/Painting.h"

namespace vlt {

namespace {

constexpr int kTreeIdRole = Qt::UserRole;
constexpr int kTreeIndexRole = Qt::UserRole + 1;
constexpr int kRootIcon = 44;
constexpr int kMinimumPane = 40;
constexpr std::string_view kRefreshProc = "Entry_RefreshList";
constexpr std::string_view kExitProc = "ConfirmExit";

void setColors(QWidget* widget, int enableBack, int back, int enableText, int text) {
    QPalette palette = widget->palette();
    if (enableBack == 1) {
        palette.setColor(QPalette::Base, toQColor(rgbFromColor(back)));
    }
    if (enableText == 1) {
        palette.setColor(QPalette::Text, toQColor(rgbFromColor(text)));
    }
    widget->setPalette(palette);
}

// Plain text as rich text; a stored line end (CR LF, or a lone CR) is one line break.
QString richText(std::u16string_view text) {
    return qs(text)
        .toHtmlEscaped()
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(u'\r', u'\n');
}

// The comment as rich text. Anchor n is "#n", naming the n-th found link: what a click opens
// is taken from the link finder, never read back from the document.
QString commentHtml(const std::u16string& text, const std::vector<FoundLink>& links) {
    const std::u16string_view all(text);
    QString html;
    std::size_t at = 0;
    for (std::size_t n = 0; n < links.size(); ++n) {
        const FoundLink& link = links[n];
        html += richText(all.substr(at, link.start - at));
        html += QStringLiteral("<a href=\"#%1\">%2</a>")
                    .arg(QString::number(n), richText(all.substr(link.start, link.length)));
        at = link.start + link.length;
    }
    html += richText(all.substr(at));
    return QStringLiteral("<div style=\"white-space: pre-wrap\">%1</div>").arg(html);
}

}  // namespace

MainWindow::MainWindow(Engine& engine, ShellHooks hooks, QWidget* parent)
    : QMainWindow(parent), engine_(engine), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("mainWindow"));
    // Each step of the building is traced as it begins.
    engine_.log.Trace(u"Configuring main window");
    setMinimumSize(550, 300);
    setAttribute(Qt::WA_DeleteOnClose, false);
    createBars();
    createGadgets();
}

MainWindow::~MainWindow() = default;

QTableView* MainWindow::entryList() const {
    return list_;
}

QLabel* MainWindow::statusField(int field) const {
    return field >= 0 && field < 3 ? status_[field] : nullptr;
}

void MainWindow::createGadgets() {
    engine_.log.Trace(u"Creating gadgets");
    central_ = new QWidget(this);
    central_->setObjectName(QStringLiteral("centralArea"));
    central_->installEventFilter(this);
    setCentralWidget(central_);

    upperCommentSplitter_ = new QSplitter(Qt::Vertical, central_);
    upperCommentSplitter_->setObjectName(QStringLiteral("upperCommentSplitter"));
    upperCommentSplitter_->setChildrenCollapsible(false);
    treeListSplitter_ = new QSplitter(Qt::Horizontal, upperCommentSplitter_);
    treeListSplitter_->setObjectName(QStringLiteral("treeListSplitter"));
    treeListSplitter_->setChildrenCollapsible(false);

    tree_ = new QTreeWidget(treeListSplitter_);
    tree_->setObjectName(QStringLiteral("groupTree"));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    tree_->setMinimumWidth(kMinimumPane);
    auto* root = new QTreeWidgetItem(tree_, QStringList(QStringLiteral("New container")));
    root->setIcon(0, MenuIcon(kRootIcon));
    root->setData(0, kTreeIndexRole, 0);

    list_ = new EntryListView(treeListSplitter_);
    list_->setMinimumWidth(kMinimumPane);
    model_ = new EntryListModel(engine_, list_);
    list_->setModel(model_);
    list_->dragText = [this](const QModelIndex& index) { return model_->dragText(index); };

    comment_ = new QTextBrowser(upperCommentSplitter_);
    comment_->setObjectName(QStringLiteral("commentView"));
    comment_->setReadOnly(true);
    comment_->setOpenLinks(false);
    comment_->setMinimumHeight(kMinimumPane);
    connect(comment_, &QTextBrowser::anchorClicked, this, &MainWindow::onCommentLink);

    upperCommentSplitter_->setStretchFactor(0, 1);
    upperCommentSplitter_->setStretchFactor(1, 0);
    treeListSplitter_->setStretchFactor(0, 0);
    treeListSplitter_->setStretchFactor(1, 1);

    engine_.log.Trace(u"Adding auto-resize support");
    // The splitters fill the central area and follow its size; they take their stored positions
    // once it has a real size (eventFilter).
    upperCommentSplitter_->setGeometry(central_->rect());
    autoResize_.AutoResize_Add(central_, upperCommentSplitter_, 1, 0, 1, 0);

    engine_.log.Trace(u"Configuring gadgets");
    for (QWidget* target :
         {static_cast<QWidget*>(tree_->viewport()), static_cast<QWidget*>(list_->viewport()),
          static_cast<QWidget*>(comment_->viewport())}) {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
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
        if (currentRow() >= 0) {
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
    auto* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    bar->setSizeGripEnabled(true);
    const char* texts[3] = {"0 groups / 0 entries", "0 of 0 selected", "No container open"};
    for (int i = 0; i < 3; ++i) {
        status_[i] = new QLabel(QString::fromLatin1(texts[i]), bar);
        status_[i]->setObjectName(QStringLiteral("statusField%1").arg(i));
        status_[i]->setFrameShape(QFrame::StyledPanel);
        status_[i]->setFrameShadow(QFrame::Sunken);
        bar->addWidget(status_[i], i == 2 ? 1 : 0);
    }

    // The boss key is not built yet; its step keeps its place in the trace.
    engine_.log.Trace(u"Setting up bosskey");

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
    mainMenu_->CreateMainMenu(menuBar(), state);
    // The popups and the toolbar grey their own items; a rebuilt bar has only its own to grey.
    mainMenu_->greyUnavailable();
}

void MainWindow::applySettings() {
    const MainSettings& m = engine_.settings.Main;
    setColors(list_, m.EnableEntryBKColor, m.EntryBKColor, 0, 0);
    setColors(tree_, m.EnableGroupBKColor, m.GroupBKColor, m.EnableGroupFGColor, m.GroupFGColor);
    setColors(comment_, m.EnableCommentBKColor, m.CommentBKColor, m.EnableCommentFGColor,
              m.CommentFGColor);
    list_->setShowGrid(m.DrawGrid == 1);
    for (int c = 0; c < kColumnCount; ++c) {
        const ColumnSetting& column = engine_.settings.Columns[static_cast<std::size_t>(c)];
        list_->setColumnWidth(c, column.Size);
        list_->setColumnHidden(c, column.Show == 0);
        popups_->setChecked({Action::ToggleColumn, c}, column.Show == 1);
    }
    applySplitterPositions();
    greyUnavailable();
}

void MainWindow::applySplitterPositions() {
    const MainSettings& m = engine_.settings.Main;
    // The panes share what the handle leaves: sizes adding up to more would be scaled down, and
    // the stored position would creep by the handle's width on every start.
    auto place = [](QSplitter* splitter, int first, int whole) {
        const int panes = std::max(whole - splitter->handleWidth(), first + kMinimumPane);
        splitter->setSizes({first, panes - first});
    };
    place(treeListSplitter_, m.Splitter1, treeListSplitter_->width());
    place(upperCommentSplitter_, m.Splitter2, upperCommentSplitter_->height());
}

// ---------------------------------------------------------------- views the engine refreshes

void MainWindow::setStatusField(int field, const QString& text) {
    if (field >= 0 && field < 3) {
        status_[field]->setText(text);
    }
}

void MainWindow::setContainerLabel(const QString& text) {
    if (QTreeWidgetItem* root = tree_->topLevelItem(0)) {
        root->setText(0, text);
    }
}

void MainWindow::clearViews() {
    const QSignalBlocker blockTree(tree_);
    const QString rootText = tree_->topLevelItemCount() ? tree_->topLevelItem(0)->text(0)
                                                        : QStringLiteral("New container");
    tree_->clear();
    auto* root = new QTreeWidgetItem(tree_, QStringList(rootText));
    root->setIcon(0, MenuIcon(kRootIcon));
    root->setData(0, kTreeIndexRole, 0);
    const QSignalBlocker blockSelection(list_->selectionModel());
    model_->clear();
    clearComment();
}

void MainWindow::rebuildGroupTree() {
    const QSignalBlocker block(tree_);
    const QString rootText = tree_->topLevelItemCount() ? tree_->topLevelItem(0)->text(0)
                                                        : QStringLiteral("New container");
    tree_->clear();
    const std::vector<TreeItem> shape = GroupTreeShape(engine_.vault.Groups);
    std::vector<QTreeWidgetItem*> items(shape.size(), nullptr);
    for (const TreeItem& t : shape) {
        QTreeWidgetItem* item = nullptr;
        if (t.item == 0) {
            item = new QTreeWidgetItem(tree_, QStringList(rootText));
            item->setIcon(0, MenuIcon(kRootIcon));
        } else {
            const Group& group = engine_.vault.Groups.at(t.item - 1);
            item = new QTreeWidgetItem(items[static_cast<std::size_t>(t.parentItem)],
                                       QStringList(qs(group.Name)));
            item->setIcon(0, GroupIcon(group.Icon));
            item->setData(0, kTreeIdRole, group.ID);
        }
        item->setData(0, kTreeIndexRole, t.item);
        items[static_cast<std::size_t>(t.item)] = item;
    }
    tree_->expandAll();
    if (items.size() > 1) {
        tree_->setCurrentItem(items[1]);
    }
    updateCounts();
}

int MainWindow::selectedGroupItem() const {
    QTreeWidgetItem* item = tree_->currentItem();
    if (item == nullptr || !item->isSelected()) {
        return -1;
    }
    return item->data(0, kTreeIndexRole).toInt();
}

void MainWindow::selectGroupItem(int index) {
    QTreeWidgetItemIterator it(tree_);
    for (; *it != nullptr; ++it) {
        if ((*it)->data(0, kTreeIndexRole).toInt() == index) {
            tree_->setCurrentItem(*it);
            return;
        }
    }
}

void MainWindow::Entry_RefreshList() {
    engine_.log.Trace(u"Refresing list", kRefreshProc);
    const int item = selectedGroupItem();
    if (engine_.vault.Groups.empty() || engine_.vault.Entries.empty() || item < 0) {
        engine_.log.Trace(u"Done", kRefreshProc);
        return;
    }
    const int remembered = currentRow();
    const std::int32_t groupId = item == 0 ? 0 : engine_.vault.Groups.at(item - 1).ID;
    {
        // Reselecting from code is no user event: no access date, no second refresh.
        const QSignalBlocker block(list_->selectionModel());
        clearComment();
        model_->setRows(BuildEntryRows(engine_, groupId));
        if (model_->row(remembered) != nullptr) {
            list_->selectionModel()->setCurrentIndex(
                model_->index(remembered, 0),
                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            if (const Entry* entry = model_->entryAt(remembered)) {
                showComment(entry->Comment);
            }
        }
    }
    updateSelectionStatus();
    engine_.log.Trace(u"Done", kRefreshProc);
}

void MainWindow::ExpandAllTreeItems() {
    QTreeWidgetItem* current = tree_->currentItem();
    tree_->expandAll();
    if (current != nullptr) {
        const QSignalBlocker block(tree_);
        tree_->setCurrentItem(current);
    }
}

void MainWindow::CollapseAllTreeItems() {
    tree_->collapseAll();
}

void MainWindow::expandSelectedGroup(bool expand) {
    const std::string_view procedure = expand ? "Group_Expand" : "Group_Collapse";
    engine_.log.Trace(u"Expanding group", procedure);
    if (selectedGroupItem() >= 0) {
        QTreeWidgetItem* item = tree_->currentItem();
        item->setExpanded(expand);
        item->setSelected(true);
    }
    engine_.log.Trace(u"Done", procedure);
}

void MainWindow::updateCounts() {
    status_[0]->setText(QStringLiteral("%1 groups / %2 entries")
                            .arg(engine_.vault.Groups.count())
                            .arg(engine_.vault.Entries.count()));
}

void MainWindow::showComment(const std::u16string& text) {
    commentText_ = text;
    commentLinks_ = FindLinks(text);
    comment_->setHtml(commentHtml(commentText_, commentLinks_));
}

void MainWindow::clearComment() {
    commentText_.clear();
    commentLinks_.clear();
    comment_->clear();
}

void MainWindow::onCommentLink(const QUrl& url) {
    // Only the anchors the comment was given count, whatever else a click may report.
    bool ok = false;
    const int n = url.fragment().toInt(&ok);
    if (!url.scheme().isEmpty() || !url.path().isEmpty() || !ok || n < 0 ||
        n >= static_cast<int>(commentLinks_.size())) {
        return;
    }
    // A copy: while the question is open, another comment may be shown.
    const FoundLink link = commentLinks_[static_cast<std::size_t>(n)];
    const std::u16string shown = commentText_.substr(link.start, link.length);
    if (!shown.empty() &&
        engine_.desktop.AskYesNo(u"Please confirm",
                                 u"Would you like to open the link below in the default browser "
                                 u"window?\r\n\r\n\"" +
                                     shown + u"\"",
                                 MessageIcon::Question)) {
        openLink(link.url);
    }
    comment_->viewport()->setCursor(Qt::ArrowCursor);
    comment_->setFocus();
}

void MainWindow::openLink(const std::u16string& url) {
    // Web and mail addresses only, handed over whole as one argument; no shell sees them.
    const QUrl parsed(qs(url));
    if (IsOpenableUrl(url) && parsed.isValid() && hooks_.openUrl) {
        hooks_.openUrl(parsed);
    }
}

// ---------------------------------------------------------------------------- gadget events

int MainWindow::selectedRowCount() const {
    return SelectedRowCount(list_->selectionModel()->selection());
}

void MainWindow::updateSelectionStatus() {
    status_[1]->setText(
        QStringLiteral("%1 of %2 selected").arg(selectedRowCount()).arg(model_->rowCount()));
}

int MainWindow::currentRow() const {
    // Qt keeps a current index of its own that need not be selected: a click on blank space
    // deselects all but leaves it, and the list gaining the focus puts it on the first row. A row
    // nobody sees selected must not be stamped, shown or edited, so the current row is Qt's only
    // while selected; else the first selected row; with nothing selected there is none.
    const QItemSelection selected = list_->selectionModel()->selection();
    const QModelIndex current = list_->currentIndex();
    if (current.isValid() && IsRowSelected(selected, current.row())) {
        return current.row();
    }
    return FirstSelectedRow(selected);
}

void MainWindow::onEntryListEvent() {
    updateSelectionStatus();
    if (engine_.busy()) {
        return;
    }
    const int current = currentRow();
    if (current < 0) {
        clearComment();
        return;
    }
    if (engine_.vault.Groups.empty() || engine_.vault.Entries.empty()) {
        return;
    }
    clearComment();
    if (Entry* entry = model_->entryAt(current)) {
        entry->AccessDate = engine_.clock();
        showComment(entry->Comment);
    }
}

void MainWindow::onGroupTreeEvent() {
    if (engine_.busy()) {
        return;
    }
    updateCounts();
    Entry_RefreshList();
}

void MainWindow::showGroupPopup(const QPoint& at) {
    updateCounts();
    ApplyGroupPopupRules(*popups_, selectedGroupItem());
    greyUnavailable();
    popups_->popup(PopupMenus::kGroupsPopup)->exec(tree_->viewport()->mapToGlobal(at));
}

void MainWindow::showEntryPopup(const QPoint& at) {
    onEntryListEvent();
    ApplyEntryPopupRules(*popups_, currentRow() >= 0, model_->rowCount(), selectedRowCount());
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

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == central_ && event->type() == QEvent::Resize) {
        autoResize_.AutoResize_Apply(central_);
        if (!splittersPlaced_) {
            // The first real size: the splitters can only take their positions now.
            splittersPlaced_ = true;
            applySplitterPositions();
        }
        return false;
    }
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDropEvent*>(event);
        if (drag->mimeData()->hasUrls()) {
            drag->acceptProposedAction();
            return true;
        }
    } else if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        if (drop->mimeData()->hasUrls()) {
            drop->acceptProposedAction();
            openDroppedFiles(drop->mimeData()->urls());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layoutStatusBar();
    if (engine_.settings.Main.AutoresizeColumns == 1) {
        const int width = (list_->viewport()->width() - 5) / 4;
        for (int c = 0; c < kColumnCount; ++c) {
            if (!list_->isColumnHidden(c)) {
                list_->setColumnWidth(c, width);
            }
        }
    }
}

void MainWindow::layoutStatusBar() {
    const int quarter = width() / 4;
    status_[0]->setFixedWidth(quarter);
    status_[1]->setFixedWidth(quarter);
    status_[2]->setMinimumWidth(quarter);
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
        // Until the notification-area icon exists, "to the tray" means minimised.
        engine_.log.Trace(u"Sending program to systray");
        showMinimized();
        return;
    }
    engine_.log.Trace(u"Confirming exit");
    ConfirmExit();
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
            CloseContainer(engine_, 0);
            break;
        case Action::OpenContainer:
            OpenContainer(engine_, u"");
            break;
        case Action::SaveContainer:
            SaveContainer(engine_);
            break;
        case Action::SaveContainerAs:
            SaveContainerAs(engine_, u"", 0);
            break;
        case Action::ChangePassword:
            changePassword();
            break;
        case Action::ClearRecentFiles:
            engine_.Recent.clear();
            CreateMainMenu();
            break;
        case Action::Exit:
            ConfirmExit();
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
            openRecent(call.argument);
            break;
        default:
            // The drop-down buttons only carry their popups; nothing else is available.
            break;
    }
    updateCounts();
}

void MainWindow::changePassword() {
    if (engine_.ContainerPath.empty()) {
        engine_.desktop.Message(u"Information",
                                u"The password can't be changed at the moment (no open container).",
                                MessageIcon::Information);
        return;
    }
    SecureText password = engine_.desktop.AskPassword(kPasswordChange);
    if (password.empty()) {
        return;
    }
    engine_.ContainerPassword = password;
    engine_.desktop.Message(
        u"Information",
        u"The password has been changed successfully, however you need to save the file to use "
        u"the new password. The new password will be employed when you will next save the "
        u"container file.",
        MessageIcon::Information);
}

void MainWindow::openRecent(int index) {
    // Dispatched by the list's size, so a hand-edited list can never reach other commands.
    if (index < 0 || index >= static_cast<int>(engine_.Recent.paths.size())) {
        return;
    }
    const std::u16string path = engine_.Recent.entry(index);
    if (!QFileInfo(qs(path)).isFile()) {
        engine_.desktop.Message(u"Warning",
                                u"The file no longer exists at the known location, loading "
                                u"aborted.",
                                MessageIcon::Warning);
        return;
    }
    OpenContainer(engine_, path);
}

void MainWindow::toggleMask(int field) {
    std::int32_t* masks[] = {&engine_.settings.Mask.Accounts, &engine_.settings.Mask.UserNames,
                             &engine_.settings.Mask.Passwords, &engine_.settings.Mask.URLs};
    std::int32_t& mask = *masks[field];
    mask = mask == 0 ? 1 : 0;
    mainMenu_->setChecked({Action::ToggleMask, field}, mask == 1);
    Entry_RefreshList();
}

void MainWindow::toggleColumn(int column) {
    ColumnSetting& setting = engine_.settings.Columns[static_cast<std::size_t>(column)];
    if (setting.Show == 0) {
        setting.Show = 1;
        list_->setColumnHidden(column, false);
        list_->setColumnWidth(column, setting.Size);
    } else {
        setting.Show = 0;
        setting.Size = list_->columnWidth(column);
        list_->setColumnHidden(column, true);
    }
    mainMenu_->setChecked({Action::ToggleColumn, column}, setting.Show == 1);
    popups_->setChecked({Action::ToggleColumn, column}, setting.Show == 1);
}

void MainWindow::setViewFilter(int filter) {
    engine_.ViewFilter = filter;
    mainMenu_->setChecked({Action::SetViewFilter, 0}, filter == 0);
    mainMenu_->setChecked({Action::SetViewFilter, 1}, filter == 1);
    Entry_RefreshList();
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

void MainWindow::writeExitSettings() {
    Settings& s = engine_.settings;
    const bool minimized = isMinimized();
    if (!minimized) {
        s.Main.MainWinX = pos().x();
        s.Main.MainWinY = pos().y();
        s.Main.MainWinW = width();
        s.Main.MainWinH = height();
        const QList<int> outer = treeListSplitter_->sizes();
        const QList<int> upper = upperCommentSplitter_->sizes();
        if (!outer.isEmpty()) {
            s.Main.Splitter1 = outer.first();
        }
        if (!upper.isEmpty()) {
            s.Main.Splitter2 = upper.first();
        }
    }
    s.Main.AlwaysOnTop = stayOnTop_ ? 1 : 0;
    for (int c = 0; c < kColumnCount; ++c) {
        ColumnSetting& column = s.Columns[static_cast<std::size_t>(c)];
        // A hidden column keeps the width it is to get back when it is shown again.
        if (column.Show == 1) {
            column.Size = list_->columnWidth(c);
        }
    }
    WriteExitSettings(s, hooks_.configPath, engine_.writer, !minimized);
}

int MainWindow::ConfirmExit() {
    auto trace = [this](std::u16string_view message) { engine_.log.Trace(message, kExitProc); };
    const MainSettings& m = engine_.settings.Main;
    trace(u"Asking whether to quit");
    const std::u16string discardQuestion =
        u"Would you like to exit VLT? Any unsaved changes will be discarded.";
    bool yes = true;
    if (!engine_.vault.empty() && m.AskQuit != 0) {
        yes = engine_.desktop.AskYesNo(
            u"Please confirm", m.Autosave == 1 ? u"Would you like to exit VLT?" : discardQuestion,
            MessageIcon::Question);
    }
    if (!yes) {
        trace(u"Returning");
        return 1;
    }
    if (m.Autosave == 1 && !engine_.vault.Groups.empty()) {
        trace(u"Autosaving container");
        // A failed or cancelled autosave must not silently throw the vault away.
        if (SaveContainer(engine_) != 1 &&
            !engine_.desktop.AskYesNo(u"Please confirm", discardQuestion, MessageIcon::Question)) {
            trace(u"Returning");
            return 1;
        }
    }
    if (m.ClearClipAtExit == 1) {
        trace(u"Clearing clipboard");
        QGuiApplication::clipboard()->clear();
    }
    trace(u"Saving settings");
    writeExitSettings();
    trace(u"Sending plugin quit signal");
    if (hooks_.quitPlugins) {
        hooks_.quitPlugins();
    }
    trace(u"Closing main window");
    exiting_ = true;
    close();
    trace(u"End()");
    if (m.LogActions == 1) {
        engine_.log.Log_End();
        engine_.log.Log_Close();
    }
    if (hooks_.endProcess) {
        hooks_.endProcess(0);
    }
    return 0;
}

void MainWindow::SetInterfaceDisabled(int flag) {
    const bool enabled = flag == 0;
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

}  // namespace vlt
