#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "SampleVault.h"
#include "ScriptedDesktop.h"
#include "TempDir.h"
#include "TraceCapture.h"
#include "common/Utf.h"
#include "engine/session/ExitSequence.h"
#include "engine/settings/IniFile.h"
#include "engine/vault/Engine.h"

namespace vlt {
namespace {

const std::u16string kDiscard =
    u"Would you like to exit VLT? Any unsaved changes will be discarded.";

struct ExitFlow : ::testing::Test {
    test::TempDir dir;
    test::ScriptedDesktop desktop;
    Engine engine{desktop};

    void SetUp() override {
        engine.ConfigPath = dir.file("Config.ini");
        test::writeFile(engine.ConfigPath, "[Window]\r\nMainWinX = 33\r\nSplitter1 = 44\r\n");
        engine.settings.Main.AskQuit = 1;
        engine.vault = test::SampleVault({});
    }
    void TearDown() override {
        EXPECT_TRUE(desktop.unexpected.empty()) << desktop.unexpected.front();
    }
    bool ended() const { return desktop.mainWindowClosed || !desktop.endCodes.empty(); }
    std::int32_t stored(std::u16string_view group, std::u16string_view key) {
        IniFile ini;
        EXPECT_TRUE(ini.load(engine.ConfigPath));
        return ini.readNumber(group, key, -99);
    }
    // The lines the exit traced under its own name, without the procedure name.
    static std::vector<std::string> exitSteps(const std::string& lines) {
        std::vector<std::string> steps;
        std::istringstream in(lines);
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("ConfirmExit() -> ", 0) == 0) {
                steps.push_back(line.substr(17));
            }
        }
        return steps;
    }
};

TEST_F(ExitFlow, DecliningLeavesEverythingAsItWas) {
    engine.settings.Main.ClearClipAtExit = 1;
    const std::string config = test::readFile(engine.ConfigPath);
    test::TraceCapture trace(engine.log);
    desktop.yesNoAnswers.push_back(false);
    EXPECT_EQ(ConfirmExit(engine), 1);
    EXPECT_TRUE(desktop.lastMessage()->text == kDiscard);
    EXPECT_EQ(exitSteps(trace.lines()),
              (std::vector<std::string>{"Asking whether to quit", "Returning"}));

    // An autosave that cannot finish (the user cancels the file name) asks again before the
    // vault is thrown away; No keeps the program running.
    engine.settings.Main.Autosave = 1;
    desktop.yesNoAnswers = {true, false};
    desktop.passwordAnswers.push_back(u"pw");
    desktop.saveFileAnswers.push_back(u"");
    EXPECT_EQ(ConfirmExit(engine), 1);
    ASSERT_GE(desktop.messages.size(), 2u);
    EXPECT_TRUE(desktop.messages.end()[-2].text == u"Would you like to exit VLT?");
    EXPECT_TRUE(desktop.lastMessage()->text == kDiscard);

    EXPECT_EQ(desktop.clipboardClears, 0);
    EXPECT_FALSE(ended());
    EXPECT_EQ(test::readFile(engine.ConfigPath), config);
}

TEST_F(ExitFlow, YesSavesStoresTheViewClosesTheWindowAndEndsTheLog) {
    Settings& s = engine.settings;
    s.Main.Autosave = 1;
    s.Main.ClearClipAtExit = 1;
    s.Main.LogActions = 1;
    s.Columns.fill(ColumnSetting{1, 80});
    s.Columns[kColURLs] = ColumnSetting{0, 120};  // hidden: keeps the width it comes back with
    engine.ContainerPath = fromUtf8(dir.file("vault.vlt"));
    engine.ContainerPassword = SecureText(u"pw");
    WindowLayout layout;
    layout.x = 10;
    layout.y = 20;
    layout.width = 700;
    layout.height = 480;
    layout.splitter1 = 150;
    layout.splitter2 = 260;
    layout.stayOnTop = true;
    for (int c = 0; c < kColumnCount; ++c) {
        layout.columnWidths[static_cast<std::size_t>(c)] = 50 + c;
    }
    desktop.windowLayout = layout;
    test::TraceCapture trace(engine.log);
    desktop.yesNoAnswers.push_back(true);
    desktop.SetClipboardText(u"copied password");

    EXPECT_EQ(ConfirmExit(engine), 0);
    EXPECT_TRUE(desktop.lastMessage()->text == u"Would you like to exit VLT?");
    EXPECT_TRUE(std::filesystem::exists(dir.file("vault.vlt")));  // saved with the kept password
    EXPECT_EQ(desktop.clipboardClears, 1);
    EXPECT_EQ(desktop.clipboardText, u"");
    EXPECT_TRUE(desktop.mainWindowClosed);
    EXPECT_EQ(desktop.endCodes, std::vector<int>{0});
    EXPECT_EQ(stored(u"Window", u"MainWinX"), 10);
    EXPECT_EQ(stored(u"Window", u"Splitter2"), 260);
    EXPECT_EQ(stored(u"Window", u"AlwaysOnTop"), 1);
    EXPECT_EQ(stored(u"Columns", u"ExpirationDatesColSize"), 58);
    EXPECT_EQ(stored(u"Columns", u"ShowColURLs"), 0);
    EXPECT_EQ(stored(u"Columns", u"URLsColSize"), 120);

    const std::string lines = trace.lines();
    EXPECT_EQ(exitSteps(lines), (std::vector<std::string>{
                                    "Asking whether to quit", "Autosaving container",
                                    "Clearing clipboard", "Saving settings",
                                    "Sending plugin quit signal", "Closing main window", "End()"}));
    EXPECT_EQ(desktop.pluginQuitSignals, 1);
    EXPECT_EQ(lines.substr(lines.rfind("End()")), "End()\n\n<<< Session ended >>>\n");
    EXPECT_FALSE(engine.log.isOpen());
}

TEST_F(ExitFlow, AnEmptyVaultLeavesAtOnceAndAMinimisedWindowKeepsItsStoredPlace) {
    engine.vault = Vault();
    WindowLayout layout;
    layout.minimized = true;
    layout.x = 500;
    layout.splitter1 = 600;
    layout.stayOnTop = true;
    desktop.windowLayout = layout;
    // The clipboard holds the user's own copy, not the program's: it stays.
    engine.settings.Main.ClearClipAtExit = 1;
    desktop.clipboardText = u"theirs";
    EXPECT_EQ(ConfirmExit(engine), 0);
    EXPECT_EQ(desktop.clipboardText, u"theirs");
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(desktop.mainWindowClosed);
    EXPECT_EQ(desktop.endCodes, std::vector<int>{0});
    EXPECT_EQ(stored(u"Window", u"MainWinX"), 33);
    EXPECT_EQ(stored(u"Window", u"Splitter1"), 44);
    EXPECT_EQ(stored(u"Window", u"AlwaysOnTop"), 1);
}

}  // namespace
}  // namespace vlt
