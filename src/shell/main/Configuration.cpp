#include "shell/main/Configuration.h"

#include "common/Utf.h"
#include "engine/session/Help.h"
#include "engine/session/SettingsCommands.h"
#include "engine/vault/Engine.h"
#include "platform/Autostart.h"
#include "platform/FileAssociation.h"
#include "shell/dialogs/SettingsWindow.h"
#include "shell/main/BossKey.h"
#include "shell/main/MainWindow.h"

namespace vlt {

void OpenSettingsWindow(Engine& engine, MainWindow& window, const std::string& programFile,
                        const ProgramPaths& paths) {
    const bool portable = paths.PortableMode == 1;
    SettingsWindowServices services;
    services.portable = portable;
    services.bossKeyAvailable = BossKey::available();
    services.showHelp = [&engine, &paths] {
        RunHelp(engine, u16(SettingsWindow::kHelpTopic), paths.ProgramFolder);
    };
    services.resetDefaults = [&engine, portable] { return ResetSettingsFiles(engine, portable); };

    // Modal over the main window, which takes no input meanwhile.
    const std::optional<MainSettings> edited =
        SettingsWindow::ask(engine.settings.Main, services, &window);
    if (!edited) {
        return;
    }
    ApplyMainSettings(engine, *edited);
    window.applyLook();
    const MainSettings& m = engine.settings.Main;
    // Failures of the association and of the start-up entry are not reported: the setting stays
    // as chosen and is applied again on the next Apply.
    if (!portable) {
        ApplyFileAssociation(m.AssociateVLT == 1, programFile);
    }
    window.registerBossKey();
    SetAutostart(m.Autostart == 1, programFile);
    if (window.startIdleGuards) {
        window.startIdleGuards();
    }
}

}  // namespace vlt
