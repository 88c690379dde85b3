#pragma once
// The desktop files the program ships (src/platform/xdg) and its icon, compiled in, so that the
// program can register itself wherever it was installed.

#include <string_view>

namespace vlt::xdg {

extern const std::string_view kDesktopEntry;  // orvelline-vaultwick.desktop, Exec "VLT %f"
extern const std::string_view kMimePackage;   // orvelline-vaultwick.xml
extern const std::string_view kProgramIcon;   // PNG, the program's window and file icon

}  // namespace vlt::xdg
