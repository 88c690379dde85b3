#include "engine/session/RecentFileCommands.h"

#include <filesystem>
#include <system_error>

#include "common/Utf.h"
#include "engine/container/Container.h"
#include "engine/vault/Engine.h"

namespace vlt {

int OpenRecentFile(Engine& engine, int index) {
    // Taken by the list's size, so a hand-edited list can never reach other commands.
    if (index < 0 || index >= static_cast<int>(engine.Recent.paths.size())) {
        return 0;
    }
    const std::u16string path = engine.Recent.entry(index);
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::path(toUtf8(path)), error)) {
        engine.desktop.Message(u"Warning",
                               u"The file no longer exists at the known location, loading "
                               u"aborted.",
                               MessageIcon::Warning);
        return 0;
    }
    return OpenContainer(engine, path);
}

void ClearRecentFiles(Engine& engine) {
    engine.Recent.clear();
    engine.desktop.CreateMainMenu();
}

}  // namespace vlt
