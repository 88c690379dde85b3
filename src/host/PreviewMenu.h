#pragma once
// The entry editor's preview popup: which previewer plugins offer to show an attachment, and
// starting the one the user picks.

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Desktop.h"
#include "engine/vault/Vault.h"

namespace vlt {

class PluginList;

struct PreviewMenuItem {
    std::u16string Name;  // the plugin's name
    int MenuID = 0;       // 200, 201, ... in list order
    std::int32_t PluginID = 0;
    QImage Icon;
    std::int32_t AttachmentID = 0;
};

inline constexpr int kFirstPreviewMenuId = 200;

// The previewers, in plugin-list order, whose known-extension list covers the attachment's
// extension. Says so when no plugin is loaded at all, and names each previewer that lacks the
// list. The plugin list's cursor is kept.
std::vector<PreviewMenuItem> BuildPreviewMenu(PluginList& plugins, Desktop& desktop,
                                              const Attachment& attachment);

// Starts the item's previewer on its own copy of the attachment's content, so that deleting
// the attachment or closing the container meanwhile cannot pull it away; reports a failed
// launch. The plugin list's cursor is kept.
void LaunchPreviewMenuItem(PluginList& plugins, Desktop& desktop, const Vault& vault,
                           const PreviewMenuItem& item);

}  // namespace vlt
