// The main window's keyboard shortcuts and the commands they dispatch.
#include <gtest/gtest.h>

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>
#include <set>

#include "shell/commands/Shortcuts.h"

namespace vlt {
namespace {

struct Expected {
    QKeySequence key;
    int command;
};

const std::vector<Expected>& expectedShortcuts() {
    static const std::vector<Expected> table = {
        {QKeySequence(Qt::CTRL | Qt::Key_N), 0},
        {QKeySequence(Qt::CTRL | Qt::Key_O), 1},
        {QKeySequence(Qt::CTRL | Qt::Key_S), 2},
        {QKeySequence(Qt::CTRL | Qt::Key_W), 0},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A), 11},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R), 12},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), 13},
        {QKeySequence(Qt::CTRL | Qt::Key_A), 14},
        {QKeySequence(Qt::CTRL | Qt::Key_R), 15},
        {QKeySequence(Qt::CTRL | Qt::Key_E), 16},
        {QKeySequence(Qt::CTRL | Qt::Key_M), 29},
        {QKeySequence(Qt::CTRL | Qt::Key_Up), 30},
        {QKeySequence(Qt::CTRL | Qt::Key_Down), 31},
        {QKeySequence(Qt::CTRL | Qt::Key_Left), 32},
        {QKeySequence(Qt::CTRL | Qt::Key_Right), 33},
        {QKeySequence(Qt::SHIFT | Qt::Key_Up), 34},
        {QKeySequence(Qt::SHIFT | Qt::Key_Down), 35},
        {QKeySequence(Qt::SHIFT | Qt::Key_E), 36},
        {QKeySequence(Qt::SHIFT | Qt::Key_C), 37},
        {QKeySequence(Qt::CTRL | Qt::Key_J), 39},
        {QKeySequence(Qt::CTRL | Qt::Key_H), 40},
        {QKeySequence(Qt::CTRL | Qt::Key_T), 54},
        {QKeySequence(Qt::CTRL | Qt::Key_F), 65},
        {QKeySequence(Qt::Key_F3), 66},
        {QKeySequence(Qt::Key_F1), 67},
    };
    return table;
}

TEST(MainShortcuts, EveryKeyDispatchesItsCommand) {
    QWidget window;
    std::vector<int> dispatched;
    InstallMainShortcuts(&window,
                         [&](Command command) { dispatched.push_back(CommandNumber(command)); });

    const QList<QShortcut*> shortcuts = window.findChildren<QShortcut*>();
    ASSERT_EQ(shortcuts.size(), static_cast<qsizetype>(expectedShortcuts().size()));
    for (const Expected& e : expectedShortcuts()) {
        const QString keyText = e.key.toString(QKeySequence::PortableText);
        QShortcut* found = nullptr;
        for (QShortcut* shortcut : shortcuts) {
            if (shortcut->key() == e.key) {
                found = shortcut;
            }
        }
        ASSERT_NE(found, nullptr) << keyText.toStdString();
        EXPECT_EQ(found->objectName(), QStringLiteral("shortcut%1-%2").arg(e.command).arg(keyText));
        dispatched.clear();
        emit found->activated();
        EXPECT_EQ(dispatched, std::vector<int>{e.command}) << keyText.toStdString();
    }
}

// Two shortcuts on one key would be ambiguous, and Qt fires neither.
TEST(MainShortcuts, EachKeyOnceAndOnlyForTheMainWindow) {
    QWidget window;
    InstallMainShortcuts(&window, [](Command) {});
    std::set<QString> keys;
    for (QShortcut* shortcut : window.findChildren<QShortcut*>()) {
        const QString key = shortcut->key().toString(QKeySequence::PortableText);
        EXPECT_TRUE(keys.insert(key).second) << key.toStdString();
        EXPECT_EQ(shortcut->context(), Qt::WindowShortcut) << key.toStdString();
        EXPECT_EQ(shortcut->parent(), &window) << key.toStdString();
        EXPECT_TRUE(shortcut->isEnabled());
    }
}

}  // namespace
}  // namespace vlt
