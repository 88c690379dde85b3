#pragma once
// The seam between the engine and the user. The engine's procedures keep their order of steps,
// messages and trace lines, and ask every question, show every message and refresh every view
// through this interface: the Qt shell implements it with windows, the tests with a script.
// A method that stands for one of the program's named procedures carries that name.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/crypto/SecureText.h"
#include "engine/settings/Settings.h"
#include "engine/vault/MassModify.h"
#include "engine/vault/RecordList.h"
#include "engine/vault/Records.h"
#include "engine/view/EntryRows.h"

namespace vlt {

// Message box icons, numbered as the message box flags of the plugin interface.
enum class MessageIcon : int {
    None = 0,
    Error = 16,
    Question = 32,
    Warning = 48,
    Information = 64
};

// Modes of the password dialog, numbered as the plugin interface numbers them.
enum PasswordMode : int {
    kPasswordSave = 0,
    kPasswordOpen = 1,
    kPasswordChange = 2,
    kPasswordExport = 3,
    kPasswordImport = 4,
};

// Modes of the group editor window.
enum GroupWindowMode : int {
    kGroupAdd = 0,
    kGroupEdit = 1,
};

// The main window as the exit stores it.
struct WindowLayout {
    bool minimized = false;
    int x = 0;  // position
    int y = 0;
    int width = 0;  // inner size
    int height = 0;
    int splitter1 = 0;  // the tree/list divider
    int splitter2 = 0;  // the upper/comment divider
    bool stayOnTop = false;
    std::array<int, kColumnCount> columnWidths{};  // the entry list's columns as shown now
};

class Desktop {
  public:
    virtual ~Desktop() = default;

    // Messages and questions.
    virtual void Message(std::u16string_view caption, std::u16string_view text,
                         MessageIcon icon) = 0;
    // Yes/No question; true for Yes.
    virtual bool AskYesNo(std::u16string_view caption, std::u16string_view text,
                          MessageIcon icon) = 0;

    // Requesters. Patterns are "Description (*.ext)|*.ext" pairs; "" means cancelled.
    virtual std::u16string OpenFileRequester(std::u16string_view title,
                                             std::u16string_view pattern) = 0;
    virtual std::u16string SaveFileRequester(std::u16string_view title, std::u16string_view pattern,
                                             std::u16string_view defaultName) = 0;
    // The password dialog in one of its modes; empty when cancelled.
    virtual SecureText AskPassword(PasswordMode mode) = 0;

    // Progress of a long operation, one at a time.
    virtual void Progress_Open(std::u16string_view title, std::u16string_view text) = 0;
    virtual void Progress_Update(int value) = 0;
    virtual void Progress_Close() = 0;
    // Handles pending window events and returns; called between key rounds and records.
    virtual void ProcessPendingEvents() = 0;

    // The main view.
    virtual void SetWindowTitle(std::u16string_view title) = 0;
    virtual void SetStatusField(int field, std::u16string_view text) = 0;
    // Item 0 of the group tree: the container's file name, or "New container".
    virtual void SetContainerLabel(std::u16string_view text) = 0;
    // Removes every group item, every entry row and the comment text.
    virtual void ClearViews() = 0;
    // Rebuilds the group tree from the vault's groups, selects the first group, expands all.
    virtual void RebuildGroupTree() = 0;
    // The entry list shows `rows` instead of what it showed, with row `selectRow` selected
    // (nothing selected when there is no such row). Selecting it so is no user event.
    virtual void ShowEntryRows(EntryRows rows, int selectRow) = 0;
    // The rows the entry list shows.
    virtual const EntryRows& ShownEntryRows() = 0;
    // The comment view shows `text`; "" empties it.
    virtual void ShowComment(std::u16string_view text) = 0;
    // Rebuilds the main menu (recent files changed).
    virtual void CreateMainMenu() = 0;

    // Selection queries. The selected group-tree item: -1 none, 0 the container's root item,
    // i >= 1 the group at index i - 1 of the vault's groups.
    virtual int SelectedGroupItem() = 0;
    // The entry list's current row, -1 when no row is current.
    virtual int SelectedEntryRow() = 0;

    // The main window's place, size, dividers and columns; none when there is no main window.
    virtual std::optional<WindowLayout> MainWindowLayout() = 0;
    // Closes the main window for good (the program is ending).
    virtual void CloseMainWindow() = 0;

    // Services.
    virtual void ClearClipboard() = 0;
    // Hands a web or mail address, as one argument, to the user's browser or mail program; false
    // when it could not be handed over.
    virtual bool OpenUrl(std::u16string_view url) = 0;
    // Ends the program with this exit code once the current event has been handled.
    virtual void EndProgram(int exitCode) = 0;

    // Group editing.
    // The group editor window, starting from `start`'s name and icon; in add mode a name that
    // `groups` already holds is refused. The chosen name (trimmed) and icon, none when cancelled.
    virtual std::optional<Group> OpenGroupWindow(const Group& start, GroupWindowMode mode,
                                                 const RecordList<Group>& groups) = 0;
    // Selects tree item `item` (0 the root item, i the group at index i - 1), scrolls it into
    // view and gives the tree the focus. Selecting it so is no user event.
    virtual void SelectGroupItem(int item) = 0;
    // The entry editor, in mode 0 (add) or 1 (edit), showing `input`. It works on its own copy,
    // so a record that goes meanwhile (the container closed) is never touched. Returns the
    // fields the user accepted, or none when cancelled.
    virtual std::optional<Entry> OpenEntryWindow(const Entry& input, int mode) = 0;
    // Plugins.
    // Asks every running plugin that can be asked to quit, and returns once those have ended.
    virtual void SendPluginQuitSignal() = 0;
    // Find and mass modify.
    // Makes the entry list's row the only selected and the current one; -1 selects none.
    // Selecting it so is no user event.
    virtual void SelectEntryRow(int row) = 0;
    // The entry list's selected rows, in row order.
    virtual std::vector<int> SelectedEntryRows() = 0;
    // The find window, filled from `options`. `search` runs on each Search press with what the
    // window shows; true closes the window. However the window closes, what it showed is left
    // in `options`.
    virtual void FindWindow(SearchOptions& options,
                            const std::function<bool(const SearchOptions&)>& search) = 0;
    // The mass-modify window with these items in its group box and `now` in its date field;
    // none when cancelled.
    virtual std::optional<MassModifyChoice> MassModifyWindow(const std::vector<GroupChoice>& groups,
                                                             std::int32_t now) = 0;
    // Attachments, copying fields and the clipboard.
    // The open-file requester with several files allowed; empty when cancelled.
    virtual std::vector<std::u16string> OpenFilesRequester(std::u16string_view title,
                                                           std::u16string_view pattern) = 0;
    // The folder requester showing `text`; "" when cancelled.
    virtual std::u16string PathRequester(std::u16string_view text) = 0;
    // Puts `text` on the clipboard, marked as secret so that clipboard managers keep no copy.
    virtual void SetClipboardText(std::u16string_view text) = 0;
    // Whether the clipboard still holds what SetClipboardText last put there.
    virtual bool ClipboardHoldsOwnText() = 0;
    virtual void MinimizeMainWindow() = 0;

    // Help.
    // Hands a local help page (an absolute path) to the user's browser as a file URL, never
    // through a shell; false when it could not be handed over.
    virtual bool OpenHelpPage(const std::string& path) = 0;
};

}  // namespace vlt
