#pragma once
// The windows' way to the loaded plugins: the main menu's plugin items, the password dialog's
// tool popup, and running a chosen plugin with the messages, waits and refreshes that go with
// its type. GUI thread only.

#include <string>
#include <vector>

#include "shell/commands/MainMenu.h"
#include "shell/dialogs/ToolSource.h"

namespace vlt {

class MainWindow;
class PluginList;
struct Engine;

class PluginShell : public ToolSource {
  public:
    // `folder` is where installed plugin files go.
    PluginShell(PluginList& plugins, Engine& engine, std::string folder);

    // Tools, importers, exporters and previewers in plugin-list order.
    std::vector<PluginMenuEntry> menuEntries() const;
    // Runs the plugin with that ID as its type says: a tool beside the program; an exporter or
    // importer while the window waits with its interface locked (an importer first replaces the
    // open vault, if the user agrees, and the window shows what it brought).
    void run(int pluginId, MainWindow& window);

    // The plugin manager window, modal over `window`; the menus follow what it changed.
    void openManager(MainWindow& window);

    // The entry window's generator button: the first tool named "Password generator".
    void launchPasswordGenerator();

    std::vector<ToolItem> tools() override;
    int launch(int pluginId) override;

  private:
    // Makes the record with that ID current; false when there is none.
    bool select(int pluginId);
    void runImporter(MainWindow& window);

    PluginList& plugins_;
    Engine& engine_;
    std::string folder_;
};

}  // namespace vlt
