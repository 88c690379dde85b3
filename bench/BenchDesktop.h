#pragma once
// A desktop with nobody in front of it: answers Yes, gives the password and file it was told,
// and keeps the last message so the benchmark can report a refusal.

#include <string>

#include "engine/Desktop.h"

namespace vlt::bench {

class BenchDesktop : public Desktop {
  public:
    std::u16string password;
    std::u16string file;
    std::u16string lastMessage;
    int selectedGroupItem = -1;
    EntryRows entryRows;

    void Message(std::u16string_view, std::u16string_view text, MessageIcon) override {
        lastMessage = text;
    }
    bool AskYesNo(std::u16string_view, std::u16string_view, MessageIcon) override { return true; }
    std::u16string OpenFileRequester(std::u16string_view, std::u16string_view) override {
        return file;
    }
    std::u16string SaveFileRequester(std::u16string_view, std::u16string_view,
                                     std::u16string_view) override {
        return file;
    }
    SecureText AskPassword(PasswordMode) override { return SecureText(password); }
    void Progress_Open(std::u16string_view, std::u16string_view) override {}
    void Progress_Update(int) override {}
    void Progress_Close() override {}
    void ProcessPendingEvents() override {}
    void SetWindowTitle(std::u16string_view) override {}
    void SetStatusField(int, std::u16string_view) override {}
    void SetContainerLabel(std::u16string_view) override {}
    void ClearViews() override {}
    void RebuildGroupTree() override {}
    void ShowEntryRows(EntryRows rows, int) override { entryRows = std::move(rows); }
    const EntryRows& ShownEntryRows() override { return entryRows; }
    void ShowComment(std::u16string_view) override {}
    void CreateMainMenu() override {}
    int SelectedGroupItem() override { return selectedGroupItem; }
    int SelectedEntryRow() override { return -1; }
    std::optional<WindowLayout> MainWindowLayout() override { return std::nullopt; }
    void CloseMainWindow() override {}
    void ClearClipboard() override {}
    bool OpenUrl(std::u16string_view) override { return false; }
    void EndProgram(int) override {}
    std::optional<Group> OpenGroupWindow(const Group&, GroupWindowMode,
                                         const RecordList<Group>&) override {
        return std::nullopt;
    }
    std::optional<Entry> OpenEntryWindow(const Entry&, int) override { return std::nullopt; }
    void SendPluginQuitSignal() override {}
    void SelectGroupItem(int item) override { selectedGroupItem = item; }
    void SelectEntryRow(int) override {}
    std::vector<int> SelectedEntryRows() override { return {}; }
    void FindWindow(SearchOptions&, const std::function<bool(const SearchOptions&)>&) override {}
    std::optional<MassModifyChoice> MassModifyWindow(const std::vector<GroupChoice>&,
                                                     std::int32_t) override {
        return std::nullopt;
    }
    std::vector<std::u16string> OpenFilesRequester(std::u16string_view,
                                                   std::u16string_view) override {
        return {};
    }
    std::u16string PathRequester(std::u16string_view) override { return {}; }
    void SetClipboardText(std::u16string_view) override {}
    bool ClipboardHoldsOwnText() override { return false; }
    void MinimizeMainWindow() override {}
    bool OpenHelpPage(const std::string&) override { return false; }
};

}  // namespace vlt::bench
