#include "shell/app/AttachmentServices.h"

#include "engine/vault/Engine.h"
#include "host/PluginList.h"

namespace vlt {

EntryAttachmentServices BindAttachmentServices(Engine& engine, PluginList& plugins) {
    EntryAttachmentServices services;
    Engine* e = &engine;
    PluginList* p = &plugins;
    services.list = [e](std::int32_t entryId) { return AttachmentRows(e->vault, entryId); };
    services.add = [e](std::int32_t entryId,
                       const std::function<void(const AttachmentRow&)>& added) {
        Attachment_Add(*e, entryId, added);
    };
    services.remove = [e](int rowCount, const std::vector<std::int32_t>& ticked) {
        return Attachment_Delete(*e, rowCount, ticked);
    };
    services.save = [e](int rowCount, const std::vector<std::int32_t>& ticked) {
        Attachment_Save(*e, rowCount, ticked);
    };
    services.canPreview = [p] { return p->VLT_Plugin_CountPreviewers() > 0; };
    services.previewers = [e, p](std::int32_t attachmentId) {
        for (const Attachment& attachment : e->vault.Attachments) {
            if (attachment.ID == attachmentId) {
                return BuildPreviewMenu(*p, e->desktop, attachment);
            }
        }
        return std::vector<PreviewMenuItem>();
    };
    services.preview = [e, p](const PreviewMenuItem& item) {
        LaunchPreviewMenuItem(*p, e->desktop, e->vault, item);
    };
    return services;
}

}  // namespace vlt
