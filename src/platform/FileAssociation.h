#pragma once
// Opening ".vlt" files with VLT from a file manager, for the current user, the XDG way:
//   $XDG_DATA_HOME/mime/packages/orvelline-vaultwick.xml      the type, glob "*.vlt"
//   $XDG_CONFIG_HOME/mimeapps.list                            the type's default desktop entry
// The default is the installed entry (orvelline-vaultwick.desktop) where the one a desktop finds
// starts this very program. Otherwise the program gets an entry of its own name, which never
// hides the installed one, nor outlives the program as a dead menu item (TryExec):
//   $XDG_DATA_HOME/applications/orvelline-vaultwick-user.desktop   Exec="<program>" %f
//   $XDG_DATA_HOME/icons/hicolor/16x16/apps/orvelline-vaultwick.png
// ($XDG_DATA_HOME defaults to ~/.local/share, $XDG_CONFIG_HOME to ~/.config), then the MIME
// database of $XDG_DATA_HOME is rebuilt with update-mime-database where that tool exists.

#include <string>

namespace vlt {

// The MIME type of containers, the name of the desktop file a package installs, and that of the
// one written for the user where no installed one starts the program.
inline constexpr const char* kContainerMimeType = "application/x-vlt-container";
inline constexpr const char* kDesktopFileName = "orvelline-vaultwick.desktop";
inline constexpr const char* kUserDesktopFileName = "orvelline-vaultwick-user.desktop";

// On: registers `programPath` (absolute) as the opener of ".vlt" files, replacing an earlier
// registration. Off: removes what registering wrote; other programs' lines of mimeapps.list
// stay. Both remove the copy of the shipped entry that earlier versions wrote under the
// installed entry's name. True when every file was written or removed.
bool ApplyFileAssociation(bool on, const std::string& programPath);

}  // namespace vlt
