#include "common/Utf.h"
#include "shell/main/MainWindow.h"

#include <QUrl>

#include "engine/container/Container.h"
#include "engine/session/ExitSequence.h"
#include "engine/session/Help.h"
#include "engine/session/PasswordChange.h"
#include "engine/session/RecentFileCommands.h"
#include "engine/vault/Attachments.h"
#include "engine/vault/GroupOperations.h"
#include "engine/vault/MassModify.h"
#include "engine/view/CopyField.h"
#include "engine/view/EntryList.h"
#include "engine/view/EntryOperations.h"
#include "engine/view/Find.h"
#include "engine/view/SortEntries.h"
#include "shell/app/PluginShell.h"
#include "shell/app/QtText.h"
#include "shell/commands/MainMenu.h"
#include "shell/commands/PopupMenus.h"
#include "shell/dialogs/AboutWindow.h"
#include "shell/main/Configuration.h"
#include "shell/main/EntryListHeader.h"
#include "shell/main/EntryListView.h"
#include "shell/main/TrayIcon.h"

namespace vlt {

void MainWindow::dispatch(Command command) {
    perform(ActionOf(command));
}

namespace {

// Commands given while a load or a save runs wait for it; a few are kept, in the order given,
// and further ones (a key held down meanwhile) are dropped.
constexpr std::size_t kMaxWaitingCommands = 4;

}  // namespace

void MainWindow::perform(ActionCall call) {
    // While an exporter or importer works on the vault the interface is greyed, and what is
    // given meanwhile (a shortcut, a tray menu item) is dropped as the greyed menus promise.
    if (!IsAvailable(call.action) || interfaceLocked_ || exiting_ ||
        waiting_.size() >= kMaxWaitingCommands) {
        return;
    }
    waiting_.push_back(call);
    runWaitingCommands();
}

void MainWindow::runWaitingCommands() {
    // Another command, a load or a save pumps events while it runs: what arrives meanwhile
    // waits, and the engine calls back once it is idle again.
    while (!waiting_.empty() && !engine_.busy() && !exiting_) {
        const ActionCall call = waiting_.front();
        waiting_.pop_front();
        carryOut(call);
    }
}

void MainWindow::carryOut(ActionCall call) {
    Engine::BusyGuard guard(engine_);
    // Each family carries out its own commands and passes the others on. The drop-down buttons
    // only carry their popups: no family takes them.
    using CommandFamily = bool (MainWindow::*)(ActionCall);
    static constexpr CommandFamily kFamilies[] = {
        &MainWindow::performFileCommand, &MainWindow::performGroupCommand,
        &MainWindow::performEntryCommand, &MainWindow::performViewCommand,
        &MainWindow::performToolCommand};
    for (CommandFamily family : kFamilies) {
        if ((this->*family)(call)) {
            break;
        }
    }
    updateCounts();
}

bool MainWindow::performFileCommand(ActionCall call) {
    switch (call.action) {
        case Action::CloseContainer:
            CloseContainer(engine_, kCloseAsking);
            return true;
        case Action::OpenContainer:
            OpenContainer(engine_, u"");
            return true;
        case Action::SaveContainer:
            SaveContainer(engine_);
            return true;
        case Action::SaveContainerAs:
            SaveContainerAs(engine_, u"", kSaveAs);
            return true;
        case Action::ChangePassword:
            ChangePassword(engine_);
            return true;
        case Action::OpenRecentFile:
            OpenRecentFile(engine_, call.argument);
            return true;
        case Action::ClearRecentFiles:
            ClearRecentFiles(engine_);
            return true;
        case Action::Exit:
            ConfirmExit(engine_);
            return true;
        default:
            return false;
    }
}

bool MainWindow::performGroupCommand(ActionCall call) {
    switch (call.action) {
        case Action::AddGroup:
            Group_Add(engine_);
            return true;
        case Action::EditGroup:
            Group_Edit(engine_);
            return true;
        case Action::RemoveGroup:
            Group_Remove(engine_);
            return true;
        case Action::MoveGroupUp:
            Group_MoveUp(engine_);
            return true;
        case Action::MoveGroupDown:
            Group_MoveDown(engine_);
            return true;
        case Action::MoveGroupLeft:
            Group_MoveLeft(engine_);
            return true;
        case Action::MoveGroupRight:
            Group_MoveRight(engine_);
            return true;
        case Action::ExpandGroup:
        case Action::CollapseGroup:
            expandSelectedGroup(call.action == Action::ExpandGroup);
            return true;
        case Action::ExpandAllGroups:
            ExpandAllTreeItems();
            return true;
        case Action::CollapseAllGroups:
            CollapseAllTreeItems();
            return true;
        default:
            return false;
    }
}

// The entries and what is done with them: copying fields, opening URLs, attachments, finding.
bool MainWindow::performEntryCommand(ActionCall call) {
    switch (call.action) {
        case Action::AddEntry:
            Entry_Add(engine_);
            return true;
        case Action::EditEntry:
            Entry_Edit(engine_);
            return true;
        case Action::RemoveEntry:
            Entry_Remove(engine_);
            return true;
        case Action::MoveEntryUp:
            Entry_MoveUp(engine_);
            return true;
        case Action::MoveEntryDown:
            Entry_MoveDown(engine_);
            return true;
        case Action::SelectAllEntries:
            list_->selectAll();
            list_->setFocus();
            return true;
        case Action::CopyField:
            CopyField(engine_, call.argument);
            return true;
        case Action::OpenUrl:
            FieldLaunchURL(engine_);
            return true;
        case Action::SaveAttachments:
            SaveAttachments(engine_);
            return true;
        case Action::Find:
            OpenFindWindow(engine_);
            return true;
        case Action::FindNext:
            FindNextEntry(engine_, 0);
            return true;
        case Action::MassModify:
            OpenMassModifyWindow(engine_);
            return true;
        default:
            return false;
    }
}

// How the vault is shown, and where the window is.
bool MainWindow::performViewCommand(ActionCall call) {
    switch (call.action) {
        case Action::ToggleMask:
            toggleMask(call.argument);
            return true;
        case Action::ToggleColumn:
            toggleColumn(call.argument);
            return true;
        case Action::SetViewFilter:
            setViewFilter(call.argument);
            return true;
        case Action::SortByColumn:
            sortBy(call.argument);
            return true;
        case Action::ToggleStayOnTop:
            setStayOnTop(!stayOnTop_);
            return true;
        case Action::SendToTray:
            tray_->SendToTray();
            return true;
        case Action::RestoreFromTray:
            tray_->RestoreFromTray();
            return true;
        default:
            return false;
    }
}

// Plugins, configuration, help and about.
bool MainWindow::performToolCommand(ActionCall call) {
    switch (call.action) {
        case Action::PluginManager:
            if (plugins_ != nullptr) {
                plugins_->openManager(*this);
            }
            return true;
        case Action::RunPlugin:
            runPlugin(call.argument);
            return true;
        case Action::Configuration:
            OpenSettingsWindow(engine_, *this, programFile_, paths_);
            return true;
        case Action::Help:
            RunHelp(engine_, u"Introduction.html", paths_.ProgramFolder);
            return true;
        case Action::VisitHomepage:
            engine_.desktop.OpenUrl(u16(AboutWindow::kHomePage));
            return true;
        case Action::About:
            ShowAbout(this, paths_.PortableMode == 1,
                      [this](const QUrl& url) { engine_.desktop.OpenUrl(u16s(url.toString())); });
            return true;
        default:
            return false;
    }
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

void MainWindow::runPlugin(int menuPlace) {
    const auto& items = mainMenu_->pluginMenu();
    if (plugins_ != nullptr && menuPlace >= 0 && menuPlace < static_cast<int>(items.size())) {
        plugins_->run(items[static_cast<std::size_t>(menuPlace)].pluginId, *this);
    }
}

}  // namespace vlt
