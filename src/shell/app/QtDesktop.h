#pragma once
// The engine's Desktop done with Qt windows: message boxes through a Prompter, file requesters,
// the password dialog, the progress window, the main window's views, the clipboard.

#include <QMimeData>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <functional>

#include "engine/Desktop.h"
#include "shell/dialogs/EntryWindow.h"
#include "shell/dialogs/ProgressWindow.h"

class QWidget;

namespace vlt {

class MainWindow;
class Prompter;
class ToolSource;

class QtDesktop : public Desktop {
  public:
    // What the desktop asks the user for; tests replace these with scripted answers.
    struct Requesters {
        std::function<QString(QWidget* parent, const QString& title, const QString& filter)>
            openFile;
        std::function<QString(QWidget* parent, const QString& title, const QString& filter)>
            saveFile;
        std::function<SecureText(QWidget* parent, PasswordMode mode)> password;
        std::function<std::optional<Entry>(QWidget* parent, const Entry& input, int mode)> entry;
        std::function<QStringList(QWidget* parent, const QString& title, const QString& filter)>
            openFiles;
        std::function<QString(QWidget* parent, const QString& text)> folder;
    };

    explicit QtDesktop(Prompter& prompter);

    void attach(MainWindow* window) { window_ = window; }
    Requesters& requesters() { return requesters_; }
    Prompter& prompter() { return prompter_; }

    // How the program ends, and how a link reaches the browser or mail program (the application
    // points them at its own).
    std::function<void(int exitCode)> endProgram;
    std::function<bool(const QUrl& url)> openUrl;
    // Asks about and opens a link clicked in an editor's field (the application points it at
    // the engine's link opener, which the comment view uses too).
    std::function<void(const std::u16string& shown, const std::u16string& url)> openLink;
    // Opens a help topic: the help links of the password, entry and group windows.
    std::function<void(const QString& topic)> showHelp;
    // The loaded plugins: the password dialog's tools, and the quit signal at exit.
    ToolSource* tools = nullptr;
    std::function<void()> quitPlugins;
    // The entry window's password generator button.
    std::function<void()> generatePassword;
    // The entry editor's attachment commands (the application binds them to the engine).
    EntryAttachmentServices attachments;

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
    void SetWindowTitle(std::u16string_view title) override;
    void SetStatusField(int field, std::u16string_view text) override;
    void SetContainerLabel(std::u16string_view text) override;
    void ClearViews() override;
    void RebuildGroupTree() override;
    void ShowEntryRows(EntryRows rows, int selectRow) override;
    const EntryRows& ShownEntryRows() override;
    void ShowComment(std::u16string_view text) override;
    void CreateMainMenu() override;
    int SelectedGroupItem() override;
    int SelectedEntryRow() override;
    std::optional<WindowLayout> MainWindowLayout() override;
    void CloseMainWindow() override;
    void ClearClipboard() override;
    bool OpenUrl(std::u16string_view url) override;
    void EndProgram(int exitCode) override;
    std::optional<Entry> OpenEntryWindow(const Entry& input, int mode) override;

    // Group editing.
    std::optional<Group> OpenGroupWindow(const Group& start, GroupWindowMode mode,
                                         const RecordList<Group>& groups) override;
    void SelectGroupItem(int item) override;
    void SendPluginQuitSignal() override;
    void SelectEntryRow(int row) override;
    std::vector<int> SelectedEntryRows() override;
    void FindWindow(SearchOptions& options,
                    const std::function<bool(const SearchOptions&)>& search) override;
    std::optional<MassModifyChoice> MassModifyWindow(const std::vector<GroupChoice>& groups,
                                                     std::int32_t now) override;
    std::vector<std::u16string> OpenFilesRequester(std::u16string_view title,
                                                   std::u16string_view pattern) override;
    std::u16string PathRequester(std::u16string_view text) override;
    void SetClipboardText(std::u16string_view text) override;
    bool ClipboardHoldsOwnText() override;
    void MinimizeMainWindow() override;

    bool OpenHelpPage(const std::string& path) override;

    // "Name (*.ext)|*.ext|..." as a Qt file-dialog filter.
    static QString qtFilter(std::u16string_view pattern);

  private:
    QWidget* dialogParent() const;
    void onWindow(const std::function<void(MainWindow&)>& action);

    Prompter& prompter_;
    MainWindow* window_ = nullptr;
    ProgressPresenter progress_;
    Requesters requesters_;
    QPointer<QMimeData> clipboardCopy_;  // what the last copy put on the clipboard
};

}  // namespace vlt
