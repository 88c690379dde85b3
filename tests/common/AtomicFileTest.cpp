#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "ChildProcess.h"
#include "TempDir.h"
#include "common/AtomicFile.h"

namespace vlt {
namespace {

const FileWriter plainWriter;

using test::filesIn;
using test::statOf;

TEST(AtomicFile, NewFilesAreOwnerOnly) {
    test::TempDir dir;
    ASSERT_TRUE(writeFileAtomically(dir.file("a.vlt"), std::string("secret"), plainWriter));
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("a.vlt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(test::readFile(dir.file("a.vlt")), "secret");
}

TEST(AtomicFile, ReplacingKeepsTheTargetsPermissions) {
    test::TempDir dir;
    test::writeFile(dir.file("a.txt"), "old");
    ::chmod(dir.file("a.txt").c_str(), 0640);
    ASSERT_TRUE(writeFileAtomically(dir.file("a.txt"), std::string("new"), plainWriter));
    struct stat st {};
    ::stat(dir.file("a.txt").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(test::readFile(dir.file("a.txt")), "new");
}

TEST(AtomicFile, AFailedWriteLeavesTheOldFileWholeAndNoTemporary) {
    test::TempDir dir;
    test::writeFile(dir.file("a.vlt"), "the old container");
    FileWriter writer;
    writer.writeFault = [](std::size_t written) { return written < 8 ? 0 : ENOSPC; };
    AtomicFile file(dir.file("a.vlt"), writer);
    ASSERT_TRUE(file.open());
    EXPECT_TRUE(file.write("12345678", 8));
    EXPECT_FALSE(file.write("9", 1));
    EXPECT_FALSE(file.commit());
    EXPECT_EQ(file.error(), ENOSPC);
    EXPECT_EQ(file.errorText(), "No space left on device");
    EXPECT_FALSE(file.targetDamaged());
    EXPECT_EQ(test::readFile(dir.file("a.vlt")), "the old container");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(AtomicFile, AbandonedWritesLeaveNothingBehind) {
    test::TempDir dir;
    {
        AtomicFile file(dir.file("b.vlt"), plainWriter);
        ASSERT_TRUE(file.open());
        file.write("partial", 7);
    }
    EXPECT_EQ(filesIn(dir.path()), 0u);
}

TEST(AtomicFile, LargeWritesArriveIntact) {
    test::TempDir dir;
    std::string big(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 31);
    }
    AtomicFile file(dir.file("big"), plainWriter);
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.write("head", 4));
    ASSERT_TRUE(file.write(big.data(), big.size()));
    ASSERT_TRUE(file.write("\xfe\xff\xff\xff", 4));
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(test::readFile(dir.file("big")), "head" + big + std::string("\xfe\xff\xff\xff", 4));
}

TEST(AtomicFile, AMissingFolderFailsToOpen) {
    test::TempDir dir;
    AtomicFile file(dir.file("no/such/folder/x"), plainWriter);
    EXPECT_FALSE(file.open());
    EXPECT_FALSE(file.write("x", 1));
    EXPECT_FALSE(file.commit());
}

TEST(AtomicFile, ALinkedTargetUpdatesTheFileItPointsTo) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.path() / "synced");
    test::writeFile(dir.file("synced/real.vlt"), "old");
    std::filesystem::create_symlink(dir.path() / "synced/real.vlt", dir.path() / "link.vlt");
    ASSERT_TRUE(writeFileAtomically(dir.file("link.vlt"), std::string("new"), plainWriter));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.vlt"));
    EXPECT_EQ(test::readFile(dir.file("synced/real.vlt")), "new");
    EXPECT_EQ(filesIn(dir.path() / "synced"), 1u);
}

TEST(AtomicFile, AReadOnlyTargetIsNotReplaced) {
    test::TempDir dir;
    ::chmod(dir.path().c_str(), 0777);  // only the file itself says no
    const std::string target = dir.file("ro.vlt");
    test::writeFile(target, "keep");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(target.c_str(), test::kNobody, test::kNobody), 0);
    }
    ::chmod(target.c_str(), 0444);
    EXPECT_EQ(test::runAsOrdinaryUser([&] {
                  return writeFileAtomically(target, std::string("new"), plainWriter) ? 1 : 0;
              }),
              0);
    // Nor by root, whom no permission stops: the owner's choice is what counts.
    EXPECT_FALSE(writeFileAtomically(target, std::string("new"), plainWriter));
    EXPECT_EQ(test::readFile(target), "keep");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

// Opening a FIFO could block for good; it holds nothing to keep, so it is renamed over, also
// behind a symbolic link. A device is neither opened nor replaced.
TEST(AtomicFile, AFifoInTheFilesPlaceIsReplacedNeverOpened) {
    test::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("a.ini").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo(dir.file("real.ini").c_str(), 0644), 0);
    std::filesystem::create_symlink(dir.path() / "real.ini", dir.path() / "link.ini");
    ASSERT_TRUE(writeFileAtomically(dir.file("a.ini"), std::string("new"), plainWriter));
    ASSERT_TRUE(writeFileAtomically(dir.file("link.ini"), std::string("linked"), plainWriter));
    EXPECT_EQ(test::readFile(dir.file("a.ini")), "new");
    EXPECT_EQ(statOf(dir.file("a.ini")).st_mode & 07777, 0600u);  // a new file's mode
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.ini"));
    EXPECT_EQ(test::readFile(dir.file("real.ini")), "linked");
    EXPECT_EQ(filesIn(dir.path()), 3u);

    AtomicFile device("/dev/null", plainWriter);
    EXPECT_FALSE(device.open());
    EXPECT_EQ(device.error(), EINVAL);
}

