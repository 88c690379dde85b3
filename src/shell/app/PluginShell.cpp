#include "shell/app/PluginShell.h"

#include <QPixmap>

#include "engine/container/Container.h"
#include "engine/vault/Engine.h"
#include "engine/view/EntryList.h"
#include "host/PluginLaunchers.h"
#include "host/PluginList.h"
#include "shell/app/QtText.h"
#include "shell/dialogs/PluginManagerWindow.h"
#include "shell/main/MainWindow.h"
#include "shell/widgets/ModalRun.h"

namespace vlt {
namespace {

constexpr std::u16string_view kImportQuestion =
    u"You already seem to have some items/groups in the list. In order to import a file, the old "
    u"one will be closed and any unsaved changes will be lost. Would you like to continue?";

QIcon iconOf(const VLTPlg& plugin) {
    return plugin.IconImage.isNull() ? QIcon() : QIcon(QPixmap::fromImage(plugin.IconImage));
}

}  // namespace

PluginShell::PluginShell(PluginList& plugins, Engine& engine, std::string folder)
    : plugins_(plugins), engine_(engine), folder_(std::move(folder)) {}

void PluginShell::openManager(MainWindow& window) {
    // Modal over the main window only, so that a tool launched from it is a window of its own,
    // in front and usable at once. The window was opened from a menu item, whose menu must
    // outlive the window's own event loop: the menus are rebuilt once the window is closed.
    bool changed = false;
    const QPointer<QWidget> owner = &window;
    RunModal(owner,
             new PluginManagerWindow(
                 plugins_, engine_.desktop, folder_, [&changed] { changed = true; }, &window),
             [](PluginManagerWindow&, int) {});
    if (changed) {
        window.CreateMainMenu();
    }
}

std::vector<PluginMenuEntry> PluginShell::menuEntries() const {
    std::vector<PluginMenuEntry> entries;
    for (const VLTPlg& p : plugins_.records()) {
        entries.push_back(PluginMenuEntry{qs(p.Name), p.ID, p.Type, iconOf(p)});
    }
    return entries;
}

std::vector<ToolItem> PluginShell::tools() {
    std::vector<ToolItem> items;
    for (const VLTPlg& p : plugins_.records()) {
        if (p.Type == Tool) {
            items.push_back(ToolItem{qs(p.Name), p.ID, iconOf(p)});
        }
    }
    return items;
}

bool PluginShell::select(int pluginId) {
    const auto& records = plugins_.records();
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].ID == pluginId) {
            plugins_.VLT_Plugin_Select(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

void PluginShell::launchPasswordGenerator() {
    LaunchPasswordGenerator(plugins_, engine_.desktop);
}

int PluginShell::launch(int pluginId) {
    return select(pluginId) ? VLT_Plugin_LaunchTool(plugins_) : kToolNotATool;
}

void PluginShell::run(int pluginId, MainWindow& window) {
    if (!select(pluginId)) {
        return;
    }
    auto lock = [&window](bool on) { window.SetInterfaceDisabled(on); };
    switch (plugins_.VLT_Plugin_GetType()) {
        case Tool:
            ReportLaunchResult(engine_.desktop, VLT_Plugin_LaunchTool(plugins_), u"Plugin_Start");
            break;
        case Exporter: {
            const int result = RunExporter(plugins_, engine_, lock);
            ReportLaunchResult(engine_.desktop, result, u"Plugin_ExportBegin");
            if (result == 1) {
                window.activateWindow();
            }
            break;
        }
        case Importer:
            runImporter(window);
            break;
        default:
            break;
    }
}

void PluginShell::runImporter(MainWindow& window) {
    if (!engine_.vault.empty()) {
        if (!engine_.desktop.AskYesNo(u"Warning", kImportQuestion, MessageIcon::Question)) {
            return;
        }
        CloseContainer(engine_, kCloseWithoutAsking);
        // Closing forgets every ID; the loaded plugins keep theirs.
        for (const VLTPlg& p : plugins_.records()) {
            engine_.ids.RegisterID(p.ID);
        }
    }
    const int result =
        RunImporter(plugins_, engine_, [&window](bool on) { window.SetInterfaceDisabled(on); });
    ReportLaunchResult(engine_.desktop, result, u"Plugin_ImportBegin");
    if (result != 1) {
        return;
    }
    engine_.desktop.RebuildGroupTree();
    Entry_RefreshList(engine_);
    window.activateWindow();
}

}  // namespace vlt
