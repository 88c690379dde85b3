#include "shell/commands/CommandActions.h"

#include <QMenu>
#include <QWidget>

#include "shell/widgets/IconCatalog.h"

namespace vlt {

CommandActions::CommandActions(QObject* receiver, std::function<void(int)> send)
    : receiver_(receiver), send_(std::move(send)) {}

QAction* CommandActions::add(QWidget* container, int id, const QString& text, const QIcon& icon) {
    auto* action = new QAction(icon, text, container);
    action->setObjectName(QStringLiteral("command%1").arg(id));
    action->setData(id);
    // The receiver as context drops the connection when the receiver goes first.
    QObject::connect(action, &QAction::triggered, receiver_, [send = send_, id] { send(id); });
    container->addAction(action);
    items_[id] = action;
    return action;
}

void CommandActions::addLines(QMenu* menu, std::initializer_list<MenuLine> lines) {
    for (const MenuLine& line : lines) {
        if (line.text == nullptr) {
            menu->addSeparator();
        } else {
            add(menu, line.id, QString::fromLatin1(line.text),
                line.icon == kNoIcon ? QIcon() : MenuIcon(line.icon));
        }
    }
}

QAction* CommandActions::find(int id) const {
    const auto it = items_.find(id);
    return it == items_.end() ? nullptr : it->second.data();
}

void CommandActions::setCheckable(int first, int last) {
    for (int id = first; id <= last; ++id) {
        if (QAction* action = find(id)) {
            action->setCheckable(true);
        }
    }
}

void CommandActions::setChecked(int id, bool checked) {
    if (QAction* action = find(id)) {
        action->setChecked(checked);
    }
}

void CommandActions::setEnabled(int id, bool enabled) {
    if (QAction* action = find(id)) {
        action->setEnabled(enabled);
    }
}

}  // namespace vlt
