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
#include <functional>
#include <new>
#include <set>

#include "ChildProcess.h"
#include "ContainerFlowFixture.h"
#include "Fifo.h"
#include "TraceCapture.h"
#include "engine/container/ContainerCodec.h"
#include "engine/container/RescueCopy.h"
#include "engine/container/SystemMemory.h"

namespace vlt {
namespace {

// Of the copies an interrupted save may have left, beside the file and in the data folder, the
// newest is offered; one owned by a third user, who could have planted it, never is.
TEST_F(ContainerFlow, TheNewestCopyIsOfferedAndNeverOneOfAThirdUser) {
    std::filesystem::create_directories(dir.path() / "data" / "Rescue");
    engine.ConfigPath = dir.file("data/Config.ini");
    const std::string target = dir.file("bad.vlt");
    test::writeFile(target, std::string(95, 'x'));
    // A damaged file is offered its copy whatever their times.
    setWritten(target, kNow - 7200);
    const std::vector<std::string> copies = RescueCopyPaths(target, dir.file("data/"));
    ASSERT_EQ(copies.size(), 2u);
    for (std::size_t i = 0; i < copies.size(); ++i) {
        test::RawContainer raw;
        raw.addVault(test::SampleVault({i + 1}));
        test::writeFile(copies[i], raw.text());
    }
    // The question asked on opening the damaged file, "" when there was none.
    auto offered = [&] {
        desktop.messages.clear();
        desktop.yesNoAnswers = {false};
        EXPECT_EQ(OpenContainer(engine, path("bad.vlt")), 0);
        const bool asked = desktop.yesNoAnswers.empty();
        desktop.yesNoAnswers.clear();
        return asked ? toUtf8(desktop.messages.front().text) : std::string();
    };
    for (std::size_t newest = 0; newest < copies.size(); ++newest) {
        setWritten(copies[newest], kNow);
        setWritten(copies[1 - newest], kNow - 60);
        EXPECT_EQ(offered(), copyOffer(copies[newest], kNow, kNow - 7200, Offer::Damaged));
    }

    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a copy to a third user";
    }
    constexpr uid_t kThirdUser = 54321;
    ASSERT_EQ(::chown(copies[1].c_str(), kThirdUser, kThirdUser), 0);
    EXPECT_EQ(offered(), copyOffer(copies[0], kNow - 60, kNow - 7200, Offer::Damaged));
    ASSERT_EQ(::chown(copies[0].c_str(), kThirdUser, kThirdUser), 0);
    EXPECT_EQ(offered(), "");
    EXPECT_TRUE(desktop.lastMessage()->text == u"This is not a valid VLT container file.");
}

// The names of the copies are the program's own. A link planted at either, beside the file or in
// the data folder, is replaced by the copy; the file it points to stays as it was.
TEST_F(ContainerFlow, ALinkAtTheNameOfACopyIsReplacedNeverWrittenThrough) {
    std::filesystem::create_directories(dir.path() / "data" / "Rescue");
    engine.ConfigPath = dir.file("data/Config.ini");
    engine.settings.Main.AutoBackupBeforeMod = 0;
    const Vault vault = test::SampleVault({1 << 16});
    saveAs(vault, "k.vlt", u"pw");
    // A second name makes every save rewrite the file in place, after making its copy.
    ASSERT_EQ(::link(dir.file("k.vlt").c_str(), dir.file("k2.vlt").c_str()), 0);
    const std::string mine = dir.file("mine.txt");
    test::writeFile(mine, "the user's own");
    const std::vector<std::string> copies = RescueCopyPaths(dir.file("k.vlt"), dir.file("data/"));
    ASSERT_EQ(copies.size(), 2u);
    for (const std::string& copy : copies) {
        SCOPED_TRACE(copy);
        std::filesystem::create_symlink(mine, copy);
        engine.writer.rewriteFault = [](std::size_t rewritten) { return rewritten > 0 ? EIO : 0; };
        EXPECT_EQ(SaveContainer(engine), 0);                    // stopped part-way: the copy stays
        EXPECT_TRUE(test::readFile(mine) == "the user's own");  // compared, not printed
        EXPECT_FALSE(std::filesystem::is_symlink(copy));
        EXPECT_EQ(FindRescueCopy(dir.file("k.vlt"), dir.file("data/")).path, copy);
        engine.writer.rewriteFault = nullptr;
        ASSERT_EQ(SaveContainer(engine), 1);
        EXPECT_FALSE(std::filesystem::exists(copy));
        // A folder in the place beside the file sends the next copy to the data folder.
        std::filesystem::create_directory(copies.front());
    }
    EXPECT_TRUE(test::readFile(mine) == "the user's own");
    expectOpensWhole(path("k2.vlt"), u"pw", vault);
}

// Where the container's folder cannot be written, its rescue copy goes to the data folder (the
// folder of Config.ini), under a name made from the file's path, and is found there on open.
TEST_F(ContainerFlow, AnInPlaceSaveInAClosedFolderKeepsItsCopyInTheDataFolder) {
    const bool root = ::geteuid() == 0;
    ::chmod(dir.path().c_str(), 0755);
    std::filesystem::create_directory(dir.path() / "closed");
    std::filesystem::create_directory(dir.path() / "data");
    const Vault changed = test::SampleVault({1 << 20, 3});
    saveAs(test::SampleVault({1 << 20}), "closed/a.vlt", u"pw");
    if (root) {
        ASSERT_EQ(::chown(dir.file("closed/a.vlt").c_str(), test::kNobody, test::kNobody), 0);
        ASSERT_EQ(::chown(dir.file("data").c_str(), test::kNobody, test::kNobody), 0);
    }
    ::chmod(dir.file("closed").c_str(), 0555);
    engine.ConfigPath = dir.file("data/Config.ini");
    engine.settings.Main.AutoBackupBeforeMod = 0;
    engine.vault = test::SampleVault({1 << 20, 3});
    auto saveAsOrdinaryUser = [&](bool failPartWay) {
        engine.writer.rewriteFault = [failPartWay](std::size_t rewritten) {
            return failPartWay && rewritten > 0 ? EIO : 0;
        };
        return test::runAsOrdinaryUser([&] { return SaveContainer(engine); });
    };

    EXPECT_EQ(saveAsOrdinaryUser(true), 0);
    const std::filesystem::path rescueFolder = dir.path() / "data" / "Rescue";
    ASSERT_EQ(std::distance(std::filesystem::directory_iterator(rescueFolder), {}), 1);
    const std::string copy = std::filesystem::directory_iterator(rescueFolder)->path().string();
    EXPECT_EQ(modeOf(copy), 0600u);
    EXPECT_EQ(modeOf(rescueFolder.string()), 0700u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "closed"), {}), 1);

    loadSomething();
    desktop.yesNoAnswers = {true, true};
    desktop.passwordAnswers = {u"pw"};
    ASSERT_EQ(OpenContainer(engine, path("closed/a.vlt")), 1);
    EXPECT_NE(desktop.messages.back().text.find(fromUtf8(copy)), std::u16string::npos);
    test::ExpectSameVault(changed, engine.vault);
    EXPECT_TRUE(engine.ContainerPath == path("closed/a.vlt"));

    EXPECT_EQ(saveAsOrdinaryUser(false), 1);
    EXPECT_FALSE(std::filesystem::exists(copy));
    ::chmod(dir.file("closed").c_str(), 0755);
    expectOpensWhole(path("closed/a.vlt"), u"pw", changed);
}

