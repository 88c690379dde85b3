#include "shell/commands/CommandTable.h"

#include <algorithm>
#include <iterator>

#include "engine/settings/Settings.h"

namespace vlt {

namespace {

using enum Command;
using A = Action;

constexpr CommandRow kRows[] = {
    // File menu
    {NewContainer, {A::CloseContainer}, "&New Container\tCtrl+N", 0, "Ctrl+N; Ctrl+W"},
    {OpenContainer, {A::OpenContainer}, "&Open Container\tCtrl+O", 1, "Ctrl+O"},
    {Save, {A::SaveContainer}, "&Save\tCtrl+S", 2, "Ctrl+S"},
    {SaveAs, {A::SaveContainerAs}, "Save &As"},
    {CloseContainer, {A::CloseContainer}, "&Close\tCtrl+W", 3},
    {ChangePassword, {A::ChangePassword}, "Change &Password", 4},
    {Configuration, {A::Configuration}, "Program C&onfiguration", 7},
    {ClearRecentFiles, {A::ClearRecentFiles}, "Clear &List", 8},
    {Exit, {A::Exit}, "E&xit", 9},
    // Edit menu
    {AddGroup, {A::AddGroup}, "&Add Group\tCtrl+Shift+A", 10, "Ctrl+Shift+A"},
    {RemoveGroup, {A::RemoveGroup}, "&Remove Group\tCtrl+Shift+R", 11, "Ctrl+Shift+R"},
    {EditGroup, {A::EditGroup}, "&Edit Selected Group\tCtrl+Shift+E", 12, "Ctrl+Shift+E"},
    {AddEntry, {A::AddEntry}, "&Add New Entry\tCtrl+A", 13, "Ctrl+A"},
    {RemoveEntry, {A::RemoveEntry}, "&Remove Selected Entry\tCtrl+R", 14, "Ctrl+R"},
    {EditEntry, {A::EditEntry}, "&Edit/View Selected Entry\tCtrl+E", 15, "Ctrl+E"},
    {SelectAllEntries, {A::SelectAllEntries}, "&Select All Entries", 16},
    {CopyAccount, {A::CopyField, 0}, "&Account", 17},
    {CopyUserName, {A::CopyField, 1}, "User &Name", 18},
    {CopyPassword, {A::CopyField, 2}, "&Password", 19},
    {CopyUrl, {A::CopyField, 3}, "&URL", 20},
    {CopyComment, {A::CopyField, 4}, "&Comment", 21},
    {CopyCreationDate, {A::CopyField, 5}, "&Creation Date", 22},
    {CopyAccessDate, {A::CopyField, 6}, "&Access Date", 23},
    {CopyModificationDate, {A::CopyField, 7}, "&Modification Date", 24},
    {CopyExpirationDate, {A::CopyField, 8}, "&Expiration Date", 25},
    {OpenUrl, {A::OpenUrl}, "&Open URL", 26},
    {SaveAttachments, {A::SaveAttachments}, "&Save Attachment(s)", 27},
    {MassModify, {A::MassModify}, "&Mass Modify Entries\tCtrl+M", 28, "Ctrl+M"},
    // View menu
    {MoveGroupUp, {A::MoveGroupUp}, "&Up\tCtrl+Up", 29, "Ctrl+Up"},
    {MoveGroupDown, {A::MoveGroupDown}, "&Down\tCtrl+Down", 30, "Ctrl+Down"},
    {MoveGroupLeft, {A::MoveGroupLeft}, "&Left\tCtrl+Left", 31, "Ctrl+Left"},
    {MoveGroupRight, {A::MoveGroupRight}, "&Right\tCtrl+Right", 32, "Ctrl+Right"},
    {MoveEntryUp, {A::MoveEntryUp}, "&Up\tShift+Up", 29, "Shift+Up"},
    {MoveEntryDown, {A::MoveEntryDown}, "&Down\tShift+Down", 30, "Shift+Down"},
    {ExpandAllGroups, {A::ExpandAllGroups}, "&Expand All Groups\tShift+E", 33, "Shift+E"},
    {CollapseAllGroups, {A::CollapseAllGroups}, "&Collapse All Groups\tShift+C", 34, "Shift+C"},
    {HideAccounts, {A::ToggleMask, 0}, "Hide &Accounts"},
    {HideUserNames, {A::ToggleMask, 1}, "Hide &User Names\tCtrl+J", kNoIcon, "Ctrl+J"},
    {HidePasswords, {A::ToggleMask, 2}, "Hide &Passwords\tCtrl+H", kNoIcon, "Ctrl+H"},
    {HideUrls, {A::ToggleMask, 3}, "Hide &URLs"},
    {ShowAccountColumn, {A::ToggleColumn, kColAccounts}, "&Account"},
    {ShowUserNameColumn, {A::ToggleColumn, kColUserNames}, "&User Name"},
    {ShowPasswordColumn, {A::ToggleColumn, kColPasswords}, "&Password"},
    {ShowUrlColumn, {A::ToggleColumn, kColURLs}, "&URL"},
    {ShowAttachmentColumn, {A::ToggleColumn, kColAttachments}, "&Attachments"},
    {ShowCreatedColumn, {A::ToggleColumn, kColCreationDates}, "&Created"},
    {ShowAccessedColumn, {A::ToggleColumn, kColAccessDates}, "&Accessed"},
    {ShowModifiedColumn, {A::ToggleColumn, kColModificationDates}, "&Modified"},
    {ShowExpiresColumn, {A::ToggleColumn, kColExpirationDates}, "&Expires"},
    {ViewAllEntries, {A::SetViewFilter, 0}, "&All Entries"},
    {ViewExpiredEntries, {A::SetViewFilter, 1}, "&Expired Entries"},
    {AlwaysOnTop, {A::ToggleStayOnTop}, "Always On &Top"},
    {SendToTray, {A::SendToTray}, "&Send To Tray\tCtrl+T", 35, "Ctrl+T"},
    {SortByAccount, {A::SortByColumn, kColAccounts}, "By &Account", 17},
    {SortByUserName, {A::SortByColumn, kColUserNames}, "By &User Name", 18},
    {SortByPassword, {A::SortByColumn, kColPasswords}, "By &Password", 19},
    {SortByUrl, {A::SortByColumn, kColURLs}, "By &URL", 20},
    {SortByAttachment, {A::SortByColumn, kColAttachments}, "By &Attachment", 21},
    {SortByCreationDate, {A::SortByColumn, kColCreationDates}, "By &Creation Date", 22},
    {SortByAccessDate, {A::SortByColumn, kColAccessDates}, "By &Access Date", 23},
    {SortByModificationDate, {A::SortByColumn, kColModificationDates}, "By &Modification Date", 24},
    {SortByExpirationDate, {A::SortByColumn, kColExpirationDates}, "By &Expiration Date", 25},
    // Tools, Search and Help menus
    {PluginManager, {A::PluginManager}, "Plugin &manager", 36},
    {Find, {A::Find}, "&Find\tCtrl+F", 37, "Ctrl+F"},
    {FindNext, {A::FindNext}, "Find &Next\tF3", 38, "F3"},
    {HelpContents, {A::Help}, "&Contents\tF1", 39, "F1"},
    {VisitHomepage, {A::VisitHomepage}, "&Visit Homepage", 40},
    {About, {A::About}, "&About", 41},
    // The group tree's popup
    {TreeAddGroup, {A::AddGroup}, "Add Group\tCtrl+Shift+A", 10},
    {TreeRemoveGroup, {A::RemoveGroup}, "Remove Group\tCtrl+Shift+R", 11},
    {TreeEditGroup, {A::EditGroup}, "Edit Group\tCtrl+Shift+E", 12},
    {TreeMoveGroupUp, {A::MoveGroupUp}, "Move Up\tCtrl+Up", 29},
    {TreeMoveGroupDown, {A::MoveGroupDown}, "Move Down\tCtrl+Down", 30},
    {TreeMoveGroupLeft, {A::MoveGroupLeft}, "Move Left\tCtrl+Left", 31},
    {TreeMoveGroupRight, {A::MoveGroupRight}, "Move Right\tCtrl+Right", 32},
    {TreeExpandGroup, {A::ExpandGroup}, "Expand", 33},
    {TreeCollapseGroup, {A::CollapseGroup}, "Collapse", 34},
    // The entry list's popup
    {ListAddEntry, {A::AddEntry}, "Add New Entry\tCtrl+A", 13},
    {ListRemoveEntry, {A::RemoveEntry}, "Remove Selected Entry\tCtrl+R", 14},
    {ListEditEntry, {A::EditEntry}, "Edit/View Selected Entry\tCtrl+E", 15},
    {ListSelectAll, {A::SelectAllEntries}, "Select All Entries", 16},
    {ListMassModify, {A::MassModify}, "Mass Modify Entries\tCtrl+M", 28},
    {ListCopyUserName, {A::CopyField, 1}, "Copy User Name", 18},
    {ListCopyPassword, {A::CopyField, 2}, "Copy Password", 19},
    {ListCopyUrl, {A::CopyField, 3}, "Copy URL", 20},
    {ListCopyComment, {A::CopyField, 4}, "Copy Comment", 21},
    {ListOpenUrl, {A::OpenUrl}, "Open URL", 26},
    {ListSaveAttachments, {A::SaveAttachments}, "Save Attachment(s)", 27},
    {ListMoveEntryUp, {A::MoveEntryUp}, "Move Up\tShift+Up", 29},
    {ListMoveEntryDown, {A::MoveEntryDown}, "Move Down\tShift+Down", 30},
    // The list header's popup
    {HeaderAccountColumn, {A::ToggleColumn, kColAccounts}, "Account"},
    {HeaderUserNameColumn, {A::ToggleColumn, kColUserNames}, "User name"},
    {HeaderPasswordColumn, {A::ToggleColumn, kColPasswords}, "Password"},
    {HeaderUrlColumn, {A::ToggleColumn, kColURLs}, "URL"},
    {HeaderAttachmentColumn, {A::ToggleColumn, kColAttachments}, "Attachments"},
    {HeaderCreatedColumn, {A::ToggleColumn, kColCreationDates}, "Created"},
    {HeaderAccessedColumn, {A::ToggleColumn, kColAccessDates}, "Accessed"},
    {HeaderModifiedColumn, {A::ToggleColumn, kColModificationDates}, "Modified"},
    {HeaderExpiresColumn, {A::ToggleColumn, kColExpirationDates}, "Expires"},
    // Toolbar buttons
    {ToolbarNew, {A::CloseContainer}, "New", 0, nullptr, "New container"},
    {ToolbarOpen, {A::OpenContainer}, "Open", 1, nullptr, "Open container"},
    {ToolbarSave, {A::SaveContainer}, "Save", 2, nullptr, "Save container"},
    {ToolbarAdd, {A::DropDown}, "Add new", 10, nullptr, "Add new item / group"},
    {ToolbarRemove, {A::DropDown}, "Remove", 11, nullptr, "Remove item / group"},
    {ToolbarMove, {A::DropDown}, "Move", 42, nullptr, "Move item / group"},
    {ToolbarSearch, {A::Find}, "Search", 37, nullptr, "Find entries/groups"},
    {ToolbarClipboard, {A::DropDown}, "Clipboard", 43, nullptr, "Copy information to clipboard"},
    {ToolbarSettings, {A::Configuration}, "Settings", 7, nullptr, "Change the program's settings"},
    {ToolbarHelp, {A::Help}, "Help", 39, nullptr, "Help"},
    {ToolbarAbout, {A::About}, "About", 41, nullptr, "About VLT"},
    {ToolbarExit, {A::Exit}, "Exit", 9, nullptr, "Exit VLT"},
    // The time popup
    {TimeNow, {A::PickTime, 0}, "Now"},
    {TimeOneWeek, {A::PickTime, 1}, "1 week"},
    {TimeTwoWeeks, {A::PickTime, 2}, "2 weeks"},
    {TimeOneMonth, {A::PickTime, 3}, "1 month"},
    {TimeTwoMonths, {A::PickTime, 4}, "2 months"},
    {TimeSixMonths, {A::PickTime, 5}, "6 months"},
    {TimeOneYear, {A::PickTime, 6}, "1 year"},
    {TimeTwoYears, {A::PickTime, 7}, "2 years"},
    {TimeThreeYears, {A::PickTime, 8}, "3 years"},
    // The tray icon's popup
    {TrayRestore, {A::RestoreFromTray}, "&Restore VLT", 35},
    {TrayExit, {A::Exit}, "&Exit", 9},
    // The toolbar's drop-down popups
    {ToolbarAddGroup, {A::AddGroup}, "&Group", 10},
    {ToolbarAddEntry, {A::AddEntry}, "&Entry", 13},
    {ToolbarRemoveGroup, {A::RemoveGroup}, "&Group", 11},
    {ToolbarRemoveEntry, {A::RemoveEntry}, "&Entry", 14},
    {ToolbarMoveGroupUp, {A::MoveGroupUp}, "&Group up", 29},
    {ToolbarMoveGroupDown, {A::MoveGroupDown}, "&Group down", 30},
    {ToolbarMoveGroupLeft, {A::MoveGroupLeft}, "&Group left", 31},
    {ToolbarMoveGroupRight, {A::MoveGroupRight}, "&Group right", 32},
    {ToolbarMoveEntryUp, {A::MoveEntryUp}, "&Entry up", 29},
    {ToolbarMoveEntryDown, {A::MoveEntryDown}, "&Entry down", 30},
    {ToolbarCopyAccount, {A::CopyField, 0}, "&Copy account", 17},
    {ToolbarCopyUserName, {A::CopyField, 1}, "&Copy user name", 18},
    {ToolbarCopyPassword, {A::CopyField, 2}, "&Copy password", 19},
    {ToolbarCopyUrl, {A::CopyField, 3}, "&Copy URL", 20},
    {ToolbarCopyComment, {A::CopyField, 4}, "&Copy comment", 21},
};

// Looked up by halving, so the rows must stay in strictly rising number order.
static_assert(std::is_sorted(std::begin(kRows), std::end(kRows),
                             [](const CommandRow& a, const CommandRow& b) {
                                 return CommandNumber(a.command) <= CommandNumber(b.command);
                             }));

}  // namespace

std::span<const CommandRow> CommandRows() {
    return kRows;
}

const CommandRow* FindCommandRow(Command command) {
    const auto* row = std::lower_bound(
        std::begin(kRows), std::end(kRows), command,
        [](const CommandRow& r, Command c) { return CommandNumber(r.command) < CommandNumber(c); });
    return row != std::end(kRows) && row->command == command ? row : nullptr;
}

ActionCall ActionOf(Command command) {
    if (const CommandRow* row = FindCommandRow(command)) {
        return row->call;
    }
    const int n = CommandNumber(command);
    const int firstRecent = CommandNumber(Command::FirstRecentFile);
    if (n >= firstRecent && n <= CommandNumber(Command::LastRecentFile)) {
        return {Action::OpenRecentFile, n - firstRecent};
    }
    if (n >= CommandNumber(Command::FirstPlugin)) {
        return {Action::RunPlugin, n - CommandNumber(Command::FirstPlugin)};
    }
    return {};
}

bool IsAvailable(Action action) {
    switch (action) {
        case Action::CloseContainer:
        case Action::OpenContainer:
        case Action::SaveContainer:
        case Action::SaveContainerAs:
        case Action::ChangePassword:
        case Action::ClearRecentFiles:
        case Action::Exit:
        case Action::SelectAllEntries:
        case Action::ExpandAllGroups:
        case Action::CollapseAllGroups:
        case Action::ExpandGroup:
        case Action::CollapseGroup:
        case Action::ToggleMask:
        case Action::ToggleColumn:
        case Action::SetViewFilter:
        case Action::ToggleStayOnTop:
        case Action::SortByColumn:
        case Action::DropDown:
        case Action::OpenRecentFile:
        // Group editing
        case Action::AddGroup:
        case Action::EditGroup:
        case Action::RemoveGroup:
        case Action::MoveGroupUp:
        case Action::MoveGroupDown:
        case Action::MoveGroupLeft:
        case Action::MoveGroupRight:
            return true;
        // The entry operations and the entry editor's time popup.
        case Action::AddEntry:
        case Action::EditEntry:
        case Action::RemoveEntry:
        case Action::MoveEntryUp:
        case Action::MoveEntryDown:
        case Action::PickTime:
            return true;
        // Plugins.
        case Action::RunPlugin:
        case Action::PluginManager:
            return true;
        // Find and mass modify.
        case Action::Find:
        case Action::FindNext:
        case Action::MassModify:
            return true;
        // Copying fields, opening URLs, attachments.
        case Action::CopyField:
        case Action::OpenUrl:
        case Action::SaveAttachments:
        // Configuration, tray, help and about.
        case Action::Configuration:
        case Action::SendToTray:
        case Action::RestoreFromTray:
        case Action::Help:
        case Action::VisitHomepage:
        case Action::About:
            return true;
        default:
            return false;  // their windows and services are not built yet
    }
}

bool IsToggle(Action action) {
    return action == Action::ToggleMask || action == Action::ToggleColumn ||
           action == Action::SetViewFilter || action == Action::ToggleStayOnTop;
}

}  // namespace vlt
