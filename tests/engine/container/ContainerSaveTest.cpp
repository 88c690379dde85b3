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

// A file whose owner took away its write permission stays as it is, also for root, whose writes
// no permission stops.
TEST_F(ContainerFlow, AFileItsOwnerMadeReadOnlyIsNotOverwritten) {
    saveAs(test::SampleVault(), "ro.vlt", u"pw");
    const std::string before = test::readFile(dir.file("ro.vlt"));
    ASSERT_EQ(::chmod(dir.file("ro.vlt").c_str(), 0444), 0);
    engine.settings.Main.AutoBackupBeforeMod = 0;
    EXPECT_EQ(SaveContainer(engine), 0);
    ASSERT_NE(desktop.lastMessage(), nullptr);
    EXPECT_TRUE(desktop.lastMessage()->text == kLocked + u"\r\nPermission denied");
    EXPECT_EQ(test::readFile(dir.file("ro.vlt")), before);
    EXPECT_EQ(modeOf(dir.file("ro.vlt")), 0444u);
}

// A Save As that fails, in a folder it cannot write, on a full disk or out of memory, names the
// file that really holds the vault again: the window and the next save go to the file that was
// open, with its password.
TEST_F(ContainerFlow, AFailedSaveAsLeavesTheVaultWithTheFileThatHoldsIt) {
    const Vault vault = test::SampleVault({3});
    saveAs(vault, "held.vlt", u"pw");
    engine.settings.Main.AutoBackupBeforeMod = 0;
    const std::u16string title = desktop.title;
    for (const std::string name : {"missing folder/new.vlt", "full.vlt", "no memory.vlt"}) {
        SCOPED_TRACE(name);
        engine.writer.writeFault = [&name](std::size_t written) {
            return name == "full.vlt" && written >= 200 ? ENOSPC : 0;
        };
        desktop.onPendingEvents = [&] {
            if (name == "no memory.vlt" && desktop.progressOpen > 0) {
                throw std::bad_alloc();
            }
        };
        desktop.passwordAnswers.push_back(u"other");
        desktop.saveFileAnswers.push_back(path(name));
        EXPECT_EQ(SaveContainerAs(engine, u"", kSaveAs), 0);
        EXPECT_EQ(desktop.lastMessage()->text.rfind(kLocked, 0), 0u);
        EXPECT_FALSE(std::filesystem::exists(dir.file(name)));
        EXPECT_TRUE(engine.ContainerPath == path("held.vlt"));
        EXPECT_TRUE(engine.ContainerPassword.view() == u"pw");
        EXPECT_TRUE(desktop.title == title);
        EXPECT_TRUE(desktop.containerLabel == u"held.vlt");
        EXPECT_TRUE(desktop.status[2] == u"Container: " + path("held.vlt"));
    }
    engine.writer.writeFault = nullptr;
    desktop.onPendingEvents = nullptr;
    engine.vault.Entries.at(0).Account = u"changed";
    ASSERT_EQ(SaveContainer(engine), 1);
    EXPECT_EQ(desktop.passwordModes.size(), 4u);  // the first save and the three failed ones
    Vault changed = test::SampleVault({3});
    changed.Entries.at(0).Account = u"changed";
    expectOpensWhole(path("held.vlt"), u"pw", changed);
}

TEST_F(ContainerFlow, SavingNeedsAGroupAndAPassword) {
    EXPECT_EQ(SaveContainerAs(engine, u"", kSaveAs), 0);
    EXPECT_TRUE(desktop.lastMessage()->text ==
                u"There are no groups/ in the list. Please add at least one group and try again.");
    engine.vault.Groups.append(Group{1, 1, u"g", 0});
    desktop.passwordAnswers.push_back(u"");
    EXPECT_EQ(SaveContainerAs(engine, u"", kSaveAs), 0);
    desktop.passwordAnswers.push_back(u"pw");
    desktop.saveFileAnswers.push_back(u"");
    EXPECT_EQ(SaveContainerAs(engine, u"", kSaveAs), 0);
    EXPECT_TRUE(engine.ContainerPath.empty());
}

TEST_F(ContainerFlow, TheExtensionIsAddedUnlessAlreadyThereInAnyCase) {
    saveAs(test::SampleVault(), "UPPER.VLT", u"pw");
    EXPECT_TRUE(std::filesystem::exists(dir.file("UPPER.VLT")));
    saveAs(test::SampleVault(), "notes.txt", u"pw");
    EXPECT_TRUE(std::filesystem::exists(dir.file("notes.txt.vlt")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("notes.txt")));
}