// A copy is opened once, never through a link and never blocking, and read from what was
// checked: a FIFO at its name is no copy (and no hang), and what is put at the name while the
// offer is on screen is never read in its place.
TEST_F(ContainerFlow, ACopyIsReadFromWhatWasCheckedAndAFifoIsNoCopy) {
    const std::string target = dir.file("bad.vlt");
    test::writeFile(target, std::string(95, 'x'));
    const std::string copy = dir.file(".bad.vlt.rescue");
    {
        test::Fifo fifo(copy);
        loadSomething();
        desktop.yesNoAnswers = {true};
        EXPECT_EQ(OpenContainer(engine, path("bad.vlt")), 0);
        EXPECT_FALSE(fifo.blocked());
        EXPECT_TRUE(desktop.lastMessage()->text == u"This is not a valid VLT container file.");
        EXPECT_FALSE(desktop.lastMessage()->question);
        expectSomethingKept();
    }
    test::RawContainer rescued;
    rescued.addVault(test::SampleVault({7}));
    test::RawContainer planted;
    planted.addVault(test::SampleVault({9}));
    test::writeFile(dir.file("planted.vlt"), planted.text());
    const std::function<void()> swaps[] = {
        [&] { std::filesystem::create_symlink(dir.file("planted.vlt"), copy); },
        [&] { ASSERT_EQ(::mkfifo(copy.c_str(), 0600), 0); },
    };
    for (const auto& swap : swaps) {
        std::filesystem::remove(copy);
        ASSERT_EQ(WriteRescueCopy(target, "", rescued.bytes(), engine.writer), 0);
        loadSomething();
        desktop.yesNoAnswers = {true, true};
        desktop.passwordAnswers = {u"abc"};
        bool swapped = false;
        desktop.onQuestion = [&] {
            if (desktop.yesNoAnswers.size() == 1 && !swapped) {  // the offer of the copy
                std::filesystem::remove(copy);
                swap();
                swapped = true;
            }
        };
        EXPECT_EQ(OpenContainer(engine, path("bad.vlt")), 1);
        EXPECT_TRUE(swapped);
        test::ExpectSameVault(test::SampleVault({7}), engine.vault);
        desktop.onQuestion = nullptr;
    }
}

