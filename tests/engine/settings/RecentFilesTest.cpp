#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "Fifo.h"
#include "TempDir.h"
#include "common/Utf.h"
#include "engine/settings/RecentFiles.h"
#include "engine/text/Text.h"

namespace vlt {
namespace {

using Paths = std::vector<std::u16string>;

const FileWriter writer;

std::u16string vault(int i) {
    return u"/home/u/vault" + decimal(i) + u".vlt";
}

// Recent.ini as the program writes it for these paths.
std::string recentFile(const Paths& paths) {
    std::string text = "\xEF\xBB\xBF\r\n[RecentFiles]\r\n";
    for (std::size_t i = 0; i < paths.size(); ++i) {
        text += "File" + std::to_string(i) + " = " + toUtf8(paths[i]) + "\r\n";
    }
    return text;
}

TEST(RecentFiles, TheFirstOpenCreatesTheFile) {
    test::TempDir dir;
    RecentFiles recent(dir.file("Recent.ini"));
    recent.read();
    EXPECT_TRUE(recent.paths.empty());
    recent.AddRecentFile(u"/home/u/Caf\u00e9.vlt", 1, writer);
    EXPECT_EQ(recent.paths, Paths{u"/home/u/Caf\u00e9.vlt"});
    EXPECT_EQ(test::readFile(dir.file("Recent.ini")),
              "\xEF\xBB\xBF\r\n[RecentFiles]\r\nFile0 = /home/u/Caf\xC3\xA9.vlt\r\n");
}

TEST(RecentFiles, OpeningTheSameContainerTwiceKeepsItOnceAtTheTop) {
    test::TempDir dir;
    RecentFiles recent(dir.file("Recent.ini"));
    recent.AddRecentFile(vault(1), 1, writer);
    recent.AddRecentFile(vault(2), 1, writer);
    recent.AddRecentFile(vault(1), 1, writer);
    EXPECT_EQ(recent.paths, (Paths{vault(1), vault(2)}));
    EXPECT_EQ(test::readFile(dir.file("Recent.ini")), recentFile({vault(1), vault(2)}));
    // Paths differing only in case are different files here.
    recent.AddRecentFile(u"/home/u/VAULT2.vlt", 1, writer);
    EXPECT_EQ(recent.paths.size(), 3u);
}

TEST(RecentFiles, AnEleventhContainerDropsTheOldest) {
    test::TempDir dir;
    RecentFiles recent(dir.file("Recent.ini"));
    for (int i = 0; i < 11; ++i) {
        recent.AddRecentFile(vault(i), 1, writer);
    }
    Paths expected;
    for (int i = 10; i >= 1; --i) {
        expected.push_back(vault(i));
    }
    EXPECT_EQ(recent.paths, expected);
    EXPECT_EQ(test::readFile(dir.file("Recent.ini")), recentFile(expected));

    RecentFiles nextRun(dir.file("Recent.ini"));
    nextRun.read();
    EXPECT_EQ(nextRun.paths, expected);
}

TEST(RecentFiles, AHandEditedListIsReadWholeAndCutOnTheNextOpen) {
    test::TempDir dir;
    Paths fifteen;
    for (int i = 0; i < 15; ++i) {
        fifteen.push_back(vault(i));
    }
    test::writeFile(dir.file("Recent.ini"), recentFile(fifteen));
    RecentFiles recent(dir.file("Recent.ini"));
    recent.read();
    EXPECT_EQ(recent.paths, fifteen);
    EXPECT_EQ(recent.entry(14), vault(14));
    EXPECT_EQ(recent.entry(15), u"");
    EXPECT_EQ(recent.entry(-1), u"");

    recent.AddRecentFile(vault(99), 1, writer);
    Paths expected{vault(99)};
    expected.insert(expected.end(), fifteen.begin(), fifteen.begin() + 9);
    EXPECT_EQ(recent.paths, expected);
    EXPECT_EQ(test::readFile(dir.file("Recent.ini")), recentFile(expected));
}

TEST(RecentFiles, KeysAreReadInFileOrderWhateverTheirNames) {
    test::TempDir dir;
    test::writeFile(dir.file("Recent.ini"),
                    "; kept\n[Other]\nx = 1\n[recentfiles]\nA = /b.vlt\nB = /a.vlt\n");
    RecentFiles recent(dir.file("Recent.ini"));
    recent.read();
    EXPECT_EQ(recent.paths, (Paths{u"/b.vlt", u"/a.vlt"}));
    recent.AddRecentFile(u"/c.vlt", 1, writer);
    EXPECT_EQ(recent.paths, (Paths{u"/c.vlt", u"/b.vlt", u"/a.vlt"}));
    EXPECT_EQ(test::readFile(dir.file("Recent.ini")),
              "; kept\r\n[Other]\r\nx = 1\r\n[RecentFiles]\r\nFile0 = /c.vlt\r\n"
              "File1 = /b.vlt\r\nFile2 = /a.vlt\r\n");
}

TEST(RecentFiles, WithRecentsOffNothingChanges) {
    test::TempDir dir;
    test::writeFile(dir.file("Recent.ini"), recentFile({vault(1)}));
    RecentFiles recent(dir.file("Recent.ini"));
    recent.read();
    recent.AddRecentFile(vault(2), 0, writer);
    EXPECT_EQ(recent.paths, Paths{vault(1)});
    EXPECT_EQ(test::readFile(dir.file("Recent.ini")), recentFile({vault(1)}));

    RecentFiles none(dir.file("None.ini"));
    none.AddRecentFile(vault(2), 0, writer);
    EXPECT_TRUE(none.paths.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("None.ini")));
}

TEST(RecentFiles, TheFileNotTheMemoryIsTheListThatContinues) {
    test::TempDir dir;
    RecentFiles recent(dir.file("Recent.ini"));
    recent.AddRecentFile(vault(1), 1, writer);
    recent.paths.push_back(vault(7));  // known in memory only
    test::writeFile(dir.file("Recent.ini"), recentFile({vault(1), u"", vault(3), vault(1)}));
    recent.AddRecentFile(vault(2), 1, writer);
    EXPECT_EQ(recent.paths, (Paths{vault(2), vault(1), vault(3)}));

    // An empty path only tidies the stored list.
    recent.AddRecentFile(u"", 1, writer);
    EXPECT_EQ(recent.paths, (Paths{vault(2), vault(1), vault(3)}));
}

TEST(RecentFiles, WithoutAFileTheNewPathStillGoesFirstAndDuplicatesGo) {
    test::TempDir dir;
    RecentFiles recent(dir.file("Recent.ini"));
    for (int i = 1; i <= 10; ++i) {
        recent.paths.push_back(vault(i));
    }
    test::writeFile(dir.file("Recent.ini"), "");  // an empty file counts as none
    recent.AddRecentFile(vault(5), 1, writer);
    Paths expected{vault(5), vault(1), vault(2), vault(3), vault(4),
                   vault(6), vault(7), vault(8), vault(9), vault(10)};
    EXPECT_EQ(recent.paths, expected);
    EXPECT_EQ(test::readFile(dir.file("Recent.ini")), recentFile(expected));

    std::filesystem::remove(dir.file("Recent.ini"));
    recent.AddRecentFile(vault(11), 1, writer);
    expected.insert(expected.begin(), vault(11));
    expected.pop_back();
    EXPECT_EQ(recent.paths, expected);
    EXPECT_EQ(test::readFile(dir.file("Recent.ini")), recentFile(expected));

    std::filesystem::remove(dir.file("Recent.ini"));
    recent.AddRecentFile(u"", 1, writer);
    EXPECT_EQ(recent.paths, expected);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Recent.ini")));
}

TEST(RecentFiles, AnUncreatableFileKeepsTheListInMemoryOnly) {
    test::TempDir dir;
    RecentFiles recent(dir.file("no-such-folder/Recent.ini"));
    recent.read();
    EXPECT_TRUE(recent.paths.empty());
    recent.AddRecentFile(vault(1), 1, writer);
    recent.AddRecentFile(vault(2), 1, writer);
    recent.AddRecentFile(vault(1), 1, writer);
    EXPECT_EQ(recent.paths, (Paths{vault(1), vault(2)}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("no-such-folder")));
}

TEST(RecentFiles, AFifoInThePlaceOfTheFileIsAnEmptyListAndIsReplaced) {
    test::TempDir dir;
    test::Fifo fifo(dir.file("Recent.ini"));
    RecentFiles recent(fifo.path());
    recent.read();
    EXPECT_TRUE(recent.paths.empty());
    recent.AddRecentFile(vault(1), 1, writer);
    EXPECT_EQ(recent.paths, Paths{vault(1)});
    EXPECT_TRUE(std::filesystem::is_regular_file(fifo.path()));
    EXPECT_EQ(test::readFile(fifo.path()), recentFile({vault(1)}));
    EXPECT_FALSE(fifo.blocked());
}

TEST(RecentFiles, ClearingEmptiesTheListAndDeletesTheFile) {
    test::TempDir dir;
    RecentFiles recent(dir.file("Recent.ini"));
    recent.AddRecentFile(vault(1), 1, writer);
    recent.clear();
    EXPECT_TRUE(recent.paths.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("Recent.ini")));
    recent.clear();  // nothing left to delete
    EXPECT_TRUE(recent.paths.empty());
    recent.AddRecentFile(vault(2), 1, writer);
    EXPECT_EQ(recent.paths, Paths{vault(2)});
}

