// What the loader refuses of a plugin file before any of its code runs: a file cut short or
// built for another machine, access lists that let others write, links that others could
// replace; and which groups count as the owner's alone.
#include <elf.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "LoadTrace.h"
#include "PluginFolder.h"
#include "ScriptedDesktop.h"
#include "TraceCapture.h"
#include "common/Utf.h"
#include "engine/vault/ID.h"
#include "host/AccessList.h"
#include "host/PluginInstall.h"
#include "host/PluginList.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;
using test::kNotLoaded;
using test::lineAfterAttempt;
using test::PluginFolder;

constexpr uid_t kNobody = 65534;

// An access list as the kernel stores it: (tag, permissions, id) after the version.
std::string storedList(std::initializer_list<std::array<std::uint32_t, 3>> entries) {
    std::string out;
    const auto put = [&out](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
        }
    };
    put(2, 4);
    for (const auto& [tag, permissions, id] : entries) {
        put(tag, 2);
        put(permissions, 2);
        put(id, 4);
    }
    return out;
}

// rwx for the owner, r-x for the group and others, and `nobody` named with `named`, under
// `mask`: the list `setfacl -m u:nobody:<named>,m::<mask>` leaves.
std::string listNamingNobody(std::uint32_t named, std::uint32_t mask) {
    return storedList(
        {{0x01, 7, 0}, {0x02, named, kNobody}, {0x04, 5, 0}, {0x10, mask, 0}, {0x20, 5, 0}});
}

// False (the caller skips) where the file system keeps no access lists.
bool setList(const std::string& path, const std::string& stored) {
    if (::setxattr(path.c_str(), "system.posix_acl_access", stored.data(), stored.size(), 0) == 0) {
        return true;
    }
    EXPECT_TRUE(errno == ENOTSUP || errno == EOPNOTSUPP) << std::strerror(errno);
    return false;
}

class PluginFile : public ::testing::Test {
  protected:
    int load(const std::string& path) { return plugins.VLT_Plugin_Load(path); }
    std::string reason(const std::string& path) {
        const std::string line = lineAfterAttempt(trace.lines(), path);
        return line.rfind(kNotLoaded, 0) == 0 ? line.substr(kNotLoaded.size()) : "loaded: " + line;
    }
    // A copy of the whole plugin with only its first `bytes` kept.
    std::string cut(std::size_t bytes) {
        const std::string path = folder.file("cut" + std::to_string(bytes) + ".so");
        test::writeFile(path, original.substr(0, bytes));
        return path;
    }

    PluginFolder folder;
    const std::string original = test::readFile(folder.add("SignatureOnly", "whole.so"));
    IdRegistry ids;
    test::TraceCapture trace;
    PluginList plugins{ids, trace.log()};
};

// An interrupted copy leaves the first part of a library: mapped as it is, its missing end would
// fault the program at every start. It is refused, and the folder's other plugins load.
TEST_F(PluginFile, ALibraryCutShortIsRefusedAndTheRestLoad) {
    const std::vector<std::size_t> lengths = {3, 40, 1000, 4096, 10000, original.size() / 2};
    for (const std::size_t length : lengths) {
        ASSERT_LT(length, original.size());
        cut(length);
    }
    ASSERT_EQ(plugins.VLT_Plugin_LoadFolder(folder.path()), 0);
    ASSERT_EQ(plugins.VLT_Plugin_Count(), 1);
    EXPECT_EQ(plugins.records()[0].Path, folder.file("whole.so"));
    for (const std::size_t length : lengths) {
        EXPECT_EQ(reason(folder.file("cut" + std::to_string(length) + ".so")),
                  length < 4 ? "not an ELF shared library" : "the file is cut short")
            << length;
    }
}

