#include "engine/container/InterruptedSave.h"

#include "common/Folders.h"
#include "common/Utf.h"
#include "engine/text/DateText.h"
#include "engine/view/EntryRows.h"

namespace vlt {

namespace {

// The longest an interrupted rewrite may have run between making its copy and its last write.
constexpr time_t kRewriteWindow = 10 * 60;

bool notLater(const timespec& a, const timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec <= b.tv_nsec);
}

std::u16string dateText(const timespec& time) {
    return EntryDateText(LocalDate(time.tv_sec));
}

}  // namespace

std::string RescueDataFolder(const Engine& engine) {
    if (engine.ConfigPath.empty()) {
        return {};
    }
    const std::string folder = FolderOf(engine.ConfigPath);
    return folder.ends_with('/') ? folder : folder + "/";
}

FoundCopy RescueCopyOf(const Engine& engine, const std::u16string& path) {
    return FindRescueCopy(toUtf8(path), RescueDataFolder(engine));
}

bool FitsInterruptedRewrite(const struct stat& copy, const struct stat& file) {
    const timespec latest{file.st_mtim.tv_sec, file.st_mtim.tv_nsec};
    const timespec earliest{file.st_mtim.tv_sec - kRewriteWindow, file.st_mtim.tv_nsec};
    return notLater(copy.st_mtim, latest) && notLater(earliest, copy.st_mtim);
}

bool OfferRescueCopy(Engine& engine, const std::u16string& copyPath, const struct stat& copy,
                     const struct stat& file, CopyOffer why) {
    engine.log.Trace(u"Found the copy of an interrupted save: \"" + copyPath + u"\"",
                     "OpenContainer");
    // The copy was written when the save began: its date says how much it may lack.
    const std::u16string date = dateText(copy.st_mtim);
    const std::u16string changed = u"This file, last changed on " + dateText(file.st_mtim);
    // The copy is only read: the vault stays the file's own, so saving it writes the file, and
    // the copy goes only once that save succeeded.
    const std::u16string question =
        why == CopyOffer::DamagedFile
            ? changed + u", is damaged, but a save that was interrupted on " + date +
                  u" left a complete copy of it at the following location:\r\n\r\n" + copyPath +
                  u"\r\n\r\nWould you like to open the copy? Saving it then repairs the file."
            : changed + u", was left incomplete by a save that was interrupted on " + date +
                  u". That save left a complete copy of it, which opens with this password, at "
                  u"the following location:\r\n\r\n" +
                  copyPath +
                  u"\r\n\r\nWould you like to open the copy? Saving it then repairs the file.";
    if (!engine.desktop.AskYesNo(u"Warning", question, MessageIcon::Question)) {
        engine.log.Trace(u"User declined the copy", "OpenContainer");
        return false;
    }
    engine.log.Trace(u"Opening the copy instead", "OpenContainer");
    return true;
}

}  // namespace vlt
