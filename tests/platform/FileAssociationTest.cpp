#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "FileAssociationCheck.h"
#include "TempDir.h"
#include "platform/Autostart.h"
#include "platform/DesktopEntry.h"
#include "platform/FileAssociation.h"

namespace vlt {
namespace {

// Points the XDG folders into a scratch folder for the test, so the user's own stay untouched;
// the data folders hold no installed entry unless a test puts one there.
class FileAssociationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", dir.file("prefix/share").c_str(), 1);
        ::setenv("PATH", (dir.file("prefix/bin") + ":" + oldPath).c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("XDG_CONFIG_HOME");
        ::unsetenv("XDG_DATA_DIRS");
        ::setenv("PATH", oldPath.c_str(), 1);
    }
    std::string userEntry(const char* name = kUserDesktopFileName) const {
        return dir.file("data/applications/") + name;
    }
    std::string mimePackage() const {
        return dir.file("data/mime/packages/orvelline-vaultwick.xml");
    }
    std::string mimeApps() const { return dir.file("config/mimeapps.list"); }
    // The program as a package installs it: lib/vlt/VLT under `prefix`, started by the desktop
    // entry through the link bin/vlt on the command path.
    std::string installProgram(const std::string& prefix) const {
        std::filesystem::create_directories(dir.file(prefix + "/lib/vlt"));
        std::filesystem::create_directories(dir.file(prefix + "/bin"));
        test::writeFile(dir.file(prefix + "/lib/vlt/VLT"), "#!/bin/sh\n");
        std::filesystem::permissions(dir.file(prefix + "/lib/vlt/VLT"),
                                     std::filesystem::perms::owner_all);
        std::filesystem::create_symlink("../lib/vlt/VLT", dir.file(prefix + "/bin/vlt"));
        return dir.file(prefix + "/lib/vlt/VLT");
    }
    void installEntry(const std::string& exec) const {
        std::filesystem::create_directories(dir.file("prefix/share/applications"));
        test::writeFile(dir.file("prefix/share/applications/") + kDesktopFileName,
                        "[Desktop Entry]\nType=Application\nName=Orvelline Vaultwick\nExec=" +
                            exec + "\nMimeType=application/x-vlt-container;\n");
    }
    // The shipped entry with `exec` for its Exec value, in the data home under the installed
    // entry's name.
    std::string writeShippedEntry(const std::string& exec) const {
        std::string entry =
            test::readFile(std::string(VLT_SOURCE_DIR) + "/src/platform/xdg/" + kDesktopFileName);
        entry.replace(entry.find("Exec=VLT %f"), 11, "Exec=" + exec);
        std::filesystem::create_directories(dir.file("data/applications"));
        test::writeFile(userEntry(kDesktopFileName), entry);
        return entry;
    }
    // What versions before the user entry of its own name wrote there for `program`.
    std::string writeOldCopy(const std::string& program) const {
        return writeShippedEntry("\"" + program + "\" %f");
    }
    std::string mimeAppsWith(const std::string& opener) const {
        return "[Default Applications]\napplication/x-vlt-container=" + opener + ";\n";
    }

