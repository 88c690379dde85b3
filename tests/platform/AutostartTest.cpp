#include "platform/Autostart.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "TempDir.h"

namespace vlt {
namespace {

TEST(Autostart, TheEntryIsWrittenWithAQuotedProgramAndRemovedAgain) {
    test::TempDir dir;
    const std::string config = dir.file("cfg");
    auto env = [&config](const char* name) -> const char* {
        return std::string_view(name) == "XDG_CONFIG_HOME" ? config.c_str() : nullptr;
    };
    const std::string path = AutostartEntryPath(env);
    EXPECT_EQ(path, config + "/autostart/orvelline-vaultwick.desktop");

    ASSERT_TRUE(SetAutostart(true, "/opt/my apps/$HOME/V\"L`T\\x", env));
    const std::string text = test::readFile(path);
    EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
    // Quoted for the Exec rules, then every backslash doubled for the desktop-entry string.
    EXPECT_NE(text.find("\nExec=\"/opt/my apps/\\\\$HOME/V\\\\\"L\\\\`T\\\\\\\\x\" -tray\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\nType=Application\n"), std::string::npos);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);

    // A line break in the path stays inside the value.
    ASSERT_TRUE(SetAutostart(true, "/x\ny", env));
    EXPECT_NE(test::readFile(path).find("Exec=\"/x\\ny\" -tray\n"), std::string::npos);

    EXPECT_TRUE(SetAutostart(false, "", env));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(SetAutostart(false, "", env));  // already off

    // A folder standing where the entry goes: the failure is said, not hidden.
    std::filesystem::create_directories(path + "/x");
    EXPECT_FALSE(SetAutostart(true, "/p", env));
    EXPECT_FALSE(SetAutostart(false, "", env));
}

}  // namespace
}  // namespace vlt
