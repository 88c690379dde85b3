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

TEST_F(ContainerFlow, SavingOverTheOpenContainerBacksItUpFirst) {
    engine.settings.Main.AutoBackupBeforeMod = 1;
    saveAs(test::SampleVault(), "a.vlt.vlt", u"pw");  // mode 0 never backs up
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    const std::string first = test::readFile(dir.file("a.vlt.vlt"));

    EXPECT_EQ(SaveContainer(engine), 1);  // mode 1 with the kept password: no question
    EXPECT_EQ(test::readFile(dir.file("a_120826_092850_backup.vlt")), first);
    EXPECT_EQ(desktop.passwordModes.size(), 1u);

    // A second save within the same second keeps the first backup.
    const std::string second = test::readFile(dir.file("a.vlt.vlt"));
    EXPECT_EQ(SaveContainer(engine), 1);
    EXPECT_EQ(test::readFile(dir.file("a_120826_092850_backup.vlt")), first);
    EXPECT_EQ(test::readFile(dir.file("a_120826_092850_backup_2.vlt")), second);
}

TEST_F(ContainerFlow, ABackupThatCannotBeWrittenAsksBeforeSaving) {
    engine.settings.Main.AutoBackupBeforeMod = 1;
    saveAs(test::SampleVault(), "b.vlt", u"pw");
    const std::string first = test::readFile(dir.file("b.vlt"));
    engine.writer.writeFault = [](std::size_t) { return EIO; };  // the backup fails too
    desktop.yesNoAnswers.push_back(false);
    EXPECT_EQ(SaveContainer(engine), 0);
    EXPECT_NE(desktop.lastMessage()->text.find(u"could not make a backup copy"),
              std::u16string::npos);
    EXPECT_EQ(test::readFile(dir.file("b.vlt")), first);
}

// A backup is always a new file. In a folder others may write, another user can put links at
// the next backup names: a name taken beforehand is passed over, and one taken while the copy is
// made is left as it is; the backup goes to a free name, never through a link, owner-only like
// the vault whatever the umask. Where every name is taken, the backup fails and the save asks.
TEST_F(ContainerFlow, ABackupIsAlwaysANewFileNeverWrittenThroughALink) {
    const mode_t umaskBefore = ::umask(022);
    engine.settings.Main.AutoBackupBeforeMod = 1;
    saveAs(test::SampleVault(), "v.vlt", u"pw");
    ASSERT_EQ(modeOf(dir.file("v.vlt")), 0600u);
    const std::string vault = test::readFile(dir.file("v.vlt"));
    std::filesystem::create_directory(dir.path() / "other");
    const std::string victim = dir.file("other/victim");
    test::writeFile(victim, "someone's own");
    ASSERT_EQ(::chmod(victim.c_str(), 0644), 0);
    auto name = [&](int copy) { return toUtf8(BackupPath(path("v.vlt"), kNow, copy)); };
    auto plant = [&](int copy) { std::filesystem::create_symlink(victim, name(copy)); };
    plant(1);
    bool planted = false;
    engine.writer.writeFault = [&](std::size_t) {
        if (!planted) {
            planted = true;
            plant(2);  // while the copy to that name is being made
        }
        return 0;
    };
    ASSERT_EQ(SaveContainer(engine), 1);
    EXPECT_TRUE(planted);
    EXPECT_TRUE(test::readFile(name(3)) == vault);
    EXPECT_EQ(modeOf(name(3)), 0600u);

    // Every name taken as it is tried: no backup, and the save asks before it goes on.
    const std::string saved = test::readFile(dir.file("v.vlt"));
    int taken = 3;
    engine.writer.writeFault = [&](std::size_t written) {
        if (written == 0) {
            plant(++taken);
        }
        return 0;
    };
    desktop.yesNoAnswers = {false};
    EXPECT_EQ(SaveContainer(engine), 0);
    EXPECT_GT(taken, 4);
    ASSERT_NE(desktop.lastMessage(), nullptr);
    EXPECT_NE(desktop.lastMessage()->text.find(u"could not make a backup copy"),
              std::u16string::npos);
    EXPECT_TRUE(test::readFile(dir.file("v.vlt")) == saved);
    for (int copy = 1; copy <= taken; ++copy) {
        if (copy != 3) {
            EXPECT_EQ(std::filesystem::read_symlink(name(copy)), victim) << copy;
        }
    }
    EXPECT_TRUE(test::readFile(victim) == "someone's own");
    EXPECT_EQ(modeOf(victim), 0644u);
    ::umask(umaskBefore);
}

TEST(BackupName, DropsEveryExtensionOccurrenceAndAddsTheDate) {
    EXPECT_TRUE(BackupPath(u"/safe/main.vlt", kNow) == u"/safe/main_120826_092850_backup.vlt");
    EXPECT_TRUE(BackupPath(u"/safe/a.vlt.vlt", kNow) == u"/safe/a_120826_092850_backup.vlt");
    EXPECT_TRUE(BackupPath(u"/safe/a.vlt.b.vlt", kNow) == u"/safe/a.b_120826_092850_backup.vlt");
    // One pass: what two removals join together is not removed again.
    EXPECT_TRUE(BackupPath(u"/safe/a..vltvlt.vlt", kNow) ==
                u"/safe/a.vlt_120826_092850_backup.vlt");
    EXPECT_TRUE(BackupPath(u"/safe/noext", kNow) == u"/safe/noext_120826_092850_backup");
}

}  // namespace
}  // namespace vlt
