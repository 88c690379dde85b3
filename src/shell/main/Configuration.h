#pragma once
// The "Program Configuration" command: the configuration window, then the steps of its Apply
// that bring the running program in line, in their order: the settings file and the recent
// files, the views' colours and grid, the file association, the boss key, start at log-on.

#include <string>

#include "platform/DataFolder.h"

namespace vlt {

struct Engine;
class MainWindow;

// `programFile` is the running program's absolute path (the autostart entry starts it).
void OpenSettingsWindow(Engine& engine, MainWindow& window, const std::string& programFile,
                        const ProgramPaths& paths);

}  // namespace vlt
