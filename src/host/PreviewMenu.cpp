#include "host/PreviewMenu.h"

#include <new>

#include "PluginABI.h"
#include "common/Trim.h"
#include "engine/text/Text.h"
#include "engine/vault/Attachments.h"
#include "host/PluginLaunchers.h"
#include "host/PluginList.h"

namespace vlt {

namespace {

// Keeps the plugin list's cursor where the caller had it.
class CursorKeeper {
  public:
    explicit CursorKeeper(PluginList& plugins)
        : plugins_(plugins), cursor_(plugins.VLT_Plugin_GetCurrent()) {}
    ~CursorKeeper() { plugins_.VLT_Plugin_Select(cursor_); }
    CursorKeeper(const CursorKeeper&) = delete;
    CursorKeeper& operator=(const CursorKeeper&) = delete;

  private:
    PluginList& plugins_;
    int cursor_;
};

}  // namespace

std::vector<PreviewMenuItem> BuildPreviewMenu(PluginList& plugins, Desktop& desktop,
                                              const Attachment& attachment) {
    std::vector<PreviewMenuItem> menu;
    const std::u16string extension = extensionPart(attachment.FileName);
    CursorKeeper keep(plugins);
    const int count = static_cast<int>(plugins.records().size());
    if (count == 0) {
        desktop.Message(u"Information",
                        u"The attachment you selected cannot be previewed because VLT could not "
                        u"find any preview plugins installed.",
                        MessageIcon::Information);
        return menu;
    }
    for (int i = 0; i < count; ++i) {
        plugins.VLT_Plugin_Select(i);
        if (plugins.VLT_Plugin_GetType() != Previewer) {
            continue;
        }
        auto list = reinterpret_cast<Plugin_GetKnownExtensionList_Fn>(
            plugins.currentExport("Plugin_GetKnownExtensionList"));
        if (list == nullptr) {
            desktop.Message(u"Warning",
                            u"The 'Plugin_GetKnownExtensionList' function could not be found in "
                            u"the '" +
                                plugins.VLT_Plugin_GetName() + u"' plugin.",
                            MessageIcon::Warning);
            continue;
        }
        const VLT_Char* text = list();
        const std::u16string known = text != nullptr ? std::u16string(text) : std::u16string();
        if (trimBlanks(known).empty() || ExtensionMatches(known, extension) != 1) {
            continue;
        }
        const VLTPlg& record = plugins.records()[static_cast<std::size_t>(i)];
        menu.push_back({record.Name, kFirstPreviewMenuId + static_cast<int>(menu.size()), record.ID,
                        record.IconImage, attachment.ID});
    }
    return menu;
}

void LaunchPreviewMenuItem(PluginList& plugins, Desktop& desktop, const Vault& vault,
                           const PreviewMenuItem& item) {
    const int index = plugins.indexOf(item.PluginID);
    const Attachment* attachment = nullptr;
    for (const Attachment& a : vault.Attachments) {
        if (a.ID == item.AttachmentID) {
            attachment = &a;
        }
    }
    if (index < 0 || attachment == nullptr) {
        return;
    }
    CursorKeeper keep(plugins);
    plugins.VLT_Plugin_Select(index);
    std::vector<std::uint8_t> content;
    try {
        content.assign(attachment->Data.bytes().begin(), attachment->Data.bytes().end());
    } catch (const std::bad_alloc&) {
        ReportLaunchResult(desktop, -1, u"Plugin_PreviewStart");
        return;
    }
    ReportLaunchResult(desktop, VLT_Plugin_LaunchPreview(plugins, std::move(content)),
                       u"Plugin_PreviewStart");
}

}  // namespace vlt
