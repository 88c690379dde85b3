#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "TempDir.h"
#include "platform/DataFolder.h"

namespace vlt {
namespace {

// An environment of the test's own, so the real user's folders are never touched.
struct FakeEnvironment {
    std::map<std::string, std::string> values;
    std::function<const char*(const char*)> getenv() const {
        return [this](const char* name) -> const char* {
            auto found = values.find(name);
            return found == values.end() ? nullptr : found->second.c_str();
        };
    }
};

unsigned modeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 0777) : 0;
}

void expectFilesIn(const ProgramPaths& paths, const std::string& folder) {
    EXPECT_EQ(paths.DataFolder, folder);
    EXPECT_EQ(paths.ConfigPath, folder + "Config.ini");
    EXPECT_EQ(paths.RecentPath, folder + "Recent.ini");
    EXPECT_EQ(paths.LogPath, folder + "VLT.log");
}

TEST(DataFolder, AConfigFileBesideTheProgramMakesItPortable) {
    test::TempDir dir;
    std::string program = dir.path().string() + "/bin/VLT";
    std::filesystem::create_directory(dir.file("bin"));
    test::writeFile(dir.file("bin/Config.ini"), "");  // even an empty one
    FakeEnvironment env{{{"HOME", dir.file("home")}}};
    ProgramPaths paths = ChooseProgramPaths(program, env.getenv());
    EXPECT_EQ(paths.PortableMode, 1);
    EXPECT_EQ(paths.ProgramFolder, dir.path().string() + "/bin/");
    expectFilesIn(paths, paths.ProgramFolder);
    EXPECT_FALSE(std::filesystem::exists(dir.file("home")));
}

TEST(DataFolder, WithoutOneTheUsersConfigFolderIsCreatedOwnerOnly) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("bin"));
    std::filesystem::create_directory(dir.file("home"));
    FakeEnvironment env{{{"HOME", dir.file("home")}}};
    ProgramPaths paths = ChooseProgramPaths(dir.file("bin/VLT"), env.getenv());
    EXPECT_EQ(paths.PortableMode, 0);
    EXPECT_EQ(paths.ProgramFolder, dir.file("bin") + "/");
    std::string config = dir.file("home") + "/.config/";
    expectFilesIn(paths, config + "Orvelline/Orvelline Vaultwick/");
    EXPECT_TRUE(std::filesystem::is_directory(paths.DataFolder));
    EXPECT_EQ(modeOf(config), 0700u);
    EXPECT_EQ(modeOf(config + "Orvelline"), 0700u);
    EXPECT_EQ(modeOf(config + "Orvelline/Orvelline Vaultwick"), 0700u);

    // The second start finds everything in place.
    ProgramPaths again = ChooseProgramPaths(dir.file("bin/VLT"), env.getenv());
    EXPECT_EQ(again.DataFolder, paths.DataFolder);
}

TEST(DataFolder, XdgConfigHomeWinsOverHomeAndExistingFoldersKeepTheirModes) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("xdg"));
    ::chmod(dir.file("xdg").c_str(), 0755);
    FakeEnvironment env{{{"HOME", dir.file("home")}, {"XDG_CONFIG_HOME", dir.file("xdg") + "//"}}};
    ProgramPaths paths = ChooseProgramPaths(dir.file("VLT"), env.getenv());
    EXPECT_EQ(paths.PortableMode, 0);
    expectFilesIn(paths, dir.file("xdg") + "/Orvelline/Orvelline Vaultwick/");
    EXPECT_TRUE(std::filesystem::is_directory(paths.DataFolder));
    EXPECT_EQ(modeOf(dir.file("xdg")), 0755u);
    EXPECT_EQ(modeOf(dir.file("xdg/Orvelline")), 0700u);
    EXPECT_FALSE(std::filesystem::exists(dir.file("home")));
}

TEST(DataFolder, ARelativeXdgConfigHomeIsIgnored) {
    test::TempDir dir;
    FakeEnvironment env{{{"HOME", dir.file("home")}, {"XDG_CONFIG_HOME", "relative/config"}}};
    ProgramPaths paths = ChooseProgramPaths(dir.file("VLT"), env.getenv());
    expectFilesIn(paths, dir.file("home") + "/.config/Orvelline/Orvelline Vaultwick/");
    EXPECT_TRUE(std::filesystem::is_directory(paths.DataFolder));
}

TEST(DataFolder, AFolderNamedConfigIniDoesNotMakeItPortable) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("Config.ini"));
    FakeEnvironment env{{{"XDG_CONFIG_HOME", dir.file("xdg")}}};
    ProgramPaths paths = ChooseProgramPaths(dir.file("VLT"), env.getenv());
    EXPECT_EQ(paths.PortableMode, 0);
    expectFilesIn(paths, dir.file("xdg") + "/Orvelline/Orvelline Vaultwick/");
}

TEST(DataFolder, AnUncreatableFolderIsStillNamed) {
    test::TempDir dir;
    test::writeFile(dir.file("blocker"), "a file where a folder should be");
    FakeEnvironment env{{{"XDG_CONFIG_HOME", dir.file("blocker")}}};
    ProgramPaths paths = ChooseProgramPaths(dir.file("VLT"), env.getenv());
    expectFilesIn(paths, dir.file("blocker") + "/Orvelline/Orvelline Vaultwick/");
    EXPECT_FALSE(std::filesystem::exists(paths.DataFolder));
}

}  // namespace
}  // namespace vlt
