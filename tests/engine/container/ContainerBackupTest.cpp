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