TEST_F(PluginFile, ALibraryForAnotherMachineOrNoLibraryIsRefused) {
    const auto edited = [&](const std::string& name, std::size_t at, char value) {
        std::string bytes = original;
        bytes[at] = value;
        test::writeFile(folder.file(name), bytes);
        return folder.file(name);
    };
    const std::string otherClass = edited("class.so", EI_CLASS, ELFCLASS32);
    const std::string otherMachine =
        edited("machine.so", offsetof(Elf64_Ehdr, e_machine), static_cast<char>(EM_MIPS));
    const std::string program = edited("program.so", offsetof(Elf64_Ehdr, e_type), ET_EXEC);
    const std::string unresolved = folder.add("Unresolved");
    for (const std::string& path : {otherClass, otherMachine, program, unresolved}) {
        EXPECT_EQ(load(path), 0) << path;
    }
    EXPECT_EQ(reason(otherClass), "built for another kind of machine");
    EXPECT_EQ(reason(otherMachine), "built for another kind of machine");
    EXPECT_EQ(reason(program), "not an ELF shared library");
    // The loader's own reason names the file by its path, not by the descriptor it was read from.
    EXPECT_EQ(reason(unresolved), unresolved + ": undefined symbol: Test_DefinedNowhere");
}

// The plugin manager's install reads the file it tries and copies: a cut one goes nowhere.
TEST_F(PluginFile, InstallingACutLibraryCopiesNothing) {
    PluginFolder installed;
    test::ScriptedDesktop desktop;
    desktop.openFileAnswers.push_back(fromUtf8(cut(4096)));
    EXPECT_EQ(VLT_Plugin_Install(plugins, desktop, installed.path(), [] {}), 1);
    ASSERT_FALSE(desktop.messages.empty());
    EXPECT_EQ(desktop.messages.back().text,
              u"The file you have chosen is not a valid DLL. Installation aborted.");
    EXPECT_EQ(test::filesIn(installed.path()), 0u);
    EXPECT_EQ(plugins.VLT_Plugin_Count(), 0);
}

// With an access list the mode's group bits are its mask: a user named in it with write (in
// effect under the mask) can change a file whose mode shows only its owner able to.
TEST_F(PluginFile, AccessListsThatLetOthersWriteAreRefused) {
    const std::string writable = folder.add("SignatureOnly", "named.so");
    const std::string masked = folder.add("SignatureOnly", "masked.so");
    const std::string inside = folder.file("shared");
    fs::create_directory(inside);
    ASSERT_EQ(::chmod(inside.c_str(), 0755), 0);
    fs::copy_file(folder.file("whole.so"), inside + "/p.so");
    if (!setList(writable, listNamingNobody(7, 7)) || !setList(masked, listNamingNobody(7, 5)) ||
        !setList(inside, listNamingNobody(7, 7))) {
        GTEST_SKIP() << "this file system keeps no access lists";
    }
    EXPECT_EQ(load(writable), 0);
    EXPECT_EQ(load(inside + "/p.so"), 0);
    EXPECT_EQ(load(masked), 1);
    EXPECT_EQ(reason(writable), "writable by others");
    EXPECT_EQ(reason(inside + "/p.so"), "folder " + inside + " writable by others");
}

TEST(AccessList, ReadsWritersUnderTheMaskAndRejectsWhatIsNoList) {
    const auto writers = parseAccessList(storedList({{0x01, 7, 0},
                                                     {0x02, 6, 1001},
                                                     {0x02, 5, 1002},
                                                     {0x04, 6, 0},
                                                     {0x08, 7, 50},
                                                     {0x10, 7, 0},
                                                     {0x20, 4, 0}}));
    ASSERT_TRUE(writers);
    EXPECT_TRUE(writers->present);
    EXPECT_TRUE(writers->groupWrites);
    EXPECT_EQ(writers->users, std::vector<uid_t>{1001});
    EXPECT_EQ(writers->groups, std::vector<gid_t>{50});
    // The mask takes write away from every entry but the owner's, wherever it stands.
    const auto masked = parseAccessList(storedList({{0x08, 7, 50}, {0x04, 7, 0}, {0x10, 5, 0}}));
    ASSERT_TRUE(masked);
    EXPECT_FALSE(masked->groupWrites);
    EXPECT_TRUE(masked->groups.empty());
    EXPECT_FALSE(parseAccessList(""));
    std::string otherVersion = storedList({});
    otherVersion[0] = 1;
    EXPECT_FALSE(parseAccessList(otherVersion));
    EXPECT_FALSE(parseAccessList(storedList({{0x01, 7, 0}}) + "x"));  // a torn entry
    EXPECT_FALSE(parseAccessList(storedList({{0x40, 7, 0}})));        // an unknown tag
}

