#pragma once
// What sets one importer library apart for the host: its name and version, and its icon's
// colour. The author, the type and the icon's size are the same for all.

#include <cstdint>

namespace vlt::import {

// For Plugin_OnLoad: the name is the description as well; iconColour is 0x00BBGGRR.
void SetImporterIdentity(const char16_t* name, const char16_t* version, std::uint32_t iconColour);

}  // namespace vlt::import
