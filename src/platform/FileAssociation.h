#pragma once
// Opening ".vlt" files with VLT from a file manager, for the current user, the XDG way:
//   $XDG_DATA_HOME/mime/packages/orvelline-vaultwick.xml      the type, glob "*.vlt"
//   $XDG_DATA_HOME/applications/orvelline-vaultwick.desktop   Exec="<program>" %f
//   $XDG_DATA_HOME/icons/hicolor/16x16/apps/orvelline-vaultwick.png
//   $XDG_CONFIG_HOME/mimeapps.list                            VLT as the type's default
// ($XDG_DATA_HOME defaults to ~/.local/share, $XDG_CONFIG_HOME to ~/.config), then the MIME
// database of $XDG_DATA_HOME is rebuilt with update-mime-database where that tool exists.

#include <string>

namespace vlt {

// The MIME type of containers, and the name of the desktop file that opens them.
inline constexpr const char* kContainerMimeType = "application/x-vlt-container";
inline constexpr const char* kDesktopFileName = "orvelline-vaultwick.desktop";

// On: registers `programPath` (absolute) as the opener of ".vlt" files, replacing an earlier
// registration. Off: removes what registering wrote; other programs' lines of mimeapps.list
// stay. True when every file was written or removed.
bool ApplyFileAssociation(bool on, const std::string& programPath);

}  // namespace vlt
