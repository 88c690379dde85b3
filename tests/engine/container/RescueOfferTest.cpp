#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <new>
#include <set>

#include "ChildProcess.h"
#include "ContainerFlowFixture.h"
#include "TraceCapture.h"
#include "engine/container/ContainerCodec.h"
#include "engine/container/RescueCopy.h"
#include "engine/container/SystemMemory.h"

namespace vlt {
namespace {

// What an interrupted save leaves: a damaged file and beside it the whole copy made before the
// rewrite began. Every kind of damage offers the copy, dated, with the file's own last change,
// whatever their times; No gives the refusal as before, Yes opens the copy's vault as the file's
// own, and only a save over the file itself removes the copy. A file failing only the password
// check, changed a little after its copy was made, was left incomplete by the rewrite: it is
// offered the copy that opens with the password typed, which then opens without asking again.
TEST_F(ContainerFlow, ADamagedFileOffersTheCopyAnInterruptedSaveLeft) {
    test::RawContainer copy;
    const Vault rescued = test::SampleVault({7});
    copy.addVault(rescued);
    const std::string target = dir.file("bad.vlt");
    const std::string copyPath = dir.file(".bad.vlt.rescue");
    for (const DamagedFile& c : damagedFiles()) {
        SCOPED_TRACE(c.name);
        const bool checksumOnly = c.message == kWrongPassword;
        const std::time_t changed = checksumOnly ? kNow - 3590 : kNow;
        test::writeFile(target, c.bytes);
        ASSERT_EQ(WriteRescueCopy(target, "", copy.bytes(), engine.writer), 0);
        setWritten(copyPath, kNow - 3600);
        setWritten(target, changed);
        for (const bool accept : {false, true}) {
            SCOPED_TRACE(accept ? "Yes" : "No");
            loadSomething();
            desktop.messages.clear();
            desktop.yesNoAnswers = {true, accept};
            desktop.passwordAnswers.clear();
            const int asked = checksumOnly ? 1 : int{c.asksPassword} + int{accept};
            for (int i = 0; i < asked; ++i) {
                desktop.passwordAnswers.push_back(u"abc");
            }
            const int opened = OpenContainer(engine, path("bad.vlt"));
            ASSERT_GE(desktop.messages.size(), 2u);
            EXPECT_TRUE(desktop.messages[1].question);
            EXPECT_EQ(toUtf8(desktop.messages[1].text),
                      copyOffer(copyPath, kNow - 3600, changed,
                                checksumOnly ? Offer::Incomplete : Offer::Damaged));
            EXPECT_TRUE(desktop.passwordAnswers.empty());
            EXPECT_EQ(desktop.passwordModes.size(), static_cast<std::size_t>(asked));
            desktop.passwordModes.clear();
            if (!accept) {
                EXPECT_EQ(opened, 0);
                EXPECT_EQ(toUtf8(desktop.lastMessage()->text),
                          toUtf8(checksumOnly ? kIncomplete : c.message));
                expectSomethingKept();
                continue;
            }
            ASSERT_EQ(opened, 1);
            EXPECT_EQ(desktop.messages.size(), 2u);
            test::ExpectSameVault(rescued, engine.vault);
            EXPECT_TRUE(engine.ContainerPath == path("bad.vlt"));
            EXPECT_TRUE(engine.ContainerPassword.view() == u"abc");
            EXPECT_TRUE(desktop.status[2] == u"Container: " + path("bad.vlt"));
            EXPECT_TRUE(engine.Recent.paths.back() == path("bad.vlt"));
        }
        EXPECT_EQ(test::readFile(target), c.bytes);
        EXPECT_EQ(test::readFile(copyPath), copy.text());
    }

    // Saved elsewhere, the damaged file still needs its copy; saved over it, it does not.
    engine.settings.Main.AutoBackupBeforeMod = 0;
    desktop.passwordAnswers.push_back(u"other");
    desktop.saveFileAnswers.push_back(path("other.vlt"));
    ASSERT_EQ(SaveContainerAs(engine, u"", kSaveAs), 1);
    EXPECT_EQ(test::readFile(copyPath), copy.text());
    ASSERT_EQ(SaveContainerAs(engine, path("bad.vlt"), kSaveOver), 1);
    EXPECT_FALSE(std::filesystem::exists(copyPath));
    expectOpensWhole(path("bad.vlt"), u"other", rescued);
}

// A save cut short while it rewrote the file in place leaves its new header before its old
// records: the file fails only the password check. Typing the password of that save, the user is
// told that the file is incomplete and its copy complete, not that the password is wrong.
TEST_F(ContainerFlow, AFileARewriteLeftIncompleteIsNotCalledAWrongPassword) {
    const Vault vault = test::SampleVault({1 << 20});
    saveAs(vault, "torn.vlt", u"pw");
    engine.settings.Main.AutoBackupBeforeMod = 0;
    // A second name makes the save rewrite the file in place; the same records keep their sizes.
    ASSERT_EQ(::link(dir.file("torn.vlt").c_str(), dir.file("second.vlt").c_str()), 0);
    engine.writer.rewriteFault = [](std::size_t rewritten) { return rewritten > 0 ? EIO : 0; };
    ASSERT_EQ(SaveContainer(engine), 0);
    engine.writer.rewriteFault = nullptr;
    const std::string torn = test::readFile(dir.file("torn.vlt"));
    const std::string copy = dir.file(".torn.vlt.rescue");
    const std::time_t copied = test::statOf(copy).st_mtime;
    const std::time_t changed = test::statOf(dir.file("torn.vlt")).st_mtime;

    for (const bool accept : {false, true}) {
        SCOPED_TRACE(accept ? "Yes" : "No");
        loadSomething();
        desktop.messages.clear();
        desktop.yesNoAnswers = {true, accept};
        desktop.passwordAnswers = {u"pw"};
        EXPECT_EQ(OpenContainer(engine, path("torn.vlt")), accept ? 1 : 0);
        ASSERT_EQ(desktop.messages.size(), accept ? 2u : 3u);
        EXPECT_EQ(toUtf8(desktop.messages[1].text),
                  copyOffer(copy, copied, changed, Offer::Incomplete));
        if (!accept) {
            EXPECT_TRUE(desktop.messages[2].text == kIncomplete);
            expectSomethingKept();
        }
    }
    test::ExpectSameVault(vault, engine.vault);
    EXPECT_TRUE(engine.ContainerPath == path("torn.vlt"));
    EXPECT_TRUE(test::readFile(dir.file("torn.vlt")) == torn);
}

// A copy that matches the file is one whose save completed before it could be removed: a wrong
// password then stays a wrong password.
TEST_F(ContainerFlow, ACopyLikeTheFileItselfIsNotOffered) {
    saveAs(test::SampleVault({7}), "whole.vlt", u"pw");
    const std::string bytes = test::readFile(dir.file("whole.vlt"));
    ASSERT_EQ(WriteRescueCopy(
                  dir.file("whole.vlt"), "",
                  std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                  engine.writer),
              0);
    desktop.messages.clear();
    EXPECT_EQ(open(path("whole.vlt"), u"wrong"), 0);
    ASSERT_EQ(desktop.messages.size(), 2u);  // the question about the open vault, the refusal
    EXPECT_EQ(toUtf8(desktop.messages[1].text), toUtf8(kWrongPassword));
}

// A copy is offered on a wrong password only where its time fits an interrupted rewrite of the
// file: made no later than the file's last change and at most 10 minutes before it. A copy left
// long before, by a save interrupted before the password was changed and the file saved whole
// again, holds a vault long replaced: its old password is then a wrong password, nothing is
// offered, and the file stays as it is.
TEST_F(ContainerFlow, AWrongPasswordOffersOnlyACopyTheFilesLastRewriteLeft) {
    const Vault older = test::SampleVault({7});
    const Vault newer = test::SampleVault({7, 9});
    saveAs(older, "older.vlt", u"old");
    saveAs(newer, "k.vlt", u"new");
    const std::string target = dir.file("k.vlt");
    const std::string newBytes = test::readFile(target);
    const std::string stale = test::readFile(dir.file("older.vlt"));
    ASSERT_EQ(WriteRescueCopy(
                  target, "",
                  std::span(reinterpret_cast<const std::uint8_t*>(stale.data()), stale.size()),
                  engine.writer),
              0);
    const std::string copy = dir.file(".k.vlt.rescue");
    const std::time_t changed = kNow;
    setWritten(target, changed);
    CloseContainer(engine, kCloseWithoutAsking);

    const std::pair<std::time_t, bool> cases[] = {
        {changed - 30 * 86400, false}, {changed - 601, false}, {changed + 1, false},
        {changed - 600, true},         {changed, true},
    };
    for (const auto& [copied, offered] : cases) {
        SCOPED_TRACE(copied - changed);
        setWritten(copy, copied);
        desktop.messages.clear();
        desktop.yesNoAnswers = {false};
        EXPECT_EQ(open(path("k.vlt"), u"old"), 0);
        if (offered) {
            EXPECT_EQ(
                desktop.messageTexts(),
                (std::vector<std::u16string>{
                    fromUtf8(copyOffer(copy, copied, changed, Offer::Incomplete)), kIncomplete}));
        } else {
            EXPECT_EQ(desktop.messageTexts(), std::vector<std::u16string>{kWrongPassword});
            desktop.yesNoAnswers.clear();
        }
        EXPECT_TRUE(engine.vault.empty());
        EXPECT_TRUE(test::readFile(target) == newBytes);
        EXPECT_TRUE(test::readFile(copy) == stale);
    }

    // The file's own password opens the file, whatever copy lies beside it; Yes to an offer
    // opens the copy as the file's own, without asking for the password again.
    ASSERT_EQ(open(path("k.vlt"), u"new"), 1);
    test::ExpectSameVault(newer, engine.vault);
    setWritten(copy, changed - 60);
    CloseContainer(engine, kCloseWithoutAsking);
    desktop.passwordModes.clear();
    desktop.yesNoAnswers = {true};
    ASSERT_EQ(open(path("k.vlt"), u"old"), 1);
    EXPECT_EQ(desktop.passwordModes.size(), 1u);
    test::ExpectSameVault(older, engine.vault);
    EXPECT_TRUE(engine.ContainerPath == path("k.vlt"));
    EXPECT_TRUE(test::readFile(target) == newBytes);
}

// A copy that fails its own checks opens nothing: the password the file refused stays a wrong
// password, no copy is offered, and neither the file, the copy nor the open vault changes.
TEST_F(ContainerFlow, AWrongPasswordWhoseCopyIsDamagedIsAWrongPassword) {
    saveAs(test::SampleVault({7}), "k.vlt", u"new");
    const std::string target = dir.file("k.vlt");
    const std::string fileBytes = test::readFile(target);
    test::RawContainer older;
    older.password = u"old";
    older.addVault(test::SampleVault({9}));
    const std::string whole = older.text();
    std::string flipped = whole;
    flipped[kHeaderSize + 8 + 3] ^= 0x01;
    const std::pair<const char*, std::string> copies[] = {
        {"flipped ciphertext", flipped},
        {"truncated", whole.substr(0, whole.size() - 1)},
        {"bad start", "VLT3" + whole.substr(4)},
        {"empty", ""},
    };
    const std::string copy = dir.file(".k.vlt.rescue");
    desktop.passwordModes.clear();
    for (const auto& [name, bytes] : copies) {
        SCOPED_TRACE(name);
        test::writeFile(copy, bytes);
        setWritten(copy, kNow - 60);
        setWritten(target, kNow);
        loadSomething();
        desktop.messages.clear();
        EXPECT_EQ(open(path("k.vlt"), u"old"), 0);
        ASSERT_EQ(desktop.messages.size(), 2u);  // the question about the open vault, the refusal
        EXPECT_EQ(toUtf8(desktop.messages[1].text), toUtf8(kWrongPassword));
        EXPECT_EQ(desktop.passwordModes.size(), 1u);
        desktop.passwordModes.clear();
        expectSomethingKept();
        EXPECT_TRUE(test::readFile(target) == fileBytes);
        EXPECT_TRUE(test::readFile(copy) == bytes);
    }
}

}  // namespace
}  // namespace vlt
