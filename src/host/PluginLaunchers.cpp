#include "host/PluginLaunchers.h"

#include <functional>
#include <new>

#include "PluginABI.h"
#include "host/PluginList.h"

namespace vlt {
namespace {

// The steps every launcher shares; `bind` turns the found entry export into the thread's body.
int launch(PluginList& plugins, std::int32_t type, const char* entryName,
           const std::function<std::function<void()>(void*)>& bind) {
    if (plugins.VLT_Plugin_GetType() != type) {
        return -4;
    }
    if (plugins.threads().isRunning(plugins.VLT_Plugin_GetThread())) {
        return -3;
    }
    void* entry = plugins.currentExport(entryName);
    if (entry == nullptr) {
        return -2;
    }
    std::function<void()> body;
    try {
        body = bind(entry);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    const std::int32_t number = plugins.threads().start(std::move(body));
    if (number == 0) {
        return 0;
    }
    plugins.VLT_Plugin_SetThread(number);
    return 1;
}

}  // namespace

int VLT_Plugin_LaunchTool(PluginList& plugins) {
    return launch(plugins, Tool, "Plugin_Start", [](void* entry) {
        auto start = reinterpret_cast<Plugin_Start_Fn>(entry);
        return std::function<void()>([start] { start(); });
    });
}

int VLT_Plugin_LaunchPreview(PluginList& plugins, std::vector<std::uint8_t> content) {
    return launch(plugins, Previewer, "Plugin_PreviewStart", [&content](void* entry) {
        auto start = reinterpret_cast<Plugin_PreviewStart_Fn>(entry);
        return std::function<void()>([start, data = std::move(content)] {
            start(data.data(), static_cast<std::int32_t>(data.size()));
        });
    });
}

void ReportLaunchResult(Desktop& desktop, int result, std::u16string_view entryName) {
    switch (result) {
        case 0:
            desktop.Message(u"Warning", u"Error launching plugin start thread.",
                            MessageIcon::Warning);
            break;
        case -1:
            desktop.Message(u"Warning", u"Error allocating thread memory.", MessageIcon::Warning);
            break;
        case -2:
            desktop.Message(u"Warning",
                            u"Could not find the '" + std::u16string(entryName) +
                                u"' function in the plugin, launch failed.",
                            MessageIcon::Warning);
            break;
        case -3:
            desktop.Message(u"Information", u"The plugin is already running.",
                            MessageIcon::Information);
            break;
        case -4:
            desktop.Message(u"Information", u"Only tool plugins can be launched in this fashion.",
                            MessageIcon::Information);
            break;
        default:
            break;
    }
}

}  // namespace vlt
