// A save that rewrites a container in place, killed at 100 moments spread over the rewrite: after
// every kill the reader must find a whole container, the file itself or the rescue copy it offers.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "SampleVault.h"
#include "ScriptedDesktop.h"
#include "TempDir.h"
#include "common/Utf.h"
#include "engine/container/Container.h"
#include "engine/container/RescueCopy.h"

namespace vlt {
namespace {

using Micros = std::chrono::microseconds;

constexpr int kTrials = 100;
const std::u16string kPassword = u"pw";
// The vault saved first, and the one whose save is killed: ten pieces of 64 KiB to rewrite.
const std::vector<std::size_t> kOldAttachments{3};
const std::vector<std::size_t> kNewAttachments{600000, 5};
// A slow disk: every piece of the rewrite takes this long.
constexpr Micros kPieceTime{2000};

struct KilledSave {
    bool killed = false;
    int pieces = 0;  // pieces of the rewrite begun before the save ended
};

// Saves the engine's vault over its container in a child process that reports each piece of the
// rewrite through a pipe. With `killAt`, the child is killed `killAt.second` after it began the
// piece numbered `killAt.first`.
KilledSave saveInChild(Engine& engine, std::optional<std::pair<int, Micros>> killAt) {
    int report[2];
    if (::pipe(report) != 0) {
        return {};
    }
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        engine.writer.rewriteFault = [fd = report[1]](std::size_t) {
            if (::write(fd, "P", 1) != 1) {
                ::_exit(3);
            }
            std::this_thread::sleep_for(kPieceTime);
            return 0;
        };
        ::_exit(SaveContainer(engine) == 1 ? 0 : 1);
    }
    ::close(report[1]);
    KilledSave run;
    char piece = 0;
    while (child > 0 && ::read(report[0], &piece, 1) == 1) {
        if (run.pieces++ == (killAt ? killAt->first : -1)) {
            std::this_thread::sleep_for(killAt->second);
            ::kill(child, SIGKILL);
        }
    }
    ::close(report[0]);
    int status = 0;
    if (child > 0) {
        ::waitpid(child, &status, 0);
    }
    run.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    return run;
}

// What a kill left on disk, told from the file and its copy beside it.
std::string leftState(const std::string& target, const std::string& oldBytes) {
    const std::string copy = RescueCopyPaths(target, "").front();
    const bool old = test::readFile(target) == oldBytes;
    if (!std::filesystem::exists(copy)) {
        return old ? "old file, no copy yet" : "changed file, no copy";
    }
    if (old) {
        return "old file, copy made";
    }
    return test::readFile(copy) == test::readFile(target) ? "new file, copy not yet removed"
                                                          : "file part-rewritten, copy made";
}

// Opens the container as a user would, taking the copy when offered. 1 when a whole vault was
// read, the old or the new one.
int openWhatWasLeft(const std::string& target, bool& offered) {
    test::ScriptedDesktop desktop;
    Engine reader{desktop};
    desktop.yesNoAnswers = {true};
    desktop.passwordAnswers = {kPassword, kPassword};
    const int opened = OpenContainer(reader, fromUtf8(target));
    offered = desktop.yesNoAnswers.empty();
    if (opened == 1) {
        const bool isNew = reader.vault.Attachments.count() == 2;
        test::ExpectSameVault(test::SampleVault(isNew ? kNewAttachments : kOldAttachments),
                              reader.vault);
    }
    return opened;
}

TEST(KilledInPlaceSave, EveryKillLeavesAWholeContainerTheReaderFinds) {
    test::TempDir dir;
    const std::string target = dir.file("a.vlt");
    const std::string second = dir.file("second name.vlt");
    test::ScriptedDesktop desktop;
    Engine engine{desktop};
    engine.settings.Main.AutoBackupBeforeMod = 0;
    engine.vault = test::SampleVault(kOldAttachments);
    desktop.passwordAnswers.push_back(kPassword);
    desktop.saveFileAnswers.push_back(fromUtf8(target));
    ASSERT_EQ(SaveContainerAs(engine, u"", kSaveAs), 1);
    const std::string oldBytes = test::readFile(target);
    engine.vault = test::SampleVault(kNewAttachments);

    // The old container again, with a second name, so that the save must rewrite it in place.
    auto reset = [&] {
        for (const std::string& copy : RescueCopyPaths(target, "")) {
            std::filesystem::remove(copy);
        }
        std::filesystem::remove(target);
        std::filesystem::remove(second);
        test::writeFile(target, oldBytes);
        return ::link(target.c_str(), second.c_str()) == 0;
    };

    ASSERT_TRUE(reset());
    const KilledSave whole = saveInChild(engine, std::nullopt);
    ASSERT_FALSE(whole.killed);
    ASSERT_GT(whole.pieces, 4) << "the save did not rewrite the file in place";

    int kills = 0;
    int found = 0;
    int offers = 0;
    std::map<std::string, int> states;
    for (int trial = 0; trial < kTrials; ++trial) {
        ASSERT_TRUE(reset());
        // Evenly over the pieces, and within each piece over its time and a little beyond, so
        // that kills after the last piece catch the truncation, the sync and the copy's removal.
        const int moment = trial * whole.pieces;
        const Micros offset = kPieceTime * 5 / 4 * (moment % kTrials) / kTrials;
        const KilledSave run = saveInChild(engine, std::pair(moment / kTrials, offset));
        kills += run.killed ? 1 : 0;
        ++states[leftState(target, oldBytes)];
        bool offered = false;
        const int opened = openWhatWasLeft(target, offered);
        EXPECT_EQ(opened, 1) << "trial " << trial << ": no whole container found";
        found += opened;
        offers += offered ? 1 : 0;
    }
    std::string summary;
    for (const auto& [state, count] : states) {
        summary += "\n  " + state + ": " + std::to_string(count);
    }
    std::printf(
        "%d trials over %d pieces, %d kills, %d left a whole container the reader found "
        "(%d through the offered copy)%s\n",
        kTrials, whole.pieces, kills, found, offers, summary.c_str());
    EXPECT_EQ(found, kTrials);
    EXPECT_GE(kills, kTrials * 9 / 10);  // a few of the latest may come after the save ended
    EXPECT_GE(states["file part-rewritten, copy made"], kTrials / 2);
}

}  // namespace
}  // namespace vlt
