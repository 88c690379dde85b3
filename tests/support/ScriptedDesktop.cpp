#include "ScriptedDesktop.h"

#include "common/Utf.h"

namespace vlt::test {

namespace {

// The next scripted answer; without one, the empty answer (No, cancel) and a note of the surprise.
template <typename T>
T next(std::deque<T>& queue, std::vector<std::string>& unexpected, std::string what) {
    if (queue.empty()) {
        unexpected.push_back(std::move(what));
        return T{};
    }
    T answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

}  // namespace

void ScriptedDesktop::Message(std::u16string_view caption, std::u16string_view text,
                              MessageIcon icon) {
    messages.push_back({std::u16string(caption), std::u16string(text), icon, false});
}

bool ScriptedDesktop::AskYesNo(std::u16string_view caption, std::u16string_view text,
                               MessageIcon icon) {
    messages.push_back({std::u16string(caption), std::u16string(text), icon, true});
    if (onQuestion) {
        onQuestion();
    }
    return next(yesNoAnswers, unexpected, "question: " + toUtf8(text));
}

std::u16string ScriptedDesktop::OpenFileRequester(std::u16string_view, std::u16string_view) {
    return next(openFileAnswers, unexpected, "open-file requester");
}

std::vector<std::u16string> ScriptedDesktop::OpenFilesRequester(std::u16string_view,
                                                                std::u16string_view) {
    return next(openFilesAnswers, unexpected, "open-files requester");
}

std::u16string ScriptedDesktop::PathRequester(std::u16string_view) {
    return next(pathAnswers, unexpected, "folder requester");
}

void ScriptedDesktop::SetClipboardText(std::u16string_view text) {
    clipboardText = text;
    clipboardOwned = true;
    clipboardCopies.emplace_back(text);
}

std::u16string ScriptedDesktop::SaveFileRequester(std::u16string_view, std::u16string_view,
                                                  std::u16string_view) {
    return next(saveFileAnswers, unexpected, "save-file requester");
}

SecureText ScriptedDesktop::AskPassword(PasswordMode mode) {
    passwordModes.push_back(mode);
    return SecureText(next(passwordAnswers, unexpected, "password dialog"));
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
    return next(massModifyAnswers, unexpected, "mass-modify window");
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
    return next(groupWindowAnswers, unexpected, "group window");
}

std::optional<Entry> ScriptedDesktop::OpenEntryWindow(const Entry& input, int mode) {
    entryWindowInputs.push_back(input);
    entryWindowModes.push_back(mode);
    if (onEntryWindow) {
        onEntryWindow();
    }
    return next(entryWindowAnswers, unexpected, "entry window");
}

}  // namespace vlt::test
