#include "ScriptedDesktop.h"

#include "engine/text/Text.h"

namespace vlt::test {

namespace {

template <typename T>
bool takeFront(std::deque<T>& queue, T& out) {
    if (queue.empty()) {
        return false;
    }
    out = std::move(queue.front());
    queue.pop_front();
    return true;
}

}  // namespace

void ScriptedDesktop::Message(std::u16string_view caption, std::u16string_view text,
                              MessageIcon icon) {
    messages.push_back({std::u16string(caption), std::u16string(text), icon, false});
}

bool ScriptedDesktop::AskYesNo(std::u16string_view caption, std::u16string_view text,
                               MessageIcon icon) {
    messages.push_back({std::u16string(caption), std::u16string(text), icon, true});
    bool answer = false;
    if (!takeFront(yesNoAnswers, answer)) {
        unexpected.push_back("question: " + toUtf8(text));
    }
    return answer;
}

std::u16string ScriptedDesktop::OpenFileRequester(std::u16string_view, std::u16string_view) {
    std::u16string answer;
    if (!takeFront(openFileAnswers, answer)) {
        unexpected.push_back("open-file requester");
    }
    return answer;
}

std::vector<std::u16string> ScriptedDesktop::OpenFilesRequester(std::u16string_view,
                                                                std::u16string_view) {
    std::vector<std::u16string> answer;
    if (!takeFront(openFilesAnswers, answer)) {
        unexpected.push_back("open-files requester");
    }
    return answer;
}

std::u16string ScriptedDesktop::PathRequester(std::u16string_view) {
    std::u16string answer;
    if (!takeFront(pathAnswers, answer)) {
        unexpected.push_back("folder requester");
    }
    return answer;
}

void ScriptedDesktop::SetClipboardText(std::u16string_view text) {
    clipboardText = text;
    clipboardOwned = true;
    clipboardCopies.emplace_back(text);
}

std::u16string ScriptedDesktop::SaveFileRequester(std::u16string_view, std::u16string_view,
                                                  std::u16string_view) {
    std::u16string answer;
    if (!takeFront(saveFileAnswers, answer)) {
        unexpected.push_back("save-file requester");
    }
    return answer;
}

SecureText ScriptedDesktop::AskPassword(PasswordMode mode) {
    passwordModes.push_back(mode);
    std::u16string answer;
    if (!takeFront(passwordAnswers, answer)) {
        unexpected.push_back("password dialog");
    }
    return SecureText(std::move(answer));
}

void ScriptedDesktop::Progress_Open(std::u16string_view, std::u16string_view) {
    ++progressOpen;
}

void ScriptedDesktop::Progress_Update(int value) {
    progressValues.push_back(value);
    ProcessPendingEvents();
}

void ScriptedDesktop::Progress_Close() {
    --progressOpen;
}

void ScriptedDesktop::ProcessPendingEvents() {
    ++pendingEventCalls;
    if (onPendingEvents) {
        onPendingEvents();
    }
}

void ScriptedDesktop::ClearViews() {
    ++viewsCleared;
    entryRows = {};
    selectedEntryRow = -1;
    comment.clear();
}

void ScriptedDesktop::ShowEntryRows(EntryRows rows, int selectRow) {
    ++listRefreshes;
    entryRows = std::move(rows);
    selectedEntryRow = entryRows.row(selectRow) != nullptr ? selectRow : -1;
}

void ScriptedDesktop::SetStatusField(int field, std::u16string_view text) {
    if (field >= 0 && field < 3) {
        status[field] = text;
    }
}

void ScriptedDesktop::SelectEntryRow(int row) {
    selectedEntryRow = entryRows.row(row) != nullptr ? row : -1;
    selectedEntryRows.clear();
    if (selectedEntryRow >= 0) {
        selectedEntryRows.push_back(row);
    }
}

void ScriptedDesktop::FindWindow(SearchOptions& options,
                                 const std::function<bool(const SearchOptions&)>& search) {
    findWindowFills.push_back(options);
    SearchOptions shown = options;
    bool closed = false;
    while (!closed && !findPresses.empty()) {
        shown = findPresses.front();
        findPresses.pop_front();
        closed = search(shown);
    }
    if (!closed && findShownAtCancel) {
        shown = *findShownAtCancel;
    }
    options = shown;
}

std::optional<MassModifyChoice> ScriptedDesktop::MassModifyWindow(
    const std::vector<GroupChoice>& groups, std::int32_t now) {
    massModifyGroups = groups;
    massModifyNow = now;
    std::optional<MassModifyChoice> answer;
    if (!takeFront(massModifyAnswers, answer)) {
        unexpected.push_back("mass-modify window");
    }
    return answer;
}

std::vector<std::u16string> ScriptedDesktop::messageTexts() const {
    std::vector<std::u16string> texts;
    for (const auto& m : messages) {
        texts.push_back(m.text);
    }
    return texts;
}

const ShownMessage* ScriptedDesktop::lastMessage() const {
    return messages.empty() ? nullptr : &messages.back();
}

std::optional<Group> ScriptedDesktop::OpenGroupWindow(const Group& start, GroupWindowMode mode,
                                                      const RecordList<Group>&) {
    groupWindowCalls.push_back({start, mode});
    if (onGroupWindow) {
        onGroupWindow();
    }
    std::optional<Group> answer;
    if (!takeFront(groupWindowAnswers, answer)) {
        unexpected.push_back("group window");
    }
    return answer;
}

std::optional<Entry> ScriptedDesktop::OpenEntryWindow(const Entry& input, int mode) {
    entryWindowInputs.push_back(input);
    entryWindowModes.push_back(mode);
    if (onEntryWindow) {
        onEntryWindow();
    }
    std::optional<Entry> answer;
    if (!takeFront(entryWindowAnswers, answer)) {
        unexpected.push_back("entry window");
    }
    return answer;
}

}  // namespace vlt::test