// The list is the program's own file: a link at its name is replaced, never written through.
TEST(RecentFiles, ALinkAtTheNameIsReplacedNeverWrittenThrough) {
    test::TempDir dir;
    const std::string other = dir.file("other.ini");
    test::writeFile(other, recentFile({vault(1)}));
    RecentFiles recent(dir.file("Recent.ini"));
    std::filesystem::create_symlink(other, recent.recentPath());
    recent.AddRecentFile(vault(2), 1, writer);
    EXPECT_EQ(test::readFile(other), recentFile({vault(1)}));
    EXPECT_FALSE(std::filesystem::is_symlink(recent.recentPath()));
    EXPECT_EQ(test::readFile(recent.recentPath()), recentFile({vault(2), vault(1)}));
    EXPECT_EQ(test::statOf(recent.recentPath()).st_mode & 07777, 0600u);
}

// A list larger than 1 MiB is unreadable: refused at once without being read, an empty list,
// and left as it is like any unreadable list.
TEST(RecentFiles, AFileLargerThanOneMebibyteIsAnUnreadableList) {
    test::TempDir dir;
    RecentFiles recent(dir.file("Recent.ini"));
    std::string text = recentFile({vault(1)});
    text += ';';
    text.append((std::size_t{1} << 20) - text.size(), '-');
    test::writeFile(recent.recentPath(), text);
    recent.read();
    EXPECT_EQ(recent.paths, Paths{vault(1)});
    test::writeFile(recent.recentPath(), text + "-");
    recent.read();
    EXPECT_TRUE(recent.paths.empty());

    const int fd = ::open(recent.recentPath().c_str(), O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t{2} << 30), 0);  // 2 GiB, taking no disk space
    ::close(fd);
    const auto start = std::chrono::steady_clock::now();
    recent.read();
    recent.AddRecentFile(vault(2), 1, writer);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_TRUE(recent.paths.empty());
    EXPECT_EQ(test::statOf(recent.recentPath()).st_size, off_t{2} << 30);
}

}  // namespace
}  // namespace vlt
