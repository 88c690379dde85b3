#include "engine/view/CopyField.h"

#include <string>
#include <string_view>

#include "engine/text/LinkFinder.h"
#include "engine/vault/Engine.h"
#include "engine/view/EntryList.h"
#include "engine/view/EntryRows.h"

namespace vlt {

namespace {

// The entry of the selected row, stamped as accessed now; nullptr after the refusals that the
// two commands share.
Entry* usedEntry(Engine& engine, std::string_view proc) {
    Desktop& desktop = engine.desktop;
    if (desktop.ShownEntryRows().count() == 0) {
        engine.log.Trace(u"No items in the list, returning", proc);
        return nullptr;
    }
    const int row = desktop.SelectedEntryRow();
    if (row < 0) {
        engine.log.Trace(u"No item selected, returning", proc);
        desktop.Message(u"Information", u"Please select (click) an item in the list.",
                        MessageIcon::Information);
        return nullptr;
    }
    Entry* entry = EntryOfRow(engine, row);
    if (entry == nullptr) {
        engine.log.Trace(u"Returning", proc);
        return nullptr;
    }
    entry->AccessDate = engine.clock();
    return entry;
}

// The text of a field other than the password, which is never copied into a plain string.
std::u16string fieldText(const Entry& entry, std::int32_t field) {
    switch (field) {
        case 0:
            return entry.Account;
        case 1:
            return entry.User;
        case 3:
            return entry.URL;
        case 4:
            return entry.Comment;
        case 5:
            return EntryDateText(entry.CreationDate);
        case 6:
            return EntryDateText(entry.AccessDate);
        case 7:
            return EntryDateText(entry.ModificationDate);
        case 8:
            return EntryDateText(entry.ExpirationDate);
        default:
            return {};
    }
}

}  // namespace

int CopyField(Engine& engine, std::int32_t field) {
    constexpr std::string_view kProc = "CopyField";
    engine.log.Trace(u"Copying field", kProc);
    Entry* entry = usedEntry(engine, kProc);
    if (entry == nullptr) {
        return 0;
    }
    engine.desktop.ClearClipboard();
    if (field == 2) {
        engine.desktop.SetClipboardText(entry->Password.view());
    } else if (field >= 0 && field <= 8) {
        engine.desktop.SetClipboardText(fieldText(*entry, field));
    }
    ArmClipboardClear(engine.ClipboardClearState);
    if (engine.settings.Main.MinClipCopy == 1) {
        engine.desktop.MinimizeMainWindow();
    }
    engine.log.Trace(u"Copied text, returning", kProc);
    return 1;
}

int FieldLaunchURL(Engine& engine) {
    constexpr std::string_view kProc = "FieldLaunchURL";
    engine.log.Trace(u"Launching URL", kProc);
    Entry* entry = usedEntry(engine, kProc);
    if (entry == nullptr) {
        return 0;
    }
    // Only web and mail addresses leave the program: a stored "file:" or program path does not.
    // An address without a scheme is a web address, as a bare "www." one is in the comments.
    const std::u16string url = BrowserAddress(entry->URL);
    if (!IsOpenableUrl(url)) {
        engine.desktop.Message(u"Information",
                               url.empty() ? u"This entry has no URL to open."
                                           : u"VLT opens only web and mail addresses (http, "
                                             u"https, ftp and mailto).",
                               MessageIcon::Information);
        engine.log.Trace(u"URL not opened, returning", kProc);
        return 0;
    }
    if (!engine.desktop.OpenUrl(url)) {
        engine.desktop.Message(u"Warning", u"VLT could not start the default browser.",
                               MessageIcon::Warning);
        engine.log.Trace(u"Couldn't launch browser, returning", kProc);
        return 0;
    }
    engine.log.Trace(u"Launched browser, returning", kProc);
    return 1;
}

}  // namespace vlt
