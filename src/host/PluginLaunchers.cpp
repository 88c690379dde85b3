#include "host/PluginLaunchers.h"

#include <functional>
#include <new>

#include <QCoreApplication>
#include <QThread>

#include "PluginABI.h"
#include "engine/crypto/SecureBuffer.h"
#include "engine/vault/Engine.h"
#include "host/HostCallbacks.h"
#include "host/OrphanEntries.h"
#include "host/PluginFaults.h"
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
    const PluginFaultHandler& faultHandler =
        plugins.records()[static_cast<std::size_t>(plugins.VLT_Plugin_GetCurrent())].FaultHandler;
    std::function<void()> body;
    try {
        // A fault on the thread is reported by this plugin, whichever was loaded last.
        body = [faultHandler, run = bind(entry)] {
            PluginFaultScope scope(faultHandler);
            run();
        };
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
        return std::function<void()>([start, data = std::move(content)]() mutable {
            start(data.data(), static_cast<std::int32_t>(data.size()));
            wipeBytes(data.data(), data.size());  // an attachment may be as secret as a password
        });
    });
}

int VLT_Plugin_LaunchImport(PluginList& plugins) {
    return launch(plugins, Importer, "Plugin_ImportBegin", [](void* entry) {
        auto begin = reinterpret_cast<Plugin_ImportBegin_Fn>(entry);
        return std::function<void()>([begin] {
            begin(VLT_Plugin_AddGroup, VLT_Plugin_AddEntry, VLT_Plugin_RequestImportPassword);
        });
    });
}

int VLT_Plugin_LaunchExport(PluginList& plugins) {
    return launch(plugins, Exporter, "Plugin_ExportBegin", [](void* entry) {
        auto begin = reinterpret_cast<Plugin_ExportBegin_Fn>(entry);
        return std::function<void()>([begin] {
            begin(VLT_Plugin_CountGroups, VLT_Plugin_NextGroup, VLT_Plugin_CountEntries,
                  VLT_Plugin_NextEntry, VLT_Plugin_CountAttachments, VLT_Plugin_NextAttachment,
                  VLT_Plugin_RequestExportPassword);
        });
    });
}

namespace {

int runAndWait(PluginList& plugins, Engine& engine,
               const std::function<void(bool)>& setInterfaceLocked, int (*launcher)(PluginList&)) {
    // The password window belongs on the GUI thread; the plugin thread waits for its answer.
    CallbackSession session(engine, [&engine](PasswordMode mode) {
        SecureText answer;
        auto ask = [&] { answer = engine.desktop.AskPassword(mode); };
        QCoreApplication* app = QCoreApplication::instance();
        if (app == nullptr || QThread::currentThread() == app->thread()) {
            ask();
        } else {
            QMetaObject::invokeMethod(app, ask, Qt::BlockingQueuedConnection);
        }
        return answer;
    });
    const int result = launcher(plugins);
    if (result != 1) {
        return result;
    }
    Engine::BusyGuard busy(engine);
    setInterfaceLocked(true);
    plugins.threads().waitFor(plugins.VLT_Plugin_GetThread());
    setInterfaceLocked(false);
    return result;
}

}  // namespace

int RunExporter(PluginList& plugins, Engine& engine,
                const std::function<void(bool)>& setInterfaceLocked) {
    return runAndWait(plugins, engine, setInterfaceLocked, VLT_Plugin_LaunchExport);
}

int RunImporter(PluginList& plugins, Engine& engine,
                const std::function<void(bool)>& setInterfaceLocked) {
    const int result = runAndWait(plugins, engine, setInterfaceLocked, VLT_Plugin_LaunchImport);
    if (result == 1) {
        FileOrphanEntries(engine);
    }
    return result;
}

void LaunchPasswordGenerator(PluginList& plugins, Desktop& desktop) {
    const int cursor = plugins.VLT_Plugin_GetCurrent();
    if (plugins.VLT_Plugin_Count() == 0) {
        desktop.Message(u"Information", u"VLT could not find any tool plugins installed.",
                        MessageIcon::Information);
    }
    while (plugins.VLT_Plugin_Next() != 0) {
        if (plugins.VLT_Plugin_GetType() == Tool &&
            plugins.VLT_Plugin_GetName() == u"Password generator") {
            ReportLaunchResult(desktop, VLT_Plugin_LaunchTool(plugins), u"Plugin_Start");
            break;
        }
    }
    plugins.VLT_Plugin_Select(cursor);
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
