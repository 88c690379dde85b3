#include "engine/session/SettingsCommands.h"

#include <filesystem>
#include <system_error>

#include "engine/settings/ConfigFile.h"
#include "engine/vault/Engine.h"

namespace vlt {

int ApplyMainSettings(Engine& engine, const MainSettings& edited) {
    Settings changed = engine.settings;
    changed.Main = edited;
    CopyMainGroup(changed, engine.settings);
    engine.ConfigReset = false;
    int written = 1;
    if (!WriteMainSettings(engine.settings, engine.ConfigPath, engine.writer)) {
        engine.desktop.Message(u"Warning", u"The settings file could not be updated.",
                               MessageIcon::Warning);
        written = 0;
    }
    if (engine.settings.Main.Recents == 0) {
        engine.Recent.clear();
        engine.desktop.CreateMainMenu();
    }
    return written;
}

bool ResetSettingsFiles(Engine& engine, bool portable) {
    if (!engine.desktop.AskYesNo(u"Please confirm",
                                 u"Are you sure you want to reset all the settings to their "
                                 u"defaults?",
                                 MessageIcon::Question)) {
        return false;
    }
    std::error_code error;
    bool reset = false;
    if (portable) {
        reset = WriteFactoryConfig(engine.ConfigPath, engine.writer);
    } else {
        std::filesystem::remove(engine.ConfigPath, error);  // a file already gone is no error
        reset = !error;
    }
    if (!reset) {
        engine.desktop.Message(u"Warning", u"Could not erase the settings file.",
                               MessageIcon::Warning);
        return false;
    }
    std::filesystem::remove(engine.Recent.recentPath(), error);
    engine.ConfigReset = true;
    engine.desktop.Message(u"OK",
                           u"The settings were reset to their defaults. Please restart the "
                           u"program.",
                           MessageIcon::Information);
    return true;
}

}  // namespace vlt
