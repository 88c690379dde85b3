#include "shell/main/Configuration.h"

#include "engine/session/Help.h"
#include "engine/session/SettingsCommands.h"
#include "engine/text/Text.h"
#include "engine/vault/Engine.h"
#include "platform/Autostart.h"
#include "shell/dialogs/SettingsWindow.h"
#include "shell/main/BossKey.h"
#include "shell/main/MainWindow.h"

namespace vlt {

void OpenSettingsWindow(Engine& engine, MainWindow& window, const std::string& programFile,
                        const ProgramPaths& paths) {
    const bool portable = paths.PortableMode == 1;
    SettingsWindowServices services;
    services.portable = portable;
    // The file association is not registered by this build yet.
    services.associationAvailable = false;
    services.bossKeyAvailable = BossKey::available();
    services.showHelp = [&engine, &paths] {
        RunHelp(engine, u16(SettingsWindow::kHelpTopic), paths.ProgramFolder);
    };
    services.resetDefaults = [&engine, portable] { return ResetSettingsFiles(engine, portable); };

    // Modal over the main window, which takes no input meanwhile.
    const std::optional<MainSettings> edited =
        SettingsWindow::ask(engine.settings.Main, services, &window);
    window.activateWindow();
    if (!edited) {
        return;
    }
    ApplyMainSettings(engine, *edited);
    window.applyLook();
    window.registerBossKey();
    const MainSettings& m = engine.settings.Main;
    // Failures to change the desktop's start-up list are not reported: the setting stays as
    // chosen and is applied again on the next Apply.
    SetAutostart(m.Autostart == 1, programFile);
}

}  // namespace vlt
