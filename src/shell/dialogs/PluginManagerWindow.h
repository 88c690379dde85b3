#pragma once
// The plugin manager: the loaded plugins in a list, and buttons to install a plugin file, remove
// one, and launch a tool. Modal over the main window.

#include <QDialog>
#include <functional>
#include <string>

class QTreeWidget;

namespace vlt {

class Desktop;
class PluginList;

class PluginManagerWindow : public QDialog {
    Q_OBJECT

  public:
    // `folder` receives installed files; `changed` runs whenever the plugin list has changed
    // (the main menu follows it).
    PluginManagerWindow(PluginList& plugins, Desktop& desktop, std::string folder,
                        std::function<void()> changed, QWidget* parent = nullptr);

    // Clears the list and adds one row per loaded plugin.
    int VLT_Plugin_FillList();

  private:
    // ID of the selected row's plugin, 0 when no row is selected.
    int selectedId() const;
    void VLT_Plugin_LaunchSelected();
    void VLT_Plugin_Install();
    void VLT_Plugin_Remove();

    PluginList& plugins_;
    Desktop& desktop_;
    std::string folder_;
    std::function<void()> changed_;
    QTreeWidget* list_;
};

}  // namespace vlt