// The data folder's folder of copies is owner-only, and is neither written to nor read from when
// it is a link (the copy would land wherever it points) or another user's folder.
TEST(RescueFolder, IsOwnerOnlyAndNeverALinkOrAnotherUsersFolder) {
    test::TempDir dir;
    const std::string target = dir.file("k.vlt");
    test::writeFile(target, "the file itself");
    // A folder beside the file sends every copy to the data folder.
    std::filesystem::create_directory(RescueCopyPaths(target, "").front());
    const std::string data = dir.file("data/");
    const std::string rescue = dir.file("data/Rescue");
    std::filesystem::create_directories(dir.path() / "data");
    const std::string image = "the new content";
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
    const FileWriter writer;
    const std::string copy = RescueCopyPaths(target, data).back();

    // Made owner-only, or made so where it was left open.
    ASSERT_EQ(WriteRescueCopy(target, data, bytes, writer), 0);
    EXPECT_EQ(modeOf(rescue), 0700u);
    ASSERT_EQ(::chmod(rescue.c_str(), 0755), 0);
    ASSERT_EQ(WriteRescueCopy(target, data, bytes, writer), 0);
    EXPECT_EQ(modeOf(rescue), 0700u);
    EXPECT_EQ(FindRescueCopy(target, data).path, copy);

    // A link to another folder: nothing is written there, and a copy lying there is not found.
    std::filesystem::rename(rescue, dir.file("elsewhere"));
    std::filesystem::create_directory_symlink(dir.file("elsewhere"), rescue);
    const std::string through = dir.file("elsewhere/") + copy.substr(copy.rfind('/') + 1);
    std::filesystem::remove(through);
    EXPECT_NE(WriteRescueCopy(target, data, bytes, writer), 0);
    EXPECT_FALSE(std::filesystem::exists(through));
    test::writeFile(through, image);
    EXPECT_EQ(FindRescueCopy(target, data).path, "");
    RemoveRescueCopies(target, data);
    EXPECT_TRUE(std::filesystem::exists(through));
    std::filesystem::remove(rescue);

    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give the folder to another user";
    }
    // Another user's folder, which that user could fill or empty at will.
    std::filesystem::create_directory(rescue);
    test::writeFile(copy, image);
    constexpr uid_t kThirdUser = 54321;
    ASSERT_EQ(::chown(rescue.c_str(), kThirdUser, kThirdUser), 0);
    EXPECT_EQ(FindRescueCopy(target, data).path, "");
    std::filesystem::remove(copy);
    EXPECT_NE(WriteRescueCopy(target, data, bytes, writer), 0);
    EXPECT_FALSE(std::filesystem::exists(copy));
}

}  // namespace
}  // namespace vlt
