// The frame around every writer: the replace question, owner-only files written whole or not at
// all, and the message that says which.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>

#include "ChildProcess.h"
#include "CsvWriter.h"
#include "ExportFixture.h"
#include "ExportFrame.h"
#include "TempDir.h"

namespace vlt::test {
namespace {

class ScriptedPrompts final : public plugin::ExportPrompts {
  public:
    std::vector<bool> answers;  // to the replace question, in order
    std::vector<std::string> shown;

    bool confirmReplace() override {
        shown.push_back("Please confirm");
        EXPECT_FALSE(answers.empty()) << "unexpected replace question";
        if (answers.empty()) {
            return false;
        }
        const bool yes = answers.front();
        answers.erase(answers.begin());
        return yes;
    }
    void message(std::string_view title, std::string_view text, plugin::MessageKind) override {
        shown.push_back(std::string(title) + "/" + std::string(text));
    }
};

constexpr const char* kSuccess = "CSV data exported successfully.";
constexpr const char* kWriteError = "Error/Error writing output file. Exporting cancelled.";

plugin::ExportResult exportTo(const std::string& path, ScriptedPrompts& prompts) {
    FixtureVault vault;
    return plugin::ExportFile({path, {}}, plugin::ExportCSV, vault, kNow, nullptr, prompts,
                              kSuccess);
}

unsigned modeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

std::size_t filesIn(const TempDir& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.path()),
                                                  std::filesystem::directory_iterator()));
}

TEST(ExportFile, FilesAreOwnerOnlyAndAnExistingOneIsReplacedOnlyAfterYes) {
    TempDir dir;
    const std::string path = dir.file("vault.csv");
    const std::string expected = RunWriter(plugin::ExportCSV, {}).bytes;
    const mode_t oldMask = ::umask(022);

    ScriptedPrompts prompts;
    EXPECT_EQ(exportTo(path, prompts), plugin::ExportResult::Written);
    EXPECT_EQ(readFile(path), expected);
    EXPECT_EQ(modeOf(path), 0600u);
    EXPECT_EQ(prompts.shown, (std::vector<std::string>{std::string("OK/") + kSuccess}));

    writeFile(path, "kept");
    ::chmod(path.c_str(), 0644);
    prompts = ScriptedPrompts{};
    prompts.answers = {false, true};
    EXPECT_EQ(exportTo(path, prompts), plugin::ExportResult::Declined);
    EXPECT_EQ(readFile(path), "kept");
    EXPECT_EQ(exportTo(path, prompts), plugin::ExportResult::Written);
    EXPECT_EQ(readFile(path), expected);
    EXPECT_EQ(modeOf(path), 0600u);
    EXPECT_EQ(filesIn(dir), 1u);
    ::umask(oldMask);

    // A folder, or a file in a folder that does not exist, cannot be created; nothing is asked.
    prompts = ScriptedPrompts{};
    EXPECT_EQ(exportTo(dir.path().string(), prompts), plugin::ExportResult::CreateFailed);
    EXPECT_EQ(exportTo(dir.file("missing/vault.csv"), prompts), plugin::ExportResult::CreateFailed);
    EXPECT_EQ(prompts.shown, std::vector<std::string>(
                                 2, "Error/Error creating output file. Exporting cancelled."));
    EXPECT_EQ(filesIn(dir), 1u);
}

TEST(ExportFile, AFileTheUserMayNotWriteIsNotReplaced) {
    TempDir dir;
    // The folder lets anyone create files; the file in it is read-only.
    ::chmod(dir.path().c_str(), 0777);
    const std::string path = dir.file("locked.csv");
    writeFile(path, "read-only");
    ::chmod(path.c_str(), 0444);
    const int result = runAsOrdinaryUser([&] {
        ScriptedPrompts prompts;
        prompts.answers = {true};
        const bool refused = exportTo(path, prompts) == plugin::ExportResult::CreateFailed;
        return refused && prompts.shown.back() ==
                              "Error/Error creating output file. Exporting cancelled."
                   ? 0
                   : 1;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readFile(path), "read-only");
    EXPECT_EQ(filesIn(dir), 1u);
}

ino_t inodeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_ino;
}

