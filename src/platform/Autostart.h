#pragma once
// Starting the program at log-on, the XDG way: an entry "orvelline-vaultwick.desktop" in the
// user's autostart folder ($XDG_CONFIG_HOME/autostart) that starts the program in the tray.

#include <cstdlib>
#include <functional>
#include <string>

namespace vlt {

// The autostart entry's path; "" when no configuration folder is known.
std::string AutostartEntryPath(const std::function<const char*(const char*)>& getenv = ::getenv);

// The entry's text for the program at `programFile` (an absolute path): its Exec line quotes
// the path as the desktop-entry rules ask, then passes "-tray".
std::string AutostartEntry(const std::string& programFile);

// On: writes the entry (creating the autostart folder), replacing an older one whole. Off:
// removes the entry when there is one. False when the file could not be written or removed.
bool SetAutostart(bool on, const std::string& programFile,
                  const std::function<const char*(const char*)>& getenv = ::getenv);

}  // namespace vlt