TEST(AtomicFile, ReplacingKeepsOwnerAndGroup) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a file to another user";
    }
    test::TempDir dir;
    const std::string target = dir.file("shared.vlt");
    test::writeFile(target, "old");
    ASSERT_EQ(::chown(target.c_str(), 1234, 5678), 0);
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(writeFileAtomically(target, std::string("new"), plainWriter));
    const struct stat st = statOf(target);
    EXPECT_EQ(st.st_uid, 1234u);
    EXPECT_EQ(st.st_gid, 5678u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(test::readFile(target), "new");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(AtomicFile, EveryHardLinkSeesTheNewContent) {
    test::TempDir dir;
    test::writeFile(dir.file("a.vlt"), "the old and longer content");
    ASSERT_EQ(::link(dir.file("a.vlt").c_str(), dir.file("b.vlt").c_str()), 0);
    ASSERT_TRUE(writeFileAtomically(dir.file("a.vlt"), std::string("new"), plainWriter));
    EXPECT_EQ(test::readFile(dir.file("b.vlt")), "new");
    EXPECT_EQ(statOf(dir.file("a.vlt")).st_ino, statOf(dir.file("b.vlt")).st_ino);
    EXPECT_EQ(filesIn(dir.path()), 2u);
}

// owned by someone else that their group may write (a new file could not get that owner).
TEST(AtomicFile, AWritableFileIsSavedWhereNoReplacementCanBeMade) {
    test::TempDir dir;
    const bool root = ::geteuid() == 0;
    const uid_t user = root ? test::kNobody : ::geteuid();
    const gid_t group = root ? test::kNobody : ::getegid();
    ::chmod(dir.path().c_str(), 0755);
    std::filesystem::create_directory(dir.path() / "closed");
    const std::string closed = dir.file("closed/a.vlt");
    test::writeFile(closed, "old content");
    ASSERT_EQ(::chown(closed.c_str(), user, group), 0);
    std::filesystem::create_directory(dir.path() / "open");
    ::chmod(dir.file("open").c_str(), 0777);
    const std::string foreign = dir.file("open/b.vlt");
    test::writeFile(foreign, "old content");
    if (root) {
        ASSERT_EQ(::chown(foreign.c_str(), 1234, group), 0);
        ::chmod(foreign.c_str(), 0660);
    }
    ::chmod(dir.file("closed").c_str(), 0555);

    const int status = test::runAsOrdinaryUser([&] {
        int failures = writeFileAtomically(closed, std::string("new a"), plainWriter) ? 0 : 1;
        if (root && !writeFileAtomically(foreign, std::string("new b"), plainWriter)) {
            failures += 2;
        }
        return failures;
    });
    ::chmod(dir.file("closed").c_str(), 0755);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(test::readFile(closed), "new a");
    EXPECT_EQ(filesIn(dir.path() / "closed"), 1u);
    if (root) {
        EXPECT_EQ(test::readFile(foreign), "new b");
        const struct stat st = statOf(foreign);
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, group);
        EXPECT_EQ(st.st_mode & 07777, 0660u);
        EXPECT_EQ(filesIn(dir.path() / "open"), 1u);
    }
}

// Starts saving 16 MB over `target` in a child process and kills it half-way.
void killHalfWayThroughASave(const std::string& target, const FileWriter& writer) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        AtomicFile file(target, writer);
        const std::string chunk(1 << 20, 'x');
        bool ok = file.open();
        for (int i = 0; ok && i < 16; ++i) {
            ok = file.write(chunk.data(), chunk.size());
        }
        if (!ok || ::write(ready[1], "w", 1) != 1) {
            ::_exit(1);
        }
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char written = 0;
    const bool halfWay = ::read(ready[0], &written, 1) == 1;
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ASSERT_TRUE(halfWay);
    ASSERT_TRUE(WIFSIGNALED(status));
}

TEST(AtomicFile, AKilledSaveLeavesTheOldFileAndNoTemporaryForLong) {
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed temporary" : "named temporary");
        FileWriter writer;
        writer.unnamedTemporaries = unnamed;
        test::TempDir dir;
        const std::string target = dir.file("a.vlt");
        test::writeFile(target, "old");
        killHalfWayThroughASave(target, writer);
        EXPECT_EQ(test::readFile(target), "old");
        EXPECT_EQ(filesIn(dir.path()), unnamed ? 1u : 2u);

        // Later saves sweep what the crash left, but not another file's temporaries, nor those of
        // a save still under way.
        test::writeFile(dir.file(".b.vlt.tmp-Ab12Cd"), "another file's");
        AtomicFile running(target, writer);
        ASSERT_TRUE(running.open());
        ASSERT_TRUE(running.write("running", 7));
        ASSERT_TRUE(writeFileAtomically(target, std::string("new"), writer));
        EXPECT_EQ(filesIn(dir.path()), unnamed ? 2u : 3u);
        ASSERT_TRUE(running.commit());
        EXPECT_EQ(test::readFile(target), "running");
        EXPECT_EQ(filesIn(dir.path()), 2u);
    }
}

}  // namespace
}  // namespace vlt
