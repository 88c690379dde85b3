#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "AtomicFile.h"
#include "TempDir.h"

namespace vlt {
namespace {

struct HookReset {
    ~HookReset() { AtomicFile::writeHook() = nullptr; }
};

std::size_t filesIn(const std::filesystem::path& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

TEST(AtomicFile, NewFilesAreOwnerOnly) {
    test::TempDir dir;
    ASSERT_TRUE(writeFileAtomically(dir.file("a.vlt"), std::string("secret")));
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("a.vlt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(test::readFile(dir.file("a.vlt")), "secret");
}

TEST(AtomicFile, ReplacingKeepsTheTargetsPermissions) {
    test::TempDir dir;
    test::writeFile(dir.file("a.txt"), "old");
    ::chmod(dir.file("a.txt").c_str(), 0640);
    ASSERT_TRUE(writeFileAtomically(dir.file("a.txt"), std::string("new")));
    struct stat st {};
    ::stat(dir.file("a.txt").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(test::readFile(dir.file("a.txt")), "new");
}

TEST(AtomicFile, AFailedWriteLeavesTheOldFileWholeAndNoTemporary) {
    test::TempDir dir;
    HookReset reset;
    test::writeFile(dir.file("a.vlt"), "the old container");
    AtomicFile::writeHook() = [](std::size_t written) { return written < 8; };
    AtomicFile file(dir.file("a.vlt"));
    ASSERT_TRUE(file.open());
    EXPECT_TRUE(file.write("12345678", 8));
    EXPECT_FALSE(file.write("9", 1));
    EXPECT_FALSE(file.commit());
    EXPECT_EQ(test::readFile(dir.file("a.vlt")), "the old container");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(AtomicFile, AbandonedWritesLeaveNothingBehind) {
    test::TempDir dir;
    {
        AtomicFile file(dir.file("b.vlt"));
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
    AtomicFile file(dir.file("big"));
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.write("head", 4));
    ASSERT_TRUE(file.write(big.data(), big.size()));
    ASSERT_TRUE(file.writeInt32(-2));
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(test::readFile(dir.file("big")), "head" + big + std::string("\xfe\xff\xff\xff", 4));
}

TEST(AtomicFile, AMissingFolderFailsToOpen) {
    test::TempDir dir;
    AtomicFile file(dir.file("no/such/folder/x"));
    EXPECT_FALSE(file.open());
    EXPECT_FALSE(file.write("x", 1));
    EXPECT_FALSE(file.commit());
}

}  // namespace
}  // namespace vlt

namespace vlt {
namespace {

TEST(AtomicFile, ALinkedTargetUpdatesTheFileItPointsTo) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.path() / "synced");
    test::writeFile(dir.file("synced/real.vlt"), "old");
    std::filesystem::create_symlink(dir.path() / "synced/real.vlt", dir.path() / "link.vlt");
    ASSERT_TRUE(writeFileAtomically(dir.file("link.vlt"), std::string("new")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.vlt"));
    EXPECT_EQ(test::readFile(dir.file("synced/real.vlt")), "new");
    EXPECT_EQ(filesIn(dir.path() / "synced"), 1u);
}

TEST(AtomicFile, AReadOnlyTargetIsNotReplaced) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write any file";
    }
    test::TempDir dir;
    test::writeFile(dir.file("ro.vlt"), "keep");
    ::chmod(dir.file("ro.vlt").c_str(), 0444);
    EXPECT_FALSE(writeFileAtomically(dir.file("ro.vlt"), std::string("new")));
    EXPECT_EQ(test::readFile(dir.file("ro.vlt")), "keep");
}

}  // namespace
}  // namespace vlt
