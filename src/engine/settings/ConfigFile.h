#pragma once
// "Config.ini": where the settings records live between runs. Start-up reads the whole file,
// the configuration window's Apply writes the group "MainSettings", and the exit writes the
// view state (groups "Window", "MaskFields", "Columns", "SearchOptions"). The file may hold the
// last search text, so a new file is owner-only.

#include <cstdint>
#include <string>

#include "common/FileWriter.h"
#include "engine/Desktop.h"
#include "engine/settings/Settings.h"

namespace vlt {

// What ReadConfig found.
enum ConfigReadResult : int {
    kConfigNotCreated = 0,  // unreadable and uncreatable: factory values, "Warning!" shown
    kConfigRead = 1,        // read from the existing file
    kConfigRecreated = 2,   // unreadable, recreated with factory values, "Information" shown
};

// The settings of a freshly created "Config.ini".
Settings FactorySettings();

// Reads every stored setting from the file, each absent key taking its *missing* default (which
// differs from the factory value for CommentBKColor). When the file cannot be read it is
// recreated with the factory values and the user is told; when it cannot even be created the
// user is warned and the factory values are used for this run all the same.
int ReadConfig(Settings& settings, Desktop& desktop, const std::string& configPath,
               const FileWriter& writer);

// The configuration window's Apply: the group "MainSettings" in record order, creating the file
// when it does not exist. False when an existing file cannot be read or the file cannot be
// written.
bool WriteMainSettings(const Settings& settings, const std::string& configPath,
                       const FileWriter& writer);

// Copies the values of the group "MainSettings" (what the configuration window edits) from
// `from` into `to`; the window's place and size stay as `to` has them.
void CopyMainGroup(const Settings& from, Settings& to);

// Replaces the file with one holding every group at its factory values. False when it could
// not be written; it is then untouched.
bool WriteFactoryConfig(const std::string& configPath, const FileWriter& writer);

// The exit: the groups "Window", "MaskFields", "Columns" and "SearchOptions", only into a file
// that can be read (a deleted file stays deleted). Without `windowGeometry` (the window is
// minimised) the group "Window" gets only AlwaysOnTop, the stored position and sizes stay.
// False when nothing could be written.
bool WriteExitSettings(const Settings& settings, const std::string& configPath,
                       const FileWriter& writer, bool windowGeometry = true);

}  // namespace vlt
