#pragma once
// The one table of the main window's commands. A command is what a menu item, popup item,
// toolbar button or key reports; its number is fixed for good, because plugin menus and stored
// state use it, and it is written only here, as the value of its name in `Command`. Each row of
// the table gives a command its text, icon, keys and the action it runs; several commands (menu,
// popup, toolbar) can run the same action. The menus, popups, toolbar and shortcuts are built
// from the table, and the main window dispatches on the action. Free of Qt.

#include <span>

namespace vlt {

enum class Command : int {
    // File menu
    NewContainer = 0,
    OpenContainer = 1,
    Save = 2,
    SaveAs = 3,
    CloseContainer = 4,
    ChangePassword = 5,
    Configuration = 8,
    ClearRecentFiles = 9,
    Exit = 10,
    // Edit menu
    AddGroup = 11,
    RemoveGroup = 12,
    EditGroup = 13,
    AddEntry = 14,
    RemoveEntry = 15,
    EditEntry = 16,
    SelectAllEntries = 17,
    CopyAccount = 18,
    CopyUserName = 19,
    CopyPassword = 20,
    CopyUrl = 21,
    CopyComment = 22,
    CopyCreationDate = 23,
    CopyAccessDate = 24,
    CopyModificationDate = 25,
    CopyExpirationDate = 26,
    OpenUrl = 27,
    SaveAttachments = 28,
    MassModify = 29,
    // View menu
    MoveGroupUp = 30,
    MoveGroupDown = 31,
    MoveGroupLeft = 32,
    MoveGroupRight = 33,
    MoveEntryUp = 34,
    MoveEntryDown = 35,
    ExpandAllGroups = 36,
    CollapseAllGroups = 37,
    HideAccounts = 38,
    HideUserNames = 39,
    HidePasswords = 40,
    HideUrls = 41,
    ShowAccountColumn = 42,
    ShowUserNameColumn = 43,
    ShowPasswordColumn = 44,
    ShowUrlColumn = 45,
    ShowAttachmentColumn = 46,
    ShowCreatedColumn = 47,
    ShowAccessedColumn = 48,
    ShowModifiedColumn = 49,
    ShowExpiresColumn = 50,
    ViewAllEntries = 51,
    ViewExpiredEntries = 52,
    AlwaysOnTop = 53,
    SendToTray = 54,
    SortByAccount = 55,
    SortByUserName = 56,
    SortByPassword = 57,
    SortByUrl = 58,
    SortByAttachment = 59,
    SortByCreationDate = 60,
    SortByAccessDate = 61,
    SortByModificationDate = 62,
    SortByExpirationDate = 63,
    // Tools, Search and Help menus
    PluginManager = 64,
    Find = 65,
    FindNext = 66,
    HelpContents = 67,
    VisitHomepage = 68,
    About = 69,
    // The group tree's popup
    TreeAddGroup = 70,
    TreeRemoveGroup = 71,
    TreeEditGroup = 72,
    TreeMoveGroupUp = 73,
    TreeMoveGroupDown = 74,
    TreeMoveGroupLeft = 75,
    TreeMoveGroupRight = 76,
    TreeExpandGroup = 77,
    TreeCollapseGroup = 78,
    // The entry list's popup
    ListAddEntry = 82,
    ListRemoveEntry = 83,
    ListEditEntry = 84,
    ListSelectAll = 85,
    ListMassModify = 86,
    ListCopyUserName = 87,
    ListCopyPassword = 88,
    ListCopyUrl = 89,
    ListCopyComment = 90,
    ListOpenUrl = 91,
    ListSaveAttachments = 92,
    ListMoveEntryUp = 93,
    ListMoveEntryDown = 94,
    // The list header's popup
    HeaderAccountColumn = 95,
    HeaderUserNameColumn = 96,
    HeaderPasswordColumn = 97,
    HeaderUrlColumn = 98,
    HeaderAttachmentColumn = 99,
    HeaderCreatedColumn = 100,
    HeaderAccessedColumn = 101,
    HeaderModifiedColumn = 102,
    HeaderExpiresColumn = 103,
    // Toolbar buttons
    ToolbarNew = 104,
    ToolbarOpen = 105,
    ToolbarSave = 106,
    ToolbarAdd = 107,
    ToolbarRemove = 108,
    ToolbarMove = 109,
    ToolbarSearch = 110,
    ToolbarClipboard = 111,
    ToolbarSettings = 112,
    ToolbarHelp = 113,
    ToolbarAbout = 114,
    ToolbarExit = 115,
    // The time popup of the entry and mass-modify windows
    TimeNow = 116,
    TimeOneWeek = 117,
    TimeTwoWeeks = 118,
    TimeOneMonth = 119,
    TimeTwoMonths = 120,
    TimeSixMonths = 121,
    TimeOneYear = 122,
    TimeTwoYears = 123,
    TimeThreeYears = 124,
    // The tray icon's popup
    TrayRestore = 125,
    TrayExit = 126,
    // The toolbar's drop-down popups
    ToolbarAddGroup = 127,
    ToolbarAddEntry = 128,
    ToolbarRemoveGroup = 129,
    ToolbarRemoveEntry = 130,
    ToolbarMoveGroupUp = 131,
    ToolbarMoveGroupDown = 132,
    ToolbarMoveGroupLeft = 133,
    ToolbarMoveGroupRight = 134,
    ToolbarMoveEntryUp = 135,
    ToolbarMoveEntryDown = 136,
    ToolbarCopyAccount = 137,
    ToolbarCopyUserName = 138,
    ToolbarCopyPassword = 139,
    ToolbarCopyUrl = 140,
    ToolbarCopyComment = 141,
    // Numbered items: the recent-files submenu and the plugin items of the current menu bar.
    FirstRecentFile = 300,
    LastRecentFile = 309,
    FirstPlugin = 400,
};

// What the main window does for a command.
enum class Action {
    None,  // nothing is bound to the number
    CloseContainer,
    OpenContainer,
    SaveContainer,
    SaveContainerAs,
    ChangePassword,
    Configuration,
    ClearRecentFiles,
    Exit,
    AddGroup,
    RemoveGroup,
    EditGroup,
    AddEntry,
    RemoveEntry,
    EditEntry,
    SelectAllEntries,
    CopyField,  // argument: 0 account, 1 user, 2 password, 3 URL, 4 comment, 5..8 the dates
    OpenUrl,
    SaveAttachments,
    MassModify,
    MoveGroupUp,
    MoveGroupDown,
    MoveGroupLeft,
    MoveGroupRight,
    MoveEntryUp,
    MoveEntryDown,
    ExpandAllGroups,
    CollapseAllGroups,
    ExpandGroup,
    CollapseGroup,
    ToggleMask,     // argument: 0 accounts, 1 user names, 2 passwords, 3 URLs
    ToggleColumn,   // argument: the entry-list column
    SetViewFilter,  // argument: 0 all entries, 1 expired entries
    ToggleStayOnTop,
    SendToTray,
    RestoreFromTray,
    SortByColumn,  // argument: the entry-list column
    PluginManager,
    Find,
    FindNext,
    Help,
    VisitHomepage,
    About,
    DropDown,        // a toolbar button whose popup carries the commands
    PickTime,        // argument: the period's place in the time popup, 0 "Now" to 8 "3 years"
    OpenRecentFile,  // argument: the place in the recent-files list
    RunPlugin,       // argument: the place in the menu bar's plugin items
};

// An action and what it applies to.
struct ActionCall {
    Action action = Action::None;
    int argument = 0;
    friend bool operator==(const ActionCall&, const ActionCall&) = default;
};

// The icon column: a MenuIcons index, or none.
inline constexpr int kNoIcon = -1;

struct CommandRow {
    Command command;
    ActionCall call;
    const char* text;  // "&" marks the mnemonic; a shortcut label follows a tab
    int icon = kNoIcon;
    // The main window's keys for the command, QKeySequence portable text, "; " between two.
    const char* keys = nullptr;
    const char* toolTip = nullptr;  // toolbar buttons only
};

constexpr int CommandNumber(Command command) {
    return static_cast<int>(command);
}

// Every row, in number order.
std::span<const CommandRow> CommandRows();
// The row of a command of the table; none for the numbered items and unbound numbers.
const CommandRow* FindCommandRow(Command command);
// What a command does; Action::None for a number nothing is bound to.
ActionCall ActionOf(Command command);
// Whether this build carries the action out; the commands of the others are greyed.
bool IsAvailable(Action action);
inline bool IsAvailable(Command command) {
    return IsAvailable(ActionOf(command).action);
}
// Whether the action's items carry a check mark.
bool IsToggle(Action action);

// The recent-files submenu shows at most this many paths.
inline constexpr int kMaxRecentFiles =
    CommandNumber(Command::LastRecentFile) - CommandNumber(Command::FirstRecentFile) + 1;
// The item of the recent file at `position` (0 to kMaxRecentFiles - 1), and of the plugin item
// at `index`.
constexpr Command RecentFileCommand(int position) {
    return Command{CommandNumber(Command::FirstRecentFile) + position};
}
constexpr Command PluginCommand(int index) {
    return Command{CommandNumber(Command::FirstPlugin) + index};
}

}  // namespace vlt
