#include "engine/session/ExitSequence.h"

#include <string_view>

#include "engine/container/Container.h"
#include "engine/settings/ConfigFile.h"
#include "engine/vault/Engine.h"

namespace vlt {

namespace {

constexpr std::string_view kExitProc = "ConfirmExit";
constexpr char16_t kDiscardQuestion[] =
    u"Would you like to exit VLT? Any unsaved changes will be discarded.";

// The window's place, dividers and columns go to Config.ini with the view settings. A minimised
// window keeps the stored place and sizes; a hidden column keeps the width it is to get back
// when it is shown again.
void storeViewState(Engine& engine) {
    Settings& s = engine.settings;
    const std::optional<WindowLayout> layout = engine.desktop.MainWindowLayout();
    const bool geometry = layout.has_value() && !layout->minimized;
    if (geometry) {
        s.Main.MainWinX = layout->x;
        s.Main.MainWinY = layout->y;
        s.Main.MainWinW = layout->width;
        s.Main.MainWinH = layout->height;
        s.Main.Splitter1 = layout->splitter1;
        s.Main.Splitter2 = layout->splitter2;
    }
    if (layout.has_value()) {
        s.Main.AlwaysOnTop = layout->stayOnTop ? 1 : 0;
        for (std::size_t c = 0; c < s.Columns.size(); ++c) {
            if (s.Columns[c].Show == 1) {
                s.Columns[c].Size = layout->columnWidths[c];
            }
        }
    }
    if (!engine.ConfigReset) {
        WriteExitSettings(s, engine.ConfigPath, engine.writer, geometry);
    }
}

}  // namespace

int ConfirmExit(Engine& engine) {
    auto trace = [&engine](std::u16string_view message) { engine.log.Trace(message, kExitProc); };
    Desktop& desktop = engine.desktop;
    const MainSettings& m = engine.settings.Main;
    trace(u"Asking whether to quit");
    bool yes = true;
    if (!engine.vault.empty() && m.AskQuit != 0) {
        yes = desktop.AskYesNo(u"Please confirm",
                               m.Autosave == 1 ? u"Would you like to exit VLT?" : kDiscardQuestion,
                               MessageIcon::Question);
    }
    if (!yes) {
        trace(u"Returning");
        return 1;
    }
    if (m.Autosave == 1 && !engine.vault.Groups.empty()) {
        trace(u"Autosaving container");
        // A failed or cancelled autosave must not silently throw the vault away.
        if (SaveContainer(engine) != 1 &&
            !desktop.AskYesNo(u"Please confirm", kDiscardQuestion, MessageIcon::Question)) {
            trace(u"Returning");
            return 1;
        }
    }
    if (m.ClearClipAtExit == 1) {
        trace(u"Clearing clipboard");
        // What the user copied from elsewhere is theirs to keep.
        if (desktop.ClipboardHoldsOwnText()) {
            desktop.ClearClipboard();
        }
    }
    trace(u"Saving settings");
    storeViewState(engine);
    trace(u"Sending plugin quit signal");
    desktop.SendPluginQuitSignal();
    trace(u"Closing main window");
    desktop.CloseMainWindow();
    trace(u"End()");
    if (m.LogActions == 1) {
        engine.log.Log_End();
        engine.log.Log_Close();
    }
    desktop.EndProgram(0);
    return 0;
}

}  // namespace vlt
