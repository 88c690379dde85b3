#pragma once
// Everything the vault procedures share: the open vault and its ID registry, the settings, the
// trace log, the desktop they talk to, and the open container's path and kept password.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "common/FileWriter.h"
#include "engine/Desktop.h"
#include "engine/crypto/Random.h"
#include "engine/crypto/SecureText.h"
#include "engine/log/Logging.h"
#include "engine/session/AutoClose.h"
#include "engine/session/ClipboardClear.h"
#include "engine/settings/RecentFiles.h"
#include "engine/settings/Settings.h"
#include "engine/text/DateText.h"
#include "engine/vault/Attachments.h"
#include "engine/vault/ID.h"
#include "engine/vault/Vault.h"

namespace vlt {

struct Engine {
    explicit Engine(Desktop& desktop, NumberSource numbers = defaultNumberSource());

    Desktop& desktop;
    NumberSource numbers;
    Clock clock = LocalNow;
    FileWriter writer;  // every file the engine writes goes through it
    Vault vault;
    IdRegistry ids;
    Settings settings;
    TraceLog log;
    RecentFiles Recent{std::string()};  // the shell points it at "Recent.ini" at start-up
    std::string ConfigPath;             // "Config.ini", where the exit stores the view state
    // Set by the configuration window's Defaults: the settings files were reset for the next
    // start, so the exit stores nothing until an Apply writes settings again.
    bool ConfigReset = false;

    std::u16string ContainerPath;      // empty when no container is open
    SecureText ContainerPassword;      // the open container's password, kept for later saves
    std::int32_t ViewFilter = 0;       // 0 all entries, 1 expired entries only
    std::int32_t SearchPosition = -1;  // the find routine's last hit, -1 for none
    std::int32_t SearchHitID = 0;      // the ID of the entry hit there
    SearchOptions ActiveSearch;        // the search find-next runs: the find window's last Search
    // Per entry-list column: 0 = the next sort by it is ascending, 1 = descending. The menu's
    // sort commands and the list's header clicks share them; they last as long as the program
    // runs and are no setting, so no file keeps them.
    std::array<std::int32_t, kColumnCount> SortDirections{};
    // The entry editor's attachment work, and the two idle guards' state.
    AttachmentEditing AttachmentEdit;
    ClipboardClear ClipboardClearState;
    AutoClose AutoCloseState;

    // Operations that pump window events while they run (load, save, plugin runs, commands)
    // hold the engine busy, so that nothing arriving meanwhile runs on a half-built vault: it is
    // turned away or waits. `whenIdle` is called each time the last of them has ended.
    bool busy() const { return busyDepth_ > 0; }
    std::function<void()> whenIdle;

    class BusyGuard {
      public:
        explicit BusyGuard(Engine& engine) : engine_(engine) { ++engine_.busyDepth_; }
        ~BusyGuard() {
            if (--engine_.busyDepth_ == 0 && engine_.whenIdle) {
                engine_.whenIdle();
            }
        }
        BusyGuard(const BusyGuard&) = delete;
        BusyGuard& operator=(const BusyGuard&) = delete;

      private:
        Engine& engine_;
    };

  private:
    int busyDepth_ = 0;
};

}  // namespace vlt
