#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "TempDir.h"
#include "common/AtomicFile.h"
#include "engine/container/RescueCopy.h"

namespace vlt {
namespace {

using test::filesIn;
using test::statOf;

// A container that is rewritten in place (here: it has a second name) has a whole copy of its
// new content on disk before its first byte changes, and until the rewrite is complete.
TEST(AtomicFile, AnInPlaceRewriteKeepsAWholeCopyUntilItIsComplete) {
    test::TempDir dir;
    const std::string target = dir.file("a.vlt");
    const std::string old(300000, 'o');
    test::writeFile(target, old);
    ASSERT_EQ(::link(target.c_str(), dir.file("b.vlt").c_str()), 0);
    const std::string copy = dir.file(".a.vlt.rescue");
    FileWriter writer;
    auto save = [&](const std::string& content) {
        AtomicFile file(target, writer);
        KeepRescueCopy(file, "", writer);
        return file.open() && file.write(content.data(), content.size()) && file.commit();
    };

    std::string content;
    for (int i = 0; i < 600000; ++i) {
        content += static_cast<char>('a' + i % 23);
    }
    std::vector<std::size_t> pieces;
    writer.rewriteFault = [&](std::size_t rewritten) {
        pieces.push_back(rewritten);
        // Compared, not printed: the contents are long.
        EXPECT_TRUE(test::readFile(copy) == content);
        EXPECT_EQ(statOf(copy).st_mode & 07777, 0600u);
        EXPECT_TRUE(rewritten > 0 || test::readFile(target) == old);
        return 0;
    };
    ASSERT_TRUE(save(content));
    ASSERT_EQ(pieces.size(), 10u);  // of 64 KiB each
    EXPECT_EQ(pieces.back(), std::size_t{9} << 16);
    EXPECT_TRUE(test::readFile(dir.file("b.vlt")) == content);
    EXPECT_EQ(filesIn(dir.path()), 2u);  // no copy and no temporary left

    // A rewrite that fails part-way keeps the copy, and the reader finds it; the next save that
    // succeeds removes it.
    writer.rewriteFault = [](std::size_t rewritten) { return rewritten > 0 ? EIO : 0; };
    {
        AtomicFile failing(target, writer);
        KeepRescueCopy(failing, "", writer);
        ASSERT_TRUE(failing.open());
        ASSERT_TRUE(failing.write(old.data(), old.size()));
        EXPECT_FALSE(failing.commit());
        EXPECT_TRUE(failing.targetDamaged());
    }
    EXPECT_TRUE(test::readFile(copy) == old);
    EXPECT_EQ(FindRescueCopy(target, "").path, copy);
    writer.rewriteFault = nullptr;
    ASSERT_TRUE(save("whole"));
    EXPECT_EQ(test::readFile(dir.file("b.vlt")), "whole");
    EXPECT_FALSE(std::filesystem::exists(copy));

    // Where no copy can be made, the rewrite does not begin: the file stays as it was.
    std::filesystem::create_directory(copy);
    EXPECT_FALSE(save(content));
    EXPECT_EQ(test::readFile(target), "whole");
    std::filesystem::remove(copy);

    // A file replaced by a rename needs no copy, and a save over it drops one left from before.
    ASSERT_EQ(::unlink(dir.file("b.vlt").c_str()), 0);
    test::writeFile(copy, "left by an interrupted save");
    ASSERT_TRUE(save(content));
    EXPECT_TRUE(test::readFile(target) == content);
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

// A user may write a file where they cannot create one: in a folder they cannot write, or one

}  // namespace
}  // namespace vlt
