#include "engine/container/InterruptedSave.h"

#include <sys/stat.h>

#include "common/Folders.h"
#include "common/Utf.h"
#include "engine/container/RescueCopy.h"
#include "engine/text/DateText.h"
#include "engine/view/EntryRows.h"

namespace vlt {

std::string RescueDataFolder(const Engine& engine) {
    if (engine.ConfigPath.empty()) {
        return {};
    }
    const std::string folder = FolderOf(engine.ConfigPath);
    return folder.ends_with('/') ? folder : folder + "/";
}

std::u16string RescueCopyOf(const Engine& engine, const std::u16string& path) {
    return fromUtf8(FindRescueCopy(toUtf8(path), RescueDataFolder(engine)));
}

bool OfferRescueCopy(Engine& engine, const std::u16string& copy, CopyOffer why) {
    struct stat info {};
    if (::stat(toUtf8(copy).c_str(), &info) != 0) {
        return false;  // gone since it was found
    }
    engine.log.Trace(u"Found the copy of an interrupted save: \"" + copy + u"\"", "OpenContainer");
    // The copy was written when the save began: its date says how much it may lack.
    const std::u16string date = EntryDateText(LocalDate(info.st_mtim.tv_sec));
    // The copy is only read: the vault stays the file's own, so saving it writes the file, and
    // the copy goes only once that save succeeded.
    const std::u16string question =
        why == CopyOffer::DamagedFile
            ? u"This file is damaged, but a save that was interrupted on " + date +
                  u" left a complete copy of it at the following location:\r\n\r\n" + copy +
                  u"\r\n\r\nWould you like to open the copy? Saving it then repairs the file."
            : u"This file does not open with this password, but a copy of it that a save "
              u"interrupted on " +
                  date + u" left does:\r\n\r\n" + copy +
                  u"\r\n\r\nWould you like to open the copy? Saving it then replaces the file.";
    if (!engine.desktop.AskYesNo(u"Warning", question, MessageIcon::Question)) {
        engine.log.Trace(u"User declined the copy", "OpenContainer");
        return false;
    }
    engine.log.Trace(u"Opening the copy instead", "OpenContainer");
    return true;
}

}  // namespace vlt
