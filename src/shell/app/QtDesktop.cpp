#include "shell/app/QtDesktop.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QStringList>

#include "engine/text/LinkFinder.h"
#include "shell/app/Prompter.h"
#include "shell/app/QtText.h"
#include "shell/commands/PopupMenus.h"
#include "shell/commands/Shortcuts.h"
#include "shell/dialogs/EntryWindow.h"
#include "shell/dialogs/FindWindow.h"
#include "shell/dialogs/GroupWindow.h"
#include "shell/dialogs/MassModifyWindow.h"
#include "shell/dialogs/PasswordDialog.h"
#include "shell/main/EntryListModel.h"
#include "shell/main/MainWindow.h"
#include "shell/widgets/ModalRun.h"

namespace vlt {

QtDesktop::QtDesktop(Prompter& prompter) : prompter_(prompter) {
    requesters_.openFile = [](QWidget* parent, const QString& title, const QString& filter) {
        return QFileDialog::getOpenFileName(parent, title, QString(), filter);
    };
    requesters_.saveFile = [](QWidget* parent, const QString& title, const QString& filter) {
        return QFileDialog::getSaveFileName(parent, title, QString(), filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    requesters_.password = [this](QWidget* parent, PasswordMode mode) {
        PasswordDialogServices services;
        services.prompter = &prompter_;
        services.tools = tools;
        services.showHelp = showHelp;
        return PasswordDialog::ask(mode, services, parent);
    };
    requesters_.entry = [this](QWidget* parent, const Entry& input, int mode) {
        EntryWindowServices services;
        services.prompter = &prompter_;
        if (window_ != nullptr) {
            services.timePopup = window_->popups()->popup(PopupMenus::kTimePopup);
        }
        services.openLink = openLink;
        services.generatePassword = generatePassword;
        services.showHelp = showHelp;
        services.attachments = attachments;
        return EntryWindow::ask(input, mode, services, parent);
    };
    requesters_.openFiles = [](QWidget* parent, const QString& title, const QString& filter) {
        return QFileDialog::getOpenFileNames(parent, title, QString(), filter);
    };
    requesters_.folder = [](QWidget* parent, const QString& text) {
        return QFileDialog::getExistingDirectory(parent, text);
    };
}

QWidget* QtDesktop::dialogParent() const {
    if (QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    // Between two windows (a file chooser just closed, the focus not back yet) the open modal
    // window still owns what comes next, not the main window it blocks.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    return window_;
}

QString QtDesktop::qtFilter(std::u16string_view pattern) {
    const QStringList parts = qs(pattern).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // "*.*" would hide every file without a dot in its name here; "all files" is "*".
        filters << QString(parts[i]).replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
    }
    return filters.join(QStringLiteral(";;"));
}

void QtDesktop::Message(std::u16string_view caption, std::u16string_view text, MessageIcon icon) {
    prompter_.message(dialogParent(), qs(caption), qs(text), icon);
}

bool QtDesktop::AskYesNo(std::u16string_view caption, std::u16string_view text, MessageIcon icon) {
    return prompter_.askYesNo(dialogParent(), qs(caption), qs(text), icon);
}

std::u16string QtDesktop::OpenFileRequester(std::u16string_view title,
                                            std::u16string_view pattern) {
    return u16s(RunRequester(dialogParent(), [&](QWidget* parent) {
        return requesters_.openFile(parent, qs(title), qtFilter(pattern));
    }));
}

std::u16string QtDesktop::SaveFileRequester(std::u16string_view title, std::u16string_view pattern,
                                            std::u16string_view) {
    return u16s(RunRequester(dialogParent(), [&](QWidget* parent) {
        return requesters_.saveFile(parent, qs(title), qtFilter(pattern));
    }));
}

SecureText QtDesktop::AskPassword(PasswordMode mode) {
    return requesters_.password(dialogParent(), mode);
}

void QtDesktop::Progress_Open(std::u16string_view title, std::u16string_view text) {
    // The window blocks the one beneath it: keys typed since the operation began reach that one
    // first. Over the main window the progress window takes the keys, and the main window's
    // shortcuts go on working through it: a command given during a load or a save waits for it
    // to end.
    QCoreApplication::processEvents();
    progress_.Progress_Open(qs(title), qs(text));
    if (MainWindow* main = window_; main != nullptr && progress_.window()->parentWidget() == main) {
        InstallMainShortcuts(progress_.window(),
                             [main](Command command) { main->dispatch(command); });
    }
}

void QtDesktop::Progress_Update(int value) {
    progress_.Progress_Update(value);
}

void QtDesktop::Progress_Close() {
    progress_.Progress_Close();
}

void QtDesktop::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

void QtDesktop::onWindow(const std::function<void(MainWindow&)>& action) {
    // Before start-up made the window, and after it went, there is no view to refresh.
    if (window_ != nullptr) {
        action(*window_);
    }
}

void QtDesktop::SetWindowTitle(std::u16string_view title) {
    onWindow([&](MainWindow& w) { w.setWindowTitle(qs(title)); });
}

void QtDesktop::SetStatusField(int field, std::u16string_view text) {
    onWindow([&](MainWindow& w) { w.setStatusField(field, qs(text)); });
}

void QtDesktop::SetContainerLabel(std::u16string_view text) {
    onWindow([&](MainWindow& w) { w.setContainerLabel(qs(text)); });
}

void QtDesktop::ClearViews() {
    onWindow([](MainWindow& w) { w.clearViews(); });
}

void QtDesktop::RebuildGroupTree() {
    onWindow([](MainWindow& w) { w.rebuildGroupTree(); });
}

void QtDesktop::ShowEntryRows(EntryRows rows, int selectRow) {
    onWindow([&](MainWindow& w) { w.showEntryRows(std::move(rows), selectRow); });
}

const EntryRows& QtDesktop::ShownEntryRows() {
    static const EntryRows none;
    return window_ != nullptr ? window_->entryModel()->rows() : none;
}

void QtDesktop::ShowComment(std::u16string_view text) {
    onWindow([&](MainWindow& w) { w.showComment(text); });
}

void QtDesktop::CreateMainMenu() {
    onWindow([](MainWindow& w) { w.CreateMainMenu(); });
}

int QtDesktop::SelectedGroupItem() {
    return window_ != nullptr ? window_->selectedGroupItem() : -1;
}

int QtDesktop::SelectedEntryRow() {
    return window_ != nullptr ? window_->currentRow() : -1;
}

std::optional<WindowLayout> QtDesktop::MainWindowLayout() {
    return window_ != nullptr ? std::optional(window_->windowLayout()) : std::nullopt;
}

void QtDesktop::CloseMainWindow() {
    onWindow([](MainWindow& w) { w.closeForExit(); });
}

void QtDesktop::ClearClipboard() {
    QGuiApplication::clipboard()->clear();
}

std::vector<std::u16string> QtDesktop::OpenFilesRequester(std::u16string_view title,
                                                          std::u16string_view pattern) {
    std::vector<std::u16string> files;
    const QStringList chosen = RunRequester(dialogParent(), [&](QWidget* parent) {
        return requesters_.openFiles(parent, qs(title), qtFilter(pattern));
    });
    for (const QString& file : chosen) {
        files.push_back(u16s(file));
    }
    return files;
}

std::u16string QtDesktop::PathRequester(std::u16string_view text) {
    return u16s(RunRequester(
        dialogParent(), [&](QWidget* parent) { return requesters_.folder(parent, qs(text)); }));
}

void QtDesktop::SetClipboardText(std::u16string_view text) {
    auto* data = new QMimeData;
    data->setText(qs(text));
    // Clipboard managers that honour the hint keep no history of the copy.
    data->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
    clipboardCopy_ = data;
    QGuiApplication::clipboard()->setMimeData(data);
}

bool QtDesktop::ClipboardHoldsOwnText() {
    // The clipboard hands back the very object it was given while nobody else has taken it
    // over; a copy made elsewhere since replaces (and deletes) it.
    return clipboardCopy_ != nullptr && QGuiApplication::clipboard()->mimeData() == clipboardCopy_;
}

void QtDesktop::MinimizeMainWindow() {
    onWindow([](MainWindow& window) { window.showMinimized(); });
}

bool QtDesktop::OpenUrl(std::u16string_view url) {
    // Whoever asks, only web and mail addresses leave the program, handed over whole as one
    // argument, never through a shell.
    if (!IsOpenableUrl(url)) {
        return false;
    }
    const QUrl parsed(qs(url));
    return parsed.isValid() && openUrl && openUrl(parsed);
}

bool QtDesktop::OpenHelpPage(const std::string& path) {
    const QUrl page = QUrl::fromLocalFile(QString::fromStdString(path));
    return page.isValid() && openUrl && openUrl(page);
}

void QtDesktop::EndProgram(int exitCode) {
    if (endProgram) {
        endProgram(exitCode);
    }
}

// ---------------------------------------------------------------------------- group editing

std::optional<Group> QtDesktop::OpenGroupWindow(const Group& start, GroupWindowMode mode,
                                                const RecordList<Group>& groups) {
    return GroupWindow::ask(start, mode, groups, &prompter_, dialogParent(), showHelp);
}

void QtDesktop::SelectGroupItem(int item) {
    onWindow([&](MainWindow& w) { w.selectGroupItem(item); });
}

std::optional<Entry> QtDesktop::OpenEntryWindow(const Entry& input, int mode) {
    return requesters_.entry(dialogParent(), input, mode);
}

// ---------------------------------------------------------------------------- plugins

void QtDesktop::SendPluginQuitSignal() {
    if (quitPlugins) {
        quitPlugins();
    }
}

// ---------------------------------------------------------------------------- find and mass modify

void QtDesktop::SelectEntryRow(int row) {
    onWindow([&](MainWindow& w) { w.selectEntryRow(row); });
}

std::vector<int> QtDesktop::SelectedEntryRows() {
    return window_ != nullptr ? window_->selectedRows() : std::vector<int>();
}

void QtDesktop::FindWindow(SearchOptions& options,
                           const std::function<bool(const SearchOptions&)>& search) {
    vlt::FindWindow::run(dialogParent(), options, search);
}

std::optional<MassModifyChoice> QtDesktop::MassModifyWindow(const std::vector<GroupChoice>& groups,
                                                            std::int32_t now) {
    QMenu* periods =
        window_ != nullptr ? window_->popups()->popup(PopupMenus::kTimePopup) : nullptr;
    return vlt::MassModifyWindow::ask(dialogParent(), groups, now, periods);
}

}  // namespace vlt
