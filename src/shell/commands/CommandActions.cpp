#include "shell/commands/CommandActions.h"

#include <QMenu>
#include <QWidget>

#include "shell/widgets/IconCatalog.h"

namespace vlt {

CommandActions::CommandActions(QObject* receiver, std::function<void(Command)> send)
    : receiver_(receiver), send_(std::move(send)) {}

QAction* CommandActions::add(QWidget* container, Command command) {
    const CommandRow* row = FindCommandRow(command);
    if (row == nullptr) {
        return nullptr;
    }
    QAction* action = add(container, command, QString::fromLatin1(row->text),
                          row->icon == kNoIcon ? QIcon() : MenuIcon(row->icon));
    if (row->toolTip != nullptr) {
        action->setToolTip(QString::fromLatin1(row->toolTip));
    }
    action->setCheckable(IsToggle(row->call.action));
    return action;
}

QAction* CommandActions::add(QWidget* container, Command command, const QString& text,
                             const QIcon& icon) {
    const int number = CommandNumber(command);
    auto* action = new QAction(icon, text, container);
    action->setObjectName(QStringLiteral("command%1").arg(number));
    action->setData(number);
    // The receiver as context drops the connection when the receiver goes first.
    QObject::connect(action, &QAction::triggered, receiver_,
                     [send = send_, command] { send(command); });
    container->addAction(action);
    items_[command] = action;
    return action;
}

void CommandActions::addLines(QMenu* menu, std::initializer_list<MenuLine> lines) {
    for (const MenuLine& line : lines) {
        if (line.command) {
            add(menu, *line.command);
        } else {
            menu->addSeparator();
        }
    }
}

QAction* CommandActions::find(Command command) const {
    const auto it = items_.find(command);
    return it == items_.end() ? nullptr : it->second.data();
}

void CommandActions::setChecked(ActionCall call, bool checked) {
    for (const auto& [command, action] : items_) {
        if (action && ActionOf(command) == call) {
            action->setChecked(checked);
        }
    }
}

void CommandActions::setEnabled(Command command, bool enabled) {
    if (QAction* action = find(command)) {
        action->setEnabled(enabled);
    }
}

void CommandActions::greyUnavailable() {
    for (const auto& [command, action] : items_) {
        if (action && !IsAvailable(command)) {
            action->setEnabled(false);
        }
    }
}

}  // namespace vlt
