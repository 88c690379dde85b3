// The main window's keyboard shortcuts and the commands they dispatch.
#include <gtest/gtest.h>

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>
#include <set>
#include <vector>

#include "shell/commands/Shortcuts.h"

namespace vlt {
namespace {

TEST(MainShortcuts, EveryKeyDispatchesTheCommandItIsNamedFor) {
    QWidget window;
    std::vector<int> dispatched;
    InstallMainShortcuts(&window,
                         [&](Command command) { dispatched.push_back(CommandNumber(command)); });
    const QList<QShortcut*> shortcuts = window.findChildren<QShortcut*>();
    EXPECT_EQ(shortcuts.size(), 25);
    for (QShortcut* shortcut : shortcuts) {
        const QString name = shortcut->objectName();
        EXPECT_EQ(name.section(QLatin1Char('-'), 1),
                  shortcut->key().toString(QKeySequence::PortableText));
        dispatched.clear();
        emit shortcut->activated();
        EXPECT_EQ(dispatched, std::vector<int>{name.mid(8).section(QLatin1Char('-'), 0, 0).toInt()})
            << name.toStdString();
    }
    // A few keys as the user knows them, one command with two keys among them.
    for (const char* name :
         {"shortcut0-Ctrl+N", "shortcut0-Ctrl+W", "shortcut11-Ctrl+Shift+A",
          "shortcut33-Ctrl+Right", "shortcut36-Shift+E", "shortcut66-F3", "shortcut67-F1"}) {
        EXPECT_NE(window.findChild<QShortcut*>(QLatin1String(name)), nullptr) << name;
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