TEST(ExportFile, ALinkIsWrittenThroughAndKept) {
    TempDir dir;
    const std::string expected = RunWriter(plugin::ExportCSV, {}).bytes;
    std::filesystem::create_directory(dir.file("links"));
    const std::string real = dir.file("real.csv");
    writeFile(real, "old export");
    // A relative link is read from the link's own folder.
    const std::string link = dir.file("links/vault.csv");
    std::filesystem::create_symlink("../real.csv", link);

    ScriptedPrompts prompts;
    prompts.answers = {true};
    EXPECT_EQ(exportTo(link, prompts), plugin::ExportResult::Written);
    EXPECT_EQ(prompts.shown.front(), "Please confirm");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readFile(real), expected);

    // A dangling link gets its file made where it points; nothing exists, so nothing is asked.
    const std::string dangling = dir.file("links/new.csv");
    std::filesystem::create_symlink("made.csv", dangling);
    prompts = ScriptedPrompts{};
    EXPECT_EQ(exportTo(dangling, prompts), plugin::ExportResult::Written);
    EXPECT_EQ(prompts.shown, (std::vector<std::string>{std::string("OK/") + kSuccess}));
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_EQ(readFile(dir.file("links/made.csv")), expected);
    EXPECT_EQ(modeOf(dir.file("links/made.csv")), 0600u);

    // No temporary file is left beside a link or its target.
    EXPECT_EQ(filesIn(dir), 2u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("links")),
                            std::filesystem::directory_iterator()),
              3);
}

TEST(ExportFile, AFileThatCannotBeRenamedOverIsRewrittenInPlace) {
    TempDir dir;
    const std::string expected = RunWriter(plugin::ExportCSV, {}).bytes;
    // Every name of a file with hard links shows the new export.
    const std::string path = dir.file("vault.csv");
    const std::string twin = dir.file("twin.csv");
    writeFile(path, std::string(5000, 'x'));  // longer than the export: the rest must go
    std::filesystem::create_hard_link(path, twin);
    const ino_t inode = inodeOf(path);
    ScriptedPrompts prompts;
    prompts.answers = {true};
    EXPECT_EQ(exportTo(path, prompts), plugin::ExportResult::Written);
    EXPECT_EQ(readFile(path), expected);
    EXPECT_EQ(readFile(twin), expected);
    EXPECT_EQ(inodeOf(path), inode);
    EXPECT_EQ(filesIn(dir), 2u);

    // A writable file in a folder nobody may create files in.
    const std::string locked = dir.file("locked");
    std::filesystem::create_directory(locked);
    const std::string inLocked = locked + "/vault.csv";
    writeFile(inLocked, "old export");
    ::chmod(inLocked.c_str(), 0666);
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(locked.c_str(), 0555);
    const int result = runAsOrdinaryUser([&] {
        ScriptedPrompts asked;
        asked.answers = {true};
        return exportTo(inLocked, asked) == plugin::ExportResult::Written ? 0 : 1;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readFile(inLocked), expected);
    ::chmod(locked.c_str(), 0755);
}

TEST(ExportFile, AFullDiskIsReportedAndLeavesNoPartialFile) {
    TempDir dir;
    const std::string existing = dir.file("old.csv");
    writeFile(existing, "previous export");
    const std::string fresh = dir.file("new.csv");

    // Writes past 100 bytes fail as on a full disk (EFBIG instead of the signal).
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tiny = saved;
    tiny.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    ScriptedPrompts prompts;
    prompts.answers = {true};
    const plugin::ExportResult replacing = exportTo(existing, prompts);
    const plugin::ExportResult creating = exportTo(fresh, prompts);
    ::setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(replacing, plugin::ExportResult::WriteFailed);
    EXPECT_EQ(creating, plugin::ExportResult::WriteFailed);
    EXPECT_EQ(prompts.shown,
              (std::vector<std::string>{"Please confirm", kWriteError, kWriteError}));
    EXPECT_EQ(readFile(existing), "previous export");
    EXPECT_FALSE(std::filesystem::exists(fresh));
    EXPECT_EQ(filesIn(dir), 1u);
}

}  // namespace
}  // namespace vlt::test
