#include "ExporterIdentity.h"

#include "ExporterIcon.h"
#include "PluginSDK.h"

namespace vlt::plugin {

void SetExporterIdentity(const char16_t* name, const char16_t* version, std::uint32_t iconColour) {
    Plugin_SetName(name);
    Plugin_SetVersion(version);
    Plugin_SetDescription(name);
    Plugin_SetAuthor(u"Orvelline");
    Plugin_SetType(VLT_PLUGIN_EXPORTER);
    Plugin_SetIconSize(kIconFileSize);
    Plugin_SetIconAddress(ExporterIcon(iconColour));
}

}  // namespace vlt::plugin
