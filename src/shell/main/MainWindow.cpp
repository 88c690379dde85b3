#include "shell/main/MainWindow.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>

#include "common/Utf.h"
#include "engine/container/Container.h"
#include "engine/session/ExitSequence.h"
#include "engine/view/EntryList.h"
#include "engine/view/OpenLink.h"
#include "shell/app/PluginShell.h"
#include "shell/app/QtText.h"
#include "shell/commands/MainMenu.h"
#include "shell/commands/MainToolbar.h"
#include "shell/commands/PopupMenus.h"
#include "shell/commands/Shortcuts.h"
#include "shell/main/BossKey.h"
#include "shell/main/CommentView.h"
#include "shell/main/EntryListModel.h"
#include "shell/main/EntryListView.h"
#include "shell/main/FileDropFilter.h"
#include "shell/main/GroupTreeView.h"
#include "shell/main/MainStatusBar.h"
#include "shell/main/PaneArea.h"
#include "shell/main/TrayIcon.h"

namespace vlt {

MainWindow::MainWindow(Engine& engine, QWidget* parent) : QMainWindow(parent), engine_(engine) {
    setObjectName(QStringLiteral("mainWindow"));
    // Each step of the building is traced as it begins.
    engine_.log.Trace(u"Configuring main window");
    setMinimumSize(550, 300);
    setAttribute(Qt::WA_DeleteOnClose, false);
    createBars();
    createGadgets();
    engine_.whenIdle = [this] {
        if (!waiting_.empty()) {
            QMetaObject::invokeMethod(this, &MainWindow::runWaitingCommands, Qt::QueuedConnection);
        }
    };
}

MainWindow::~MainWindow() {
    engine_.whenIdle = nullptr;
}

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

// ---------------------------------------------------------------------------- gadget events

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

void MainWindow::closeForExit() {
    exiting_ = true;
    close();
}

void MainWindow::SetInterfaceDisabled(bool disabled) {
    interfaceLocked_ = disabled;
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

}  // namespace vlt
