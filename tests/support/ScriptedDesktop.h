#pragma once
// A Desktop that records everything the engine shows and answers its questions from queues, so
// whole user flows run in tests without a window.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "engine/Desktop.h"

namespace vlt::test {

struct ShownMessage {
    std::u16string caption;
    std::u16string text;
    MessageIcon icon;
    bool question;
};

class ScriptedDesktop : public Desktop {
  public:
    // Answers, consumed in order. An unscripted question is answered No / cancel and recorded in
    // `unexpected`.
    std::deque<bool> yesNoAnswers;
    std::deque<std::u16string> openFileAnswers;
    std::deque<std::u16string> saveFileAnswers;
    std::deque<std::u16string> passwordAnswers;
    // The entry editor's results; none stands for Cancel.
    std::deque<std::optional<Entry>> entryWindowAnswers;

    // What the engine did.
    std::vector<ShownMessage> messages;
    std::vector<PasswordMode> passwordModes;
    std::vector<std::string> unexpected;
    std::vector<int> progressValues;
    int progressOpen = 0;
    int pendingEventCalls = 0;
    std::u16string title;
    std::u16string status[3];
    std::u16string containerLabel;
    int viewsCleared = 0;
    int treeRebuilds = 0;
    int listRefreshes = 0;
    int menuRebuilds = 0;
    EntryRows entryRows;  // what the entry list shows
    std::u16string comment;
    int clipboardClears = 0;
    std::vector<std::u16string> openedUrls;
    bool openUrlResult = true;  // whether the browser starts
    bool mainWindowClosed = false;
    std::vector<int> endCodes;
    // What the entry editor was opened on, and in which mode.
    std::vector<Entry> entryWindowInputs;
    std::vector<int> entryWindowModes;
    int pluginQuitSignals = 0;  // SendPluginQuitSignal calls
    // The view as the user left it.
    int selectedGroupItem = -1;
    int selectedEntryRow = -1;
    std::optional<WindowLayout> windowLayout = WindowLayout{};
    // Called from ProcessPendingEvents, to act while an operation is under way.
    std::function<void()> onPendingEvents;
    // Called while the entry editor is open, before it answers.
    std::function<void()> onEntryWindow;
    // Called while a question is asked, before it is answered.
    std::function<void()> onQuestion;

    void Message(std::u16string_view caption, std::u16string_view text, MessageIcon icon) override;
    bool AskYesNo(std::u16string_view caption, std::u16string_view text, MessageIcon icon) override;
    std::u16string OpenFileRequester(std::u16string_view title,
                                     std::u16string_view pattern) override;
    std::u16string SaveFileRequester(std::u16string_view title, std::u16string_view pattern,
                                     std::u16string_view defaultName) override;
    SecureText AskPassword(PasswordMode mode) override;
    void Progress_Open(std::u16string_view title, std::u16string_view text) override;
    void Progress_Update(int value) override;
    void Progress_Close() override;
    void ProcessPendingEvents() override;
    void SetWindowTitle(std::u16string_view text) override { title = text; }
    void SetStatusField(int field, std::u16string_view text) override;
    void SetContainerLabel(std::u16string_view text) override { containerLabel = text; }
    void ClearViews() override;
    void RebuildGroupTree() override { ++treeRebuilds; }
    void ShowEntryRows(EntryRows rows, int selectRow) override;
    const EntryRows& ShownEntryRows() override { return entryRows; }
    void ShowComment(std::u16string_view text) override { comment = text; }
    void CreateMainMenu() override { ++menuRebuilds; }
    int SelectedGroupItem() override { return selectedGroupItem; }
    int SelectedEntryRow() override { return selectedEntryRow; }
    std::optional<WindowLayout> MainWindowLayout() override { return windowLayout; }
    void CloseMainWindow() override { mainWindowClosed = true; }
    void ClearClipboard() override {
        ++clipboardClears;
        clipboardText.clear();
        clipboardOwned = false;
    }
    bool OpenUrl(std::u16string_view url) override {
        openedUrls.emplace_back(url);
        return openUrlResult;
    }
    void EndProgram(int exitCode) override { endCodes.push_back(exitCode); }
    std::optional<Entry> OpenEntryWindow(const Entry& input, int mode) override;

    // Group editing: the editor's answers, consumed in order (none = cancelled; an unscripted
    // window is cancelled and recorded in `unexpected`), and what it was opened with.
    struct GroupWindowCall {
        Group start;
        GroupWindowMode mode;
    };
    std::deque<std::optional<Group>> groupWindowAnswers;
    std::vector<GroupWindowCall> groupWindowCalls;
    // Called while the window is open, to act meanwhile (an auto-close).
    std::function<void()> onGroupWindow;
    std::optional<Group> OpenGroupWindow(const Group& start, GroupWindowMode mode,
                                         const RecordList<Group>& groups) override;
    void SelectGroupItem(int item) override { selectedGroupItem = item; }
    void SendPluginQuitSignal() override { ++pluginQuitSignals; }

    // Find and mass modify. The find window presses Search with each of `findPresses` in turn
    // until one closes it; when they run out it is cancelled, showing `findShownAtCancel` if set.
    std::deque<SearchOptions> findPresses;
    std::optional<SearchOptions> findShownAtCancel;
    std::vector<SearchOptions> findWindowFills;  // what each opening showed
    std::deque<std::optional<MassModifyChoice>> massModifyAnswers;
    std::vector<GroupChoice> massModifyGroups;  // the group box of the last opening
    std::int32_t massModifyNow = 0;
    std::vector<int> selectedEntryRows;

    void SelectEntryRow(int row) override;
    std::vector<int> SelectedEntryRows() override { return selectedEntryRows; }
    void FindWindow(SearchOptions& options,
                    const std::function<bool(const SearchOptions&)>& search) override;
    std::optional<MassModifyChoice> MassModifyWindow(const std::vector<GroupChoice>& groups,
                                                     std::int32_t now) override;

    // Attachments and the clipboard. Requester answers are consumed in order; an unscripted
    // requester is cancelled and recorded in `unexpected`.
    std::deque<std::vector<std::u16string>> openFilesAnswers;
    std::deque<std::u16string> pathAnswers;
    std::u16string clipboardText;  // what the clipboard holds
    bool clipboardOwned = false;   // still the text the program put there
    std::vector<std::u16string> clipboardCopies;
    int minimizeCalls = 0;

    std::vector<std::u16string> OpenFilesRequester(std::u16string_view title,
                                                   std::u16string_view pattern) override;
    std::u16string PathRequester(std::u16string_view text) override;
    void SetClipboardText(std::u16string_view text) override;
    bool ClipboardHoldsOwnText() override { return clipboardOwned; }
    void MinimizeMainWindow() override { ++minimizeCalls; }

    // Help pages handed to the browser, by path.
    std::vector<std::string> openedHelpPages;
    bool OpenHelpPage(const std::string& path) override {
        openedHelpPages.push_back(path);
        return true;
    }

    // The texts of every message and question shown so far, in order.
    std::vector<std::u16string> messageTexts() const;
    const ShownMessage* lastMessage() const;
};

}  // namespace vlt::test
