#pragma once
// The main window's menu bar: six fixed menus, the recent-files submenu and one item per loaded
// import, export and tool plugin. CreateMainMenu rebuilds the whole bar whenever one of its
// variable parts changes; every item reports its command through `command`, which the main
// window dispatches. Texts carry their shortcut label after a tab: the menus show it, while
// the keys themselves belong to the window's shortcuts. GUI thread only.

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "engine/settings/Settings.h"
#include "shell/commands/CommandActions.h"

class QMenu;
class QMenuBar;

namespace vlt {

// A loaded plugin as the menus see it. Type: 0 tool, 1 importer, 2 exporter, 3 previewer (the
// previewer has no menu item).
struct PluginMenuEntry {
    QString name;
    int pluginId = 0;
    int type = 0;
    QIcon icon;
};

// Everything the bar shows that is not fixed.
struct MainMenuState {
    bool recentsOn = false;
    QStringList recentPaths;  // newest first
    MaskFields mask;
    std::array<ColumnSetting, kColumnCount> columns{};
    int viewFilter = 0;  // 0 all entries, 1 expired entries
    // The check mark of "Always On Top": the stored AlwaysOnTop at start-up, the window's live
    // stay-on-top state on later rebuilds, so a rebuild never contradicts the window.
    bool stayOnTop = false;
    std::vector<PluginMenuEntry> plugins;  // in plugin-list order
};

// A plugin item of the current bar. The argument of a plugin command's RunPlugin call is the
// item's place in pluginMenu(), which leads the main window to the plugin.
struct PluginMenuItem {
    QString name;
    int menuId = 0;
    int pluginId = 0;
    QIcon icon;
};

class MainMenu : public QObject {
    Q_OBJECT

  public:
    explicit MainMenu(QObject* parent = nullptr);

    // Empties `bar` and builds every menu afresh from `state`, with the initial check marks.
    void CreateMainMenu(QMenuBar* bar, const MainMenuState& state);

    // The item of the current bar with that command, or null.
    QAction* action(Command command) const { return items_.find(command); }
    // Sets the check mark of the items that run `call`.
    void setChecked(ActionCall call, bool checked) { items_.setChecked(call, checked); }
    // Greys the items of the commands this build does not carry out.
    void greyUnavailable() { items_.greyUnavailable(); }
    // The plugin items of the current bar, in the order they appear.
    const std::vector<PluginMenuItem>& pluginMenu() const { return pluginMenu_; }

  signals:
    void command(vlt::Command id);

  private:
    QMenu* addMenu(QMenuBar* bar, const char* title, const char* name);
    QMenu* addSubmenu(QMenu* menu, const char* title, const char* name, int icon = kNoIcon);
    void addFileMenu(QMenuBar* bar, const MainMenuState& state);
    void addPluginSubmenu(QMenu* file, const MainMenuState& state, int type, const char* title,
                          const char* name, int icon);
    void addRecentSubmenu(QMenu* file, const QStringList& paths);
    void addEditMenu(QMenuBar* bar);
    void addViewMenu(QMenuBar* bar);
    void addToolsMenu(QMenuBar* bar, const MainMenuState& state);
    void addPluginItems(QMenu* menu, const MainMenuState& state, int type);
    void setInitialChecks(const MainMenuState& state);

    CommandActions items_;
    std::vector<PluginMenuItem> pluginMenu_;
    std::vector<QPointer<QMenu>> menus_;  // the bar's menus of the last build
};

}  // namespace vlt
