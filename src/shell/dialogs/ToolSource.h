#pragma once
// What the password dialog needs from the plugin host: the loaded tool plugins, in plugin-list
// order, and a way to launch one.

#include <QIcon>
#include <QString>
#include <vector>

namespace vlt {

struct ToolItem {
    QString name;
    int pluginId = 0;
    QIcon icon;
};

// Results of launching a tool plugin.
enum ToolLaunchResult : int {
    kToolStarted = 1,
    kToolThreadFailed = 0,
    kToolNoThreadMemory = -1,
    kToolNoStartFunction = -2,
    kToolAlreadyRunning = -3,
    kToolNotATool = -4,
};

class ToolSource {
  public:
    virtual ~ToolSource() = default;
    // The loaded plugins of type Tool, in plugin-list order.
    virtual std::vector<ToolItem> tools() = 0;
    // Starts the tool with that plugin ID on its own thread; one of ToolLaunchResult.
    virtual int launch(int pluginId) = 0;
};

}  // namespace vlt
