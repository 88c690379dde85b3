#include "ImporterIdentity.h"

#include "ExporterIcon.h"
#include "PluginSDK.h"

namespace vlt::import {

void SetImporterIdentity(const char16_t* name, const char16_t* version, std::uint32_t iconColour) {
    Plugin_SetName(name);
    Plugin_SetVersion(version);
    Plugin_SetDescription(name);
    Plugin_SetAuthor(u"Orvelline");
    Plugin_SetType(VLT_PLUGIN_IMPORTER);
    // The icon is drawn by the exporters' helper, in the importer's own colour.
    Plugin_SetIconSize(vlt::plugin::kIconFileSize);
    Plugin_SetIconAddress(vlt::plugin::ExporterIcon(iconColour));
}

}  // namespace vlt::import
