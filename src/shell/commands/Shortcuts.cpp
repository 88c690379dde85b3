#include "shell/commands/Shortcuts.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace vlt {

void InstallMainShortcuts(QWidget* window, std::function<void(Command)> dispatch) {
    for (const CommandRow& row : CommandRows()) {
        if (row.keys == nullptr) {
            continue;
        }
        const QList<QKeySequence> keys =
            QKeySequence::listFromString(QString::fromLatin1(row.keys), QKeySequence::PortableText);
        for (const QKeySequence& key : keys) {
            auto* shortcut = new QShortcut(key, window);
            shortcut->setContext(Qt::WindowShortcut);
            shortcut->setObjectName(QStringLiteral("shortcut%1-%2")
                                        .arg(CommandNumber(row.command))
                                        .arg(key.toString(QKeySequence::PortableText)));
            QObject::connect(shortcut, &QShortcut::activated, window,
                             [dispatch, command = row.command] { dispatch(command); });
        }
    }
}

}  // namespace vlt
