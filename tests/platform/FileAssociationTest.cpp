#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "FileAssociationCheck.h"
#include "TempDir.h"
#include "platform/Autostart.h"
#include "platform/FileAssociation.h"

namespace vlt {
namespace {

// Points the XDG folders into a scratch folder for the test, so the user's own stay untouched.
class FileAssociationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("XDG_CONFIG_HOME");
    }
    std::string desktopFile() const { return dir.file("data/applications/") + kDesktopFileName; }
    std::string mimePackage() const {
        return dir.file("data/mime/packages/orvelline-vaultwick.xml");
    }
    std::string mimeApps() const { return dir.file("config/mimeapps.list"); }

    test::TempDir dir;
};

bool validates(const std::string& desktopFile) {
    const std::string command = "desktop-file-validate '" + desktopFile + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

std::string lineStarting(const std::string& text, const std::string& start) {
    const auto at = text.find("\n" + start);
    return at == std::string::npos ? "" : text.substr(at + 1, text.find('\n', at + 1) - at - 1);
}

TEST_F(FileAssociationTest, RegisteringWritesTheXdgFilesAndUnregisteringRemovesOnlyThem) {
    std::filesystem::create_directories(dir.file("config"));
    test::writeFile(mimeApps(),
                    "[Default Applications]\ntext/plain=editor.desktop;\n"
                    "application/x-vlt-container=other.desktop;\n[Added Associations]\n"
                    "image/png=viewer.desktop;\n");
    const std::string program = "/opt/vlt/VLT";
    EXPECT_FALSE(test::IsFileAssociationApplied(program));

    ASSERT_TRUE(ApplyFileAssociation(true, program));
    ASSERT_TRUE(ApplyFileAssociation(true, program));  // twice changes nothing
    EXPECT_TRUE(test::IsFileAssociationApplied(program));
    EXPECT_FALSE(test::IsFileAssociationApplied("/elsewhere/VLT"));

    const std::string entry = test::readFile(desktopFile());
    EXPECT_EQ(lineStarting(entry, "Exec="), "Exec=\"/opt/vlt/VLT\" %f");
    EXPECT_EQ(lineStarting(entry, "MimeType="), "MimeType=application/x-vlt-container;");
    EXPECT_EQ(lineStarting(entry, "Icon="), "Icon=orvelline-vaultwick");
    EXPECT_TRUE(validates(desktopFile()));
    EXPECT_NE(test::readFile(mimePackage()).find("<glob pattern=\"*.vlt\"/>"), std::string::npos);
    EXPECT_TRUE(std::filesystem::file_size(
                    dir.file("data/icons/hicolor/16x16/apps/orvelline-vaultwick.png")) > 0);
    EXPECT_EQ(test::readFile(mimeApps()),
              "[Default Applications]\ntext/plain=editor.desktop;\n"
              "application/x-vlt-container=orvelline-vaultwick.desktop;\n[Added Associations]\n"
              "image/png=viewer.desktop;\n");
    // The MIME database built from the package maps the glob to the type.
    EXPECT_NE(
        test::readFile(dir.file("data/mime/globs2")).find("application/x-vlt-container:*.vlt"),
        std::string::npos);

    ASSERT_TRUE(ApplyFileAssociation(false, program));
    EXPECT_FALSE(test::IsFileAssociationApplied(program));
    EXPECT_FALSE(std::filesystem::exists(desktopFile()));
    EXPECT_FALSE(std::filesystem::exists(mimePackage()));
    EXPECT_EQ(test::readFile(mimeApps()),
              "[Default Applications]\ntext/plain=editor.desktop;\n[Added Associations]\n"
              "image/png=viewer.desktop;\n");
}

TEST_F(FileAssociationTest, AnAwkwardProgramPathIsQuotedAndEscapedForTheExecLine) {
    ASSERT_TRUE(ApplyFileAssociation(true, "/home/a b/100%/V\"L$T"));
    EXPECT_EQ(lineStarting(test::readFile(desktopFile()), "Exec="),
              R"(Exec="/home/a b/100%%/V\\"L\\$T" %f)");
    EXPECT_TRUE(validates(desktopFile()));
    EXPECT_TRUE(test::IsFileAssociationApplied("/home/a b/100%/V\"L$T"));
    // Without a mimeapps.list one is made with the default group.
    EXPECT_EQ(test::readFile(mimeApps()),
              "[Default Applications]\napplication/x-vlt-container=orvelline-vaultwick.desktop;\n");
}

// The program path a desktop reads from an Exec value: the string escapes are undone first,
// then the quoting of the first argument and its doubled percent signs.
std::string execProgramOf(const std::string& exec) {
    std::string value;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        if (exec[i] == '\\' && i + 1 < exec.size()) {
            const char next = exec[++i];
            value += next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next;
        } else {
            value += exec[i];
        }
    }
    std::string program;
    if (!value.starts_with('"')) {
        return value.substr(0, value.find(' '));
    }
    for (std::size_t i = 1; i < value.size() && value[i] != '"'; ++i) {
        if (value[i] == '\\' || (value[i] == '%' && value[i + 1] == '%')) {
            ++i;
        }
        program += value[i];
    }
    return program;
}

// The autostart entry and the file association are written by the same Apply: both must give
// the desktop back the very program path, whatever characters its folder holds.
TEST_F(FileAssociationTest, BothEntriesOfAnAwkwardProgramFolderValidateAndNameTheProgram) {
    const std::string program = "/opt/100% \"sure\" \\ $HOME/VLT";
    ASSERT_TRUE(ApplyFileAssociation(true, program));
    ASSERT_TRUE(SetAutostart(true, program));
    const std::pair<std::string, std::string> entries[] = {{desktopFile(), " %f"},
                                                           {AutostartEntryPath(), " -tray"}};
    for (const auto& [file, arguments] : entries) {
        SCOPED_TRACE(file);
        EXPECT_TRUE(validates(file));
        const std::string exec = lineStarting(test::readFile(file), "Exec=").substr(5);
        EXPECT_EQ(execProgramOf(exec), program) << exec;
        EXPECT_TRUE(exec.ends_with(arguments)) << exec;
    }
}

TEST(ShippedDesktopEntry, Validates) {
    const std::string shipped =
        std::string(VLT_SOURCE_DIR) + "/src/platform/xdg/" + kDesktopFileName;
    EXPECT_TRUE(validates(shipped));
    const std::string entry = test::readFile(shipped);
    EXPECT_EQ(lineStarting(entry, "Exec="), "Exec=VLT %f");
    EXPECT_EQ(lineStarting(entry, "MimeType="), "MimeType=application/x-vlt-container;");
}

}  // namespace
}  // namespace vlt
