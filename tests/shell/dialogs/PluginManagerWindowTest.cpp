// The plugin manager as the user sees it: one row per plugin with its type named, and the
// buttons' answers when nothing or the wrong kind of plugin is chosen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>

#include "PluginFolder.h"
#include "ScriptedDesktop.h"
#include "engine/log/Logging.h"
#include "engine/vault/ID.h"
#include "host/PluginList.h"
#include "shell/dialogs/PluginManagerWindow.h"

namespace vlt {
namespace {

TEST(PluginManagerWindow, ListsPluginsAndLaunchesOnlyTools) {
    test::PluginFolder folder;
    IdRegistry ids;
    TraceLog log;
    PluginList plugins(ids, log);
    ASSERT_EQ(plugins.VLT_Plugin_Load(folder.add("NoEntryImporter")), 1);
    ASSERT_EQ(plugins.VLT_Plugin_Load(folder.add("Previewer")), 1);
    test::ScriptedDesktop desktop;
    int changes = 0;
    PluginManagerWindow window(plugins, desktop, folder.path(), [&changes] { ++changes; });

    auto* list = window.findChild<QTreeWidget*>(QStringLiteral("pluginList"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("Password generator"));
    EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("Importer"));
    EXPECT_EQ(list->topLevelItem(1)->text(1), QStringLiteral("Previewer"));
    // A plugin with an icon and one without make rows of one height.
    window.show();
    QApplication::processEvents();
    const QRect withIcon = list->visualItemRect(list->topLevelItem(0));
    const QRect without = list->visualItemRect(list->topLevelItem(1));
    EXPECT_GT(withIcon.height(), 0);
    EXPECT_EQ(without.height(), withIcon.height());
    EXPECT_FALSE(list->topLevelItem(0)->icon(0).isNull());

    auto* launch = window.findChild<QPushButton*>(QStringLiteral("launchButton"));
    auto* remove = window.findChild<QPushButton*>(QStringLiteral("removeButton"));
    launch->click();
    remove->click();
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[0].text, u"Please select a plugin from the list first.");
    EXPECT_EQ(desktop.messages[1].text, u"Please select a plugin from the list first.");

    list->setCurrentItem(list->topLevelItem(0));
    launch->click();
    ASSERT_EQ(desktop.messages.size(), 3u);
    EXPECT_EQ(desktop.messages[2].text, u"Only tool plugins can be launched in this fashion.");
    // Return on the chosen row launches it as the button does.
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(list, &key);
    ASSERT_EQ(desktop.messages.size(), 4u);
    EXPECT_EQ(desktop.messages[3].text, u"Only tool plugins can be launched in this fashion.");
    EXPECT_EQ(changes, 0);
}

}  // namespace
}  // namespace vlt
