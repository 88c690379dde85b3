#include "engine/container/InterruptedSave.h"

#include "common/Folders.h"
#include "common/Utf.h"
#include "engine/container/RescueCopy.h"

namespace vlt {

std::string RescueDataFolder(const Engine& engine) {
    if (engine.ConfigPath.empty()) {
        return {};
    }
    const std::string folder = FolderOf(engine.ConfigPath);
    return folder.ends_with('/') ? folder : folder + "/";
}

std::u16string OfferRescueCopy(Engine& engine, const std::u16string& path) {
    const std::string copy = FindRescueCopy(toUtf8(path), RescueDataFolder(engine));
    if (copy.empty()) {
        return {};
    }
    const std::u16string copyPath = fromUtf8(copy);
    engine.log.Trace(u"Found the copy of an interrupted save: \"" + copyPath + u"\"",
                     "OpenContainer");
    // The copy is only read: the vault stays the file's own, so saving it repairs the file, and
    // the copy goes only once that save succeeded.
    if (!engine.desktop.AskYesNo(
            u"Warning",
            u"This file is damaged, but a save that was interrupted left a complete copy of it at "
            u"the following location:\r\n\r\n" +
                copyPath +
                u"\r\n\r\nWould you like to open the copy? Saving it then repairs the file.",
            MessageIcon::Question)) {
        engine.log.Trace(u"User declined the copy", "OpenContainer");
        return {};
    }
    engine.log.Trace(u"Opening the copy instead", "OpenContainer");
    return copyPath;
}

}  // namespace vlt
