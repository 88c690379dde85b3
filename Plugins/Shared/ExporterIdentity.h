#pragma once
// What sets one exporter library apart: its name and version for the host, and its icon. The
// author, the type and the icon's size are the same for all.

#include <cstdint>

namespace vlt::plugin {

// For Plugin_OnLoad: the name is the description as well; iconColour is 0x00BBGGRR.
void SetExporterIdentity(const char16_t* name, const char16_t* version, std::uint32_t iconColour);

}  // namespace vlt::plugin
