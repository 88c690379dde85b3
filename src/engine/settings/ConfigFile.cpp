#include "engine/settings/ConfigFile.h"

#include <array>
#include <filesystem>
#include <string_view>

#include "engine/settings/IniFile.h"

namespace vlt {

namespace {

constexpr std::u16string_view kMain = u"MainSettings";
constexpr std::u16string_view kWindow = u"Window";
constexpr std::u16string_view kMask = u"MaskFields";
constexpr std::u16string_view kColumns = u"Columns";
constexpr std::u16string_view kSearch = u"SearchOptions";

template <auto Member>
std::int32_t& mainField(Settings& s) {
    return s.Main.*Member;
}
template <auto Member>
std::int32_t& maskField(Settings& s) {
    return s.Mask.*Member;
}
template <int Column>
std::int32_t& showColumn(Settings& s) {
    return s.Columns[Column].Show;
}
template <int Column>
std::int32_t& columnSize(Settings& s) {
    return s.Columns[Column].Size;
}
template <auto Member>
std::int32_t& searchField(Settings& s) {
    return s.Search.*Member;
}
std::u16string& searchText(Settings& s) {
    return s.Search.SearchText;
}

// One stored setting. Exactly one of `number` and `text` is set; the text setting's defaults
// are both "".
struct ConfigKey {
    std::u16string_view group;
    std::u16string_view key;
    std::int32_t missing;  // when the key is absent from an existing file
    std::int32_t factory;  // in a recreated file
    std::int32_t& (*number)(Settings&);
    std::u16string& (*text)(Settings&) = nullptr;
};

using M = MainSettings;
using S = SearchOptions;

// In file order: the order of a recreated file, of start-up reading and of every group written.
constexpr std::array kConfigKeys = {
    ConfigKey{kMain, u"CloseSendTray", 0, 0, &mainField<&M::CloseSendTray>},
    ConfigKey{kMain, u"MinSendTray", 0, 0, &mainField<&M::MinSendTray>},
    ConfigKey{kMain, u"LogActions", 0, 0, &mainField<&M::LogActions>},
    ConfigKey{kMain, u"MinClipCopy", 0, 0, &mainField<&M::MinClipCopy>},
    ConfigKey{kMain, u"Recents", 1, 1, &mainField<&M::Recents>},
    ConfigKey{kMain, u"Autosave", 0, 0, &mainField<&M::Autosave>},
    ConfigKey{kMain, u"AutoresizeColumns", 0, 0, &mainField<&M::AutoresizeColumns>},
    ConfigKey{kMain, u"EnableEntryBKColor", 0, 0, &mainField<&M::EnableEntryBKColor>},
    ConfigKey{kMain, u"EntryBKColor", 16777215, 16777215, &mainField<&M::EntryBKColor>},
    ConfigKey{kMain, u"EnableGroupBKColor", 0, 0, &mainField<&M::EnableGroupBKColor>},
    ConfigKey{kMain, u"GroupBKColor", 16777215, 16777215, &mainField<&M::GroupBKColor>},
    ConfigKey{kMain, u"EnableGroupFGColor", 0, 0, &mainField<&M::EnableGroupFGColor>},
    ConfigKey{kMain, u"GroupFGColor", 0, 0, &mainField<&M::GroupFGColor>},
    ConfigKey{kMain, u"EnableCommentBKColor", 0, 0, &mainField<&M::EnableCommentBKColor>},
    // The two defaults really differ: an absent key reads black, a new file holds white.
    ConfigKey{kMain, u"CommentBKColor", 0, 16777215, &mainField<&M::CommentBKColor>},
    ConfigKey{kMain, u"EnableCommentFGColor", 0, 0, &mainField<&M::EnableCommentFGColor>},
    ConfigKey{kMain, u"CommentFGColor", 0, 0, &mainField<&M::CommentFGColor>},
    ConfigKey{kMain, u"DrawGrid", 0, 0, &mainField<&M::DrawGrid>},
    ConfigKey{kMain, u"RememberWinPos", 1, 1, &mainField<&M::RememberWinPos>},
    ConfigKey{kMain, u"AssociateVLT", 1, 1, &mainField<&M::AssociateVLT>},
    ConfigKey{kMain, u"EnableBossKey", 1, 1, &mainField<&M::EnableBossKey>},
    ConfigKey{kMain, u"BossKey1", 0, 0, &mainField<&M::BossKey1>},
    ConfigKey{kMain, u"BossKey2", 0, 0, &mainField<&M::BossKey2>},
    ConfigKey{kMain, u"Autostart", 0, 0, &mainField<&M::Autostart>},
    ConfigKey{kMain, u"AutoCloseContainer", 0, 0, &mainField<&M::AutoCloseContainer>},
    ConfigKey{kMain, u"AutoCloseSecs", 60, 60, &mainField<&M::AutoCloseSecs>},
    ConfigKey{kMain, u"AutoClearClip", 1, 1, &mainField<&M::AutoClearClip>},
    ConfigKey{kMain, u"AutoClearClipSecs", 10, 10, &mainField<&M::AutoClearClipSecs>},
    ConfigKey{kMain, u"NewlyAddedExpireIn", 1, 1, &mainField<&M::NewlyAddedExpireIn>},
    ConfigKey{kMain, u"NewlyAddedExpireDays", 365, 365, &mainField<&M::NewlyAddedExpireDays>},
    ConfigKey{kMain, u"ClearClipAtExit", 1, 1, &mainField<&M::ClearClipAtExit>},
    ConfigKey{kMain, u"AutoBackupBeforeMod", 1, 1, &mainField<&M::AutoBackupBeforeMod>},
    ConfigKey{kMain, u"AskQuit", 1, 1, &mainField<&M::AskQuit>},

    ConfigKey{kWindow, u"MainWinX", -1, -1, &mainField<&M::MainWinX>},
    ConfigKey{kWindow, u"MainWinY", -1, -1, &mainField<&M::MainWinY>},
    ConfigKey{kWindow, u"MainWinW", 685, 685, &mainField<&M::MainWinW>},
    ConfigKey{kWindow, u"MainWinH", 450, 450, &mainField<&M::MainWinH>},
    ConfigKey{kWindow, u"Splitter1", 160, 160, &mainField<&M::Splitter1>},
    ConfigKey{kWindow, u"Splitter2", 280, 280, &mainField<&M::Splitter2>},
    ConfigKey{kWindow, u"AlwaysOnTop", 0, 0, &mainField<&M::AlwaysOnTop>},

    ConfigKey{kMask, u"Accounts", 0, 0, &maskField<&MaskFields::Accounts>},
    ConfigKey{kMask, u"UserNames", 1, 1, &maskField<&MaskFields::UserNames>},
    ConfigKey{kMask, u"Passwords", 1, 1, &maskField<&MaskFields::Passwords>},
    ConfigKey{kMask, u"URLs", 0, 0, &maskField<&MaskFields::URLs>},

    ConfigKey{kColumns, u"ShowColAccounts", 1, 1, &showColumn<kColAccounts>},
    ConfigKey{kColumns, u"AccountsColSize", 120, 120, &columnSize<kColAccounts>},
    ConfigKey{kColumns, u"ShowColUserNames", 1, 1, &showColumn<kColUserNames>},
    ConfigKey{kColumns, u"UserNamesColSize", 120, 120, &columnSize<kColUserNames>},
    ConfigKey{kColumns, u"ShowColPasswords", 1, 1, &showColumn<kColPasswords>},
    ConfigKey{kColumns, u"PasswordsColSize", 120, 120, &columnSize<kColPasswords>},
    ConfigKey{kColumns, u"ShowColURLs", 1, 1, &showColumn<kColURLs>},
    ConfigKey{kColumns, u"URLsColSize", 120, 120, &columnSize<kColURLs>},
    ConfigKey{kColumns, u"ShowColAttachments", 1, 1, &showColumn<kColAttachments>},
    ConfigKey{kColumns, u"AttachmentsColSize", 120, 120, &columnSize<kColAttachments>},
    ConfigKey{kColumns, u"ShowColCreationDates", 1, 1, &showColumn<kColCreationDates>},
    ConfigKey{kColumns, u"CreationDatesColSize", 120, 120, &columnSize<kColCreationDates>},
    ConfigKey{kColumns, u"ShowColAccessDates", 1, 1, &showColumn<kColAccessDates>},
    ConfigKey{kColumns, u"AccessDatesColSize", 120, 120, &columnSize<kColAccessDates>},
    ConfigKey{kColumns, u"ShowColModificationDates", 1, 1, &showColumn<kColModificationDates>},
    ConfigKey{kColumns, u"ModificationDatesColSize", 120, 120, &columnSize<kColModificationDates>},
    ConfigKey{kColumns, u"ShowColExpirationDates", 1, 1, &showColumn<kColExpirationDates>},
    ConfigKey{kColumns, u"ExpirationDatesColSize", 120, 120, &columnSize<kColExpirationDates>},

    ConfigKey{kSearch, u"SearchText", 0, 0, nullptr, &searchText},
    ConfigKey{kSearch, u"SearchAccounts", 1, 1, &searchField<&S::SearchAccounts>},
    ConfigKey{kSearch, u"SearchUsers", 1, 1, &searchField<&S::SearchUsers>},
    ConfigKey{kSearch, u"SearchPassword", 1, 1, &searchField<&S::SearchPassword>},
    ConfigKey{kSearch, u"SearchURLs", 1, 1, &searchField<&S::SearchURLs>},
    ConfigKey{kSearch, u"SearchAttachments", 1, 1, &searchField<&S::SearchAttachments>},
    ConfigKey{kSearch, u"SearchComments", 1, 1, &searchField<&S::SearchComments>},
    ConfigKey{kSearch, u"CaseSensitive", 0, 0, &searchField<&S::CaseSensitive>},
    ConfigKey{kSearch, u"SearchExpired", 1, 1, &searchField<&S::SearchExpired>},
};

constexpr std::u16string_view kRecreatedMessage =
    u"The configuration file could not be read. All the settings were reset to their factory "
    u"defaults. You can always change them from the 'File -> Program configuration' menu.";
constexpr std::u16string_view kNotCreatedMessage =
    u"The settings file could not be created. Any change you make in the settings dialog may "
    u"not be remembered.";

void applyFactoryValues(Settings& settings) {
    for (const ConfigKey& row : kConfigKeys) {
        if (row.number) {
            row.number(settings) = row.factory;
        } else {
            row.text(settings).clear();
        }
    }
}

void writeKey(IniFile& ini, const ConfigKey& row, const Settings& settings) {
    // The accessors hand out references for reading and filling alike; writing reads only.
    auto& source = const_cast<Settings&>(settings);
    if (row.number) {
        ini.writeNumber(row.group, row.key, row.number(source));
    } else {
        ini.writeString(row.group, row.key, row.text(source));
    }
}

bool isWindowGeometry(const ConfigKey& row) {
    return row.group == kWindow && row.key != u"AlwaysOnTop";
}

}  // namespace

Settings FactorySettings() {
    Settings settings;
    applyFactoryValues(settings);
    return settings;
}

int ReadConfig(Settings& settings, Desktop& desktop, const std::string& configPath,
               const FileWriter& writer) {
    IniFile ini;
    if (ini.load(configPath)) {
        for (const ConfigKey& row : kConfigKeys) {
            if (row.number) {
                row.number(settings) = ini.readNumber(row.group, row.key, row.missing);
            } else {
                row.text(settings) = ini.readString(row.group, row.key);
            }
        }
        return kConfigRead;
    }
    // Even when the file cannot be created the program runs on factory values: all zeros would
    // mean a window of no size and a clipboard that is never cleared.
    applyFactoryValues(settings);
    for (const ConfigKey& row : kConfigKeys) {
        writeKey(ini, row, settings);
    }
    if (!ini.save(configPath, writer)) {
        desktop.Message(u"Warning!", kNotCreatedMessage, MessageIcon::Warning);
        return kConfigNotCreated;
    }
    desktop.Message(u"Information", kRecreatedMessage, MessageIcon::Information);
    return kConfigRecreated;
}

bool WriteMainSettings(const Settings& settings, const std::string& configPath,
                       const FileWriter& writer) {
    IniFile ini;
    std::error_code ignored;
    if (!ini.load(configPath) && std::filesystem::exists(configPath, ignored)) {
        // There, but unreadable: replacing it would lose whatever it holds.
        return false;
    }
    for (const ConfigKey& row : kConfigKeys) {
        if (row.group == kMain) {
            writeKey(ini, row, settings);
        }
    }
    return ini.save(configPath, writer);
}

void CopyMainGroup(const Settings& from, Settings& to) {
    auto& source = const_cast<Settings&>(from);  // read only, as in writeKey
    for (const ConfigKey& row : kConfigKeys) {
        if (row.group == kMain) {
            row.number(to) = row.number(source);
        }
    }
}

bool WriteFactoryConfig(const std::string& configPath, const FileWriter& writer) {
    const Settings factory = FactorySettings();
    IniFile ini;
    for (const ConfigKey& row : kConfigKeys) {
        writeKey(ini, row, factory);
    }
    return ini.save(configPath, writer);
}

bool WriteExitSettings(const Settings& settings, const std::string& configPath,
                       const FileWriter& writer, bool windowGeometry) {
    IniFile ini;
    if (!ini.load(configPath)) {
        return false;
    }
    for (const ConfigKey& row : kConfigKeys) {
        if (row.group != kMain && (windowGeometry || !isWindowGeometry(row))) {
            writeKey(ini, row, settings);
        }
    }
    return ini.save(configPath, writer);
}

}  // namespace vlt
