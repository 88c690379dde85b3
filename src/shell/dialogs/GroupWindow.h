#pragma once
// The modal window in which the user names a group and picks its icon, when adding a group and
// when editing one. It only collects and checks the two values; the caller changes the vault.
// GUI thread only.

#include <QDialog>
#include <functional>
#include <optional>

#include "engine/Desktop.h"

class QLineEdit;
class QListWidget;

namespace vlt {

class Prompter;

class GroupWindow : public QDialog {
    Q_OBJECT

  public:
    static constexpr const char* kHelpTopic = "ConfiguringVLT.html";

    // Starts from `start`'s name and icon. In add mode a name `groups` already holds is refused;
    // `groups` must outlive the window. Messages go through `prompter` (the standard one when
    // null).
    GroupWindow(const Group& start, GroupWindowMode mode, const RecordList<Group>& groups,
                Prompter* prompter = nullptr, QWidget* parent = nullptr);

    // Runs the window modally over `parent` and returns the accepted name (trimmed) and icon, or
    // none when the user cancelled. `showHelp` opens the help link's topic.
    static std::optional<Group> ask(const Group& start, GroupWindowMode mode,
                                    const RecordList<Group>& groups, Prompter* prompter,
                                    QWidget* parent,
                                    const std::function<void(const QString&)>& showHelp = {});

    const std::optional<Group>& result() const { return result_; }

  signals:
    void helpRequested(const QString& topic);

  private:
    void createControls(const Group& start);
    void acceptGroup();
    void refuseName(const QString& text);

    GroupWindowMode mode_;
    const RecordList<Group>& groups_;
    Prompter& prompter_;
    QLineEdit* nameField_ = nullptr;
    QListWidget* iconList_ = nullptr;
    std::optional<Group> result_;
};

}  // namespace vlt