// Only what no one else may write can be trusted: a link in a folder others may write (sticky,
// as /tmp) owned by someone else could point elsewhere by the time it is followed.
TEST_F(PluginFile, LinksOthersCouldReplaceAreNotFollowed) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a link another owner";
    }
    const std::string sticky = folder.file("sticky");
    fs::create_directory(sticky);
    ASSERT_EQ(::chmod(sticky.c_str(), 01777), 0);
    fs::create_symlink(folder.file("whole.so"), sticky + "/theirs");
    fs::create_symlink(folder.file("whole.so"), sticky + "/ours");
    ASSERT_EQ(::lchown((sticky + "/theirs").c_str(), kNobody, kNobody), 0);
    fs::create_symlink(sticky + "/theirs", folder.file("race.so"));
    fs::create_symlink(sticky + "/ours", folder.file("fine.so"));
    // In a folder only its owner may write, who owns a link does not matter.
    fs::create_symlink(folder.file("whole.so"), folder.file("kept.so"));
    ASSERT_EQ(::lchown(folder.file("kept.so").c_str(), kNobody, kNobody), 0);

    EXPECT_EQ(load(folder.file("race.so")), 0);
    EXPECT_EQ(reason(folder.file("race.so")), "link " + sticky + "/theirs owned by another user");
    EXPECT_EQ(load(folder.file("fine.so")), 1);
    EXPECT_EQ(load(folder.file("kept.so")), 1);
}

// A group that no user but the owner is in, by membership or as primary group (such as an
// empty "staff"), is as safe as the owner's private group; one with another user is not.
TEST_F(PluginFile, AGroupNoOtherUserIsInMayWrite) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a file a group it is not in";
    }
    std::vector<gid_t> primary;
    ::setpwent();
    while (const struct passwd* user = ::getpwent()) {
        primary.push_back(user->pw_gid);
    }
    ::endpwent();
    gid_t empty = 0;
    ::setgrent();
    while (const struct group* group = ::getgrent()) {
        if (group->gr_gid != 0 && group->gr_mem[0] == nullptr &&
            std::find(primary.begin(), primary.end(), group->gr_gid) == primary.end()) {
            empty = group->gr_gid;
            break;
        }
    }
    ::endgrent();
    if (empty == 0) {
        GTEST_SKIP() << "no group without users on this system";
    }
    const std::string prefix = folder.file("prefix");
    fs::create_directory(prefix);
    fs::copy_file(folder.file("whole.so"), prefix + "/p.so");
    for (const std::string& path : {prefix, prefix + "/p.so"}) {
        ASSERT_EQ(::chown(path.c_str(), 0, empty), 0);
    }
    ASSERT_EQ(::chmod(prefix.c_str(), 02775), 0);
    ASSERT_EQ(::chmod((prefix + "/p.so").c_str(), 0664), 0);
    EXPECT_EQ(load(prefix + "/p.so"), 1) << reason(prefix + "/p.so");

    ASSERT_EQ(::chown((prefix + "/p.so").c_str(), 0, kNobody), 0);  // nobody's own group
    plugins.unload(0);
    EXPECT_EQ(load(prefix + "/p.so"), 0);
    EXPECT_EQ(reason(prefix + "/p.so"), "writable by others");
}

}  // namespace
}  // namespace vlt
