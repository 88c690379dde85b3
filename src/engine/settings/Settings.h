#pragma once
// The program's settings records, read from "Config.ini" at start-up and written back by the
// configuration window and at exit. Colours are 0x00BBGGRR, booleans 1 or 0.

#include <array>
#include <cstdint>
#include <string>

namespace vlt {

struct MainSettings {
    std::int32_t CloseSendTray = 0;
    std::int32_t MinSendTray = 0;
    std::int32_t LogActions = 0;
    std::int32_t MinClipCopy = 0;
    std::int32_t Recents = 0;
    std::int32_t Autosave = 0;
    std::int32_t AutoresizeColumns = 0;
    std::int32_t EnableEntryBKColor = 0;
    std::int32_t EntryBKColor = 0;
    std::int32_t EnableGroupBKColor = 0;
    std::int32_t GroupBKColor = 0;
    std::int32_t EnableGroupFGColor = 0;
    std::int32_t GroupFGColor = 0;
    std::int32_t EnableCommentBKColor = 0;
    std::int32_t CommentBKColor = 0;
    std::int32_t EnableCommentFGColor = 0;
    std::int32_t CommentFGColor = 0;
    std::int32_t DrawGrid = 0;
    std::int32_t RememberWinPos = 0;
    std::int32_t AssociateVLT = 0;
    std::int32_t EnableBossKey = 0;
    std::int32_t BossKey1 = 0;
    std::int32_t BossKey2 = 0;
    std::int32_t Autostart = 0;
    std::int32_t AutoCloseContainer = 0;
    std::int32_t AutoCloseSecs = 0;
    std::int32_t AutoClearClip = 0;
    std::int32_t AutoClearClipSecs = 0;
    std::int32_t NewlyAddedExpireIn = 0;
    std::int32_t NewlyAddedExpireDays = 0;
    std::int32_t ClearClipAtExit = 0;
    std::int32_t AutoBackupBeforeMod = 0;
    // Group "Window".
    std::int32_t MainWinX = 0;
    std::int32_t MainWinY = 0;
    std::int32_t MainWinW = 0;
    std::int32_t MainWinH = 0;
    std::int32_t Splitter1 = 0;
    std::int32_t Splitter2 = 0;
    std::int32_t AlwaysOnTop = 0;
    // Back in group "MainSettings".
    std::int32_t AskQuit = 0;
};

// Entry-list columns, in display order.
enum Column : int {
    kColAccounts = 0,
    kColUserNames,
    kColPasswords,
    kColURLs,
    kColAttachments,
    kColCreationDates,
    kColAccessDates,
    kColModificationDates,
    kColExpirationDates,
    kColumnCount
};

struct MaskFields {
    std::int32_t Accounts = 0;
    std::int32_t UserNames = 0;
    std::int32_t Passwords = 0;
    std::int32_t URLs = 0;
};

struct ColumnSetting {
    std::int32_t Show = 0;  // 0 = hidden (width 0)
    std::int32_t Size = 0;  // width to restore when shown again
};

struct SearchOptions {
    std::u16string SearchText;
    std::int32_t SearchAccounts = 0;
    std::int32_t SearchUsers = 0;
    std::int32_t SearchPassword = 0;
    std::int32_t SearchURLs = 0;
    std::int32_t SearchAttachments = 0;
    std::int32_t SearchComments = 0;
    std::int32_t CaseSensitive = 0;
    std::int32_t SearchExpired = 0;
};

struct Settings {
    MainSettings Main;
    MaskFields Mask;
    std::array<ColumnSetting, kColumnCount> Columns{};
    SearchOptions Search;
};

}  // namespace vlt
