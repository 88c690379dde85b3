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

    // What the engine did.
    std::vector<ShownMessage> messages;
    std::vector<int> passwordModes;
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
    // Called from ProcessPendingEvents, to act while an operation is under way.
    std::function<void()> onPendingEvents;

    void Message(std::u16string_view caption, std::u16string_view text, MessageIcon icon) override;
    bool AskYesNo(std::u16string_view caption, std::u16string_view text, MessageIcon icon) override;
    std::u16string OpenFileRequester(std::u16string_view title,
                                     std::u16string_view pattern) override;
    std::u16string SaveFileRequester(std::u16string_view title, std::u16string_view pattern,
                                     std::u16string_view defaultName) override;
    SecureText AskPassword(int mode) override;
    void Progress_Open(std::u16string_view title, std::u16string_view text) override;
    void Progress_Update(int value) override;
    void Progress_Close() override;
    void ProcessPendingEvents() override;
    void SetWindowTitle(std::u16string_view text) override { title = text; }
    void SetStatusField(int field, std::u16string_view text) override;
    void SetContainerLabel(std::u16string_view text) override { containerLabel = text; }
    void ClearViews() override { ++viewsCleared; }
    void RebuildGroupTree() override { ++treeRebuilds; }
    void RefreshEntryList() override { ++listRefreshes; }
    void RebuildMainMenu() override { ++menuRebuilds; }
    int SelectedGroupItem() override { return selectedGroupItem; }
    int selectedGroupItem = -1;

    // The texts of every message and question shown so far, in order.
    std::vector<std::u16string> messageTexts() const;
    const ShownMessage* lastMessage() const;
};

}  // namespace vlt::test
