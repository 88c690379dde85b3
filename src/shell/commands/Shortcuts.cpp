#include "shell/commands/Shortcuts.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace vlt {

namespace {

struct KeyCommand {
    const char* key;  // QKeySequence portable text
    int command;
};

constexpr KeyCommand kMainShortcuts[] = {
    {"Ctrl+N", 0},        {"Ctrl+O", 1},        {"Ctrl+S", 2},        {"Ctrl+W", 0},
    {"Ctrl+Shift+A", 11}, {"Ctrl+Shift+R", 12}, {"Ctrl+Shift+E", 13}, {"Ctrl+A", 14},
    {"Ctrl+R", 15},       {"Ctrl+E", 16},       {"Ctrl+M", 29},       {"Ctrl+Up", 30},
    {"Ctrl+Down", 31},    {"Ctrl+Left", 32},    {"Ctrl+Right", 33},   {"Shift+Up", 34},
    {"Shift+Down", 35},   {"Shift+E", 36},      {"Shift+C", 37},      {"Ctrl+J", 39},
    {"Ctrl+H", 40},       {"Ctrl+T", 54},       {"Ctrl+F", 65},       {"F3", 66},
    {"F1", 67},
};

}  // namespace

void InstallMainShortcuts(QWidget* window, std::function<void(int)> dispatch) {
    for (const KeyCommand& entry : kMainShortcuts) {
        const QKeySequence key =
            QKeySequence::fromString(QString::fromLatin1(entry.key), QKeySequence::PortableText);
        auto* shortcut = new QShortcut(key, window);
        shortcut->setContext(Qt::WindowShortcut);
        shortcut->setObjectName(QStringLiteral("shortcut%1-%2")
                                    .arg(entry.command)
                                    .arg(key.toString(QKeySequence::PortableText)));
        QObject::connect(shortcut, &QShortcut::activated, window,
                         [dispatch, command = entry.command] { dispatch(command); });
    }
}

}  // namespace vlt