TEST_F(ContainerFlow, ReplacingAsksFirstAndNoKeepsTheFile) {
    test::writeFile(dir.file("keep.vlt"), "precious");
    engine.vault = test::SampleVault();
    desktop.passwordAnswers.push_back(u"pw");
    desktop.saveFileAnswers.push_back(path("keep.vlt"));
    desktop.yesNoAnswers.push_back(false);
    EXPECT_EQ(SaveContainerAs(engine, u"", kSaveAs), 0);
    EXPECT_EQ(test::readFile(dir.file("keep.vlt")), "precious");
    EXPECT_TRUE(desktop.lastMessage()->text ==
                u"The file already exists. Would you like to replace it?");
}

TEST_F(ContainerFlow, NewContainersAreOwnerOnly) {
    saveAs(test::SampleVault(), "private.vlt", u"pw");
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("private.vlt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(ContainerFlow, AFailedSaveLeavesThePreviousContainerWhole) {
    saveAs(test::SampleVault({5000}), "safe.vlt", u"pw");
    const std::string before = test::readFile(dir.file("safe.vlt"));
    engine.vault.Entries.at(0).Password = u"changed";
    engine.settings.Main.AutoBackupBeforeMod = 0;
    engine.writer.writeFault = [](std::size_t written) { return written < 200 ? 0 : ENOSPC; };
    EXPECT_EQ(SaveContainer(engine), 0);
    // The system's reason on a second line says what to fix.
    EXPECT_TRUE(desktop.lastMessage()->text == kLocked + u"\r\nNo space left on device");
    EXPECT_EQ(test::readFile(dir.file("safe.vlt")), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_EQ(desktop.progressOpen, 0);
}

TEST_F(ContainerFlow, AnInPlaceSaveThatFailsSaysTheFileMayBeDamagedAndKeepsItsCopy) {
    saveAs(test::SampleVault({1 << 20}), "linked.vlt", u"pw");
    ASSERT_EQ(::link(dir.file("linked.vlt").c_str(), dir.file("second name.vlt").c_str()), 0);
    engine.writer.rewriteFault = [](std::size_t rewritten) { return rewritten > 0 ? EIO : 0; };
    ASSERT_EQ(SaveContainer(engine), 0);
    EXPECT_EQ(toUtf8(desktop.lastMessage()->text),
              "The file could not be written completely and may be damaged. The vault is still "
              "open: save it under another name with 'Save As' before you close it.\r\n"
              "Input/output error");
    const std::string copy = dir.file(".linked.vlt.rescue");
    EXPECT_EQ(FindRescueCopy(dir.file("linked.vlt"), "").path, copy);
    EXPECT_EQ(modeOf(copy), 0600u);

    // A file size limit stops the copy itself: the save then fails before the file changes.
    const std::string before = test::readFile(dir.file("linked.vlt"));
    const auto size = static_cast<rlim_t>(before.size());
    engine.writer.rewriteFault = nullptr;
    const int status = test::runInChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{size / 2, size / 2};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool failed = SaveContainer(engine) == 0;
        const bool explained = desktop.lastMessage() != nullptr &&
                               desktop.lastMessage()->text == kLocked + u"\r\nFile too large";
        return (failed ? 0 : 1) + (explained ? 0 : 2);
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(test::readFile(dir.file("linked.vlt")), before);
}

TEST_F(ContainerFlow, RunningOutOfMemoryFailsTheSaveInsteadOfEndingTheProgram) {
    saveAs(test::SampleVault({5000}), "big.vlt", u"pw");
    const std::string before = test::readFile(dir.file("big.vlt"));
    engine.settings.Main.AutoBackupBeforeMod = 0;
    desktop.onPendingEvents = [&] {
        if (desktop.progressOpen > 0) {
            throw std::bad_alloc();
        }
    };
    ASSERT_EQ(SaveContainer(engine), 0);
    desktop.onPendingEvents = nullptr;
    EXPECT_EQ(toUtf8(desktop.lastMessage()->text), toUtf8(kLocked + u"\r\nCannot allocate memory"));
    EXPECT_EQ(desktop.progressOpen, 0);
    EXPECT_EQ(test::readFile(dir.file("big.vlt")), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    // An old file far larger than memory is backed up without being read whole; a backup that
    // fails half-way is the usual question.
    engine.settings.Main.AutoBackupBeforeMod = 1;
    ASSERT_EQ(::truncate(dir.file("big.vlt").c_str(), off_t{1} << 40), 0);
    engine.writer.writeFault = [](std::size_t written) {
        return written < (std::size_t{8} << 20) ? 0 : ENOSPC;
    };
    desktop.yesNoAnswers.push_back(false);
    ASSERT_EQ(SaveContainer(engine), 0);
    EXPECT_NE(desktop.lastMessage()->text.find(u"could not make a backup copy"),
              std::u16string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace vlt