    test::TempDir dir;
    const std::string oldPath =
        std::getenv("PATH") != nullptr ? std::getenv("PATH") : "/usr/bin:/bin";
};

bool validates(const std::string& desktopFile) {
    const std::string command = "desktop-file-validate '" + desktopFile + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
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

    const std::string entry = test::readFile(userEntry());
    EXPECT_EQ(test::LineStarting(entry, "Exec="), "Exec=\"/opt/vlt/VLT\" %f");
    EXPECT_EQ(test::LineStarting(entry, "TryExec="), "TryExec=/opt/vlt/VLT");  // gone with it
    EXPECT_EQ(test::LineStarting(entry, "MimeType="), "MimeType=application/x-vlt-container;");
    EXPECT_EQ(test::LineStarting(entry, "Icon="), "Icon=orvelline-vaultwick");
    EXPECT_TRUE(validates(userEntry()));
    EXPECT_FALSE(std::filesystem::exists(userEntry(kDesktopFileName)));
    EXPECT_NE(test::readFile(mimePackage()).find("<glob pattern=\"*.vlt\"/>"), std::string::npos);
    EXPECT_TRUE(std::filesystem::file_size(
                    dir.file("data/icons/hicolor/16x16/apps/orvelline-vaultwick.png")) > 0);
    EXPECT_EQ(
        test::readFile(mimeApps()),
        "[Default Applications]\ntext/plain=editor.desktop;\n"
        "application/x-vlt-container=orvelline-vaultwick-user.desktop;\n[Added Associations]\n"
        "image/png=viewer.desktop;\n");
    // The MIME database built from the package maps the glob to the type.
    EXPECT_NE(
        test::readFile(dir.file("data/mime/globs2")).find("application/x-vlt-container:*.vlt"),
        std::string::npos);

    ASSERT_TRUE(ApplyFileAssociation(false, program));
    EXPECT_FALSE(test::IsFileAssociationApplied(program));
    EXPECT_FALSE(std::filesystem::exists(userEntry()));
    EXPECT_FALSE(std::filesystem::exists(mimePackage()));
    EXPECT_EQ(test::readFile(mimeApps()),
              "[Default Applications]\ntext/plain=editor.desktop;\n[Added Associations]\n"
              "image/png=viewer.desktop;\n");
}

TEST_F(FileAssociationTest, AnAwkwardProgramPathIsQuotedAndEscapedForTheExecLine) {
    ASSERT_TRUE(ApplyFileAssociation(true, "/home/a b/100%/V\"L$T"));
    EXPECT_EQ(test::LineStarting(test::readFile(userEntry()), "Exec="),
              R"(Exec="/home/a b/100%%/V\\"L\\$T" %f)");
    EXPECT_TRUE(validates(userEntry()));
    EXPECT_TRUE(test::IsFileAssociationApplied("/home/a b/100%/V\"L$T"));
    // Without a mimeapps.list one is made with the default group.
    EXPECT_EQ(test::readFile(mimeApps()), mimeAppsWith(kUserDesktopFileName));
}

// A per-user desktop file of the installed entry's name would shadow the package's entry and
// outlive the package as a dead menu item. Where the entry a desktop finds under that name
// starts this very program, it becomes the default; otherwise this program gets an entry of a
// name of its own. Either way the copy an earlier version wrote under the installed name for
// another program goes.
TEST_F(FileAssociationTest, AnInstalledEntryIsMadeTheDefaultOnlyWhenItStartsThisProgram) {
    const std::string program = installProgram("prefix");
    installEntry("vlt %f");
    writeOldCopy("/opt/old/VLT");

    ASSERT_TRUE(ApplyFileAssociation(true, program));
    EXPECT_TRUE(test::IsFileAssociationApplied(program));
    EXPECT_EQ(test::readFile(mimeApps()), mimeAppsWith(kDesktopFileName));
    EXPECT_EQ(test::filesIn(dir.file("data/applications")), 0u);
    ASSERT_TRUE(ApplyFileAssociation(false, program));
    EXPECT_FALSE(test::IsFileAssociationApplied(program));
    EXPECT_EQ(test::readFile(mimeApps()), "[Default Applications]\n");

    // A copy of the program elsewhere (a build folder) is not what the installed entry starts;
    // and a desktop file of the installed name that the user wrote is left alone.
    const std::string mine = "[Desktop Entry]\nType=Application\nName=Mine\nExec=vlt -x %f\n";
    test::writeFile(userEntry(kDesktopFileName), mine);
    const std::string build = installProgram("build");
    ASSERT_TRUE(ApplyFileAssociation(true, build));
    EXPECT_TRUE(test::IsFileAssociationApplied(build));
    EXPECT_EQ(test::readFile(mimeApps()), mimeAppsWith(kUserDesktopFileName));
    EXPECT_EQ(test::readFile(userEntry(kDesktopFileName)), mine);
    ASSERT_TRUE(ApplyFileAssociation(false, build));
    EXPECT_FALSE(std::filesystem::exists(userEntry()));
    EXPECT_EQ(test::readFile(userEntry(kDesktopFileName)), mine);
}

// Installed with the prefix ~/.local, the program's entry lies in the data home where earlier
// versions wrote their copies, and differs from the shipped entry only in its Exec line. It is
// the menu entry of the program: turning the association on and off leaves it in place. So
// does a copy of the earlier shape that starts this very program.
TEST_F(FileAssociationTest, ThePerUserInstallsEntryOutlivesTheAssociation) {
    const std::string program = installProgram("home/.local");
    ::setenv("PATH", (dir.file("home/.local/bin") + ":" + oldPath).c_str(), 1);
    const std::string installed = writeShippedEntry("vlt %f");

    ASSERT_TRUE(ApplyFileAssociation(true, program));
    EXPECT_TRUE(test::IsFileAssociationApplied(program));
    EXPECT_EQ(test::readFile(userEntry(kDesktopFileName)), installed);
    EXPECT_EQ(test::readFile(mimeApps()), mimeAppsWith(kDesktopFileName));
    EXPECT_FALSE(std::filesystem::exists(userEntry()));
    ASSERT_TRUE(ApplyFileAssociation(false, program));
    EXPECT_EQ(test::readFile(userEntry(kDesktopFileName)), installed);

    // Its bin folder not on the command path: the entry starts no program VLT can tell, and is
    // still no copy of its own to remove.
    ::setenv("PATH", oldPath.c_str(), 1);
    ASSERT_TRUE(ApplyFileAssociation(true, program));
    EXPECT_TRUE(test::IsFileAssociationApplied(program));
    EXPECT_EQ(test::readFile(mimeApps()), mimeAppsWith(kUserDesktopFileName));
    ASSERT_TRUE(ApplyFileAssociation(false, program));
    EXPECT_EQ(test::readFile(userEntry(kDesktopFileName)), installed);
    EXPECT_FALSE(std::filesystem::exists(userEntry()));

    const std::string copy = writeOldCopy(program);
    ASSERT_TRUE(ApplyFileAssociation(true, program));
    EXPECT_EQ(test::readFile(mimeApps()), mimeAppsWith(kDesktopFileName));
    ASSERT_TRUE(ApplyFileAssociation(false, program));
    EXPECT_EQ(test::readFile(userEntry(kDesktopFileName)), copy);
}

// The autostart entry and the file association are written by the same Apply: both must give
// the desktop back the very program path, whatever characters its folder holds.
TEST_F(FileAssociationTest, BothEntriesOfAnAwkwardProgramFolderValidateAndNameTheProgram) {
    const std::string program = "/opt/100% \"sure\" \\ $HOME/VLT";
    ASSERT_TRUE(ApplyFileAssociation(true, program));
    ASSERT_TRUE(SetAutostart(true, program));
    const std::pair<std::string, std::string> entries[] = {{userEntry(), " %f"},
                                                           {AutostartEntryPath(), " -tray"}};
    for (const auto& [file, arguments] : entries) {
        SCOPED_TRACE(file);
        EXPECT_TRUE(validates(file));
        const std::string exec = test::LineStarting(test::readFile(file), "Exec=").substr(5);
        EXPECT_EQ(test::ExecProgramOf(exec), program) << exec;
        EXPECT_EQ(DesktopExecProgram(exec), program) << exec;  // and so does our own reading
        EXPECT_TRUE(exec.ends_with(arguments)) << exec;
    }
}

TEST(ShippedDesktopEntry, Validates) {
    const std::string shipped =
        std::string(VLT_SOURCE_DIR) + "/src/platform/xdg/" + kDesktopFileName;
    EXPECT_TRUE(validates(shipped));
    const std::string entry = test::readFile(shipped);
    EXPECT_EQ(test::LineStarting(entry, "Exec="), "Exec=VLT %f");
    EXPECT_EQ(test::LineStarting(entry, "MimeType="), "MimeType=application/x-vlt-container;");
}

}  // namespace
}  // namespace vlt
