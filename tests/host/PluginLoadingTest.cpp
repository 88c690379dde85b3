// The plugin scan: which files become plugins, what the host reads from them, and what it traces.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "LoadTrace.h"
#include "PluginFolder.h"
#include "TraceCapture.h"
#include "engine/vault/ID.h"
#include "host/PluginList.h"

namespace vlt {
namespace {

using test::lineAfterAttempt;
using test::PluginFolder;
using test::stillLoaded;

TEST(PluginScan, AcceptsExactSignaturesOnlyAndClosesTheRest) {
    PluginFolder folder;
    folder.add("WaitingTool", "a_tool.so");
    folder.add("WaitingTool", "b_tool.so");  // the same plugin twice: both load
    const std::string bare = folder.add("SignatureOnly", "c_bare.so");
    const std::string blank = folder.add("SignatureBlank");
    const std::string lower = folder.add("SignatureLower");
    const std::string unsigned_ = folder.add("NoSignature");
    test::writeFile(folder.file("empty.so"), "");
    std::filesystem::create_directory(folder.file("folder.so"));
    folder.add("Previewer", "not_a_plugin.so.txt");
    // What is no file at all is attempted too, so that the trace says why it was not loaded.
    ASSERT_EQ(::mkfifo(folder.file("fifo.so").c_str(), 0600), 0);
    std::filesystem::create_symlink("loop.so", folder.file("loop.so"));
    std::filesystem::create_symlink("/dev/zero", folder.file("zero.so"));

    IdRegistry ids;
    test::TraceCapture trace;
    PluginList plugins(ids, trace.log());
    ASSERT_EQ(plugins.VLT_Plugin_LoadFolder(folder.path()), 0);  // no trailing separator

    ASSERT_EQ(plugins.VLT_Plugin_Count(), 3);
    ASSERT_EQ(plugins.VLT_Plugin_Next(), 1);
    EXPECT_EQ(plugins.VLT_Plugin_GetName(), u"Waiting tool");
    EXPECT_EQ(plugins.VLT_Plugin_GetVersion(), u"2.5");
    EXPECT_EQ(plugins.VLT_Plugin_GetAuthor(), u"Tests");
    const std::int32_t firstId = plugins.VLT_Plugin_GetID();
    ASSERT_EQ(plugins.VLT_Plugin_Next(), 1);
    EXPECT_EQ(plugins.VLT_Plugin_GetName(), u"Waiting tool");
    EXPECT_NE(plugins.VLT_Plugin_GetID(), firstId);
    ASSERT_EQ(plugins.VLT_Plugin_Next(), 1);
    // Nothing but a signature: empty texts, no icon, a tool, never launched.
    EXPECT_EQ(plugins.VLT_Plugin_GetName(), u"");
    EXPECT_EQ(plugins.VLT_Plugin_GetDescription(), u"");
    EXPECT_EQ(plugins.VLT_Plugin_GetIcon(), 0);
    EXPECT_EQ(plugins.VLT_Plugin_GetType(), 0);
    EXPECT_EQ(plugins.VLT_Plugin_GetThread(), -1);
    EXPECT_NE(plugins.VLT_Plugin_GetHandle(), nullptr);
    EXPECT_EQ(plugins.VLT_Plugin_Next(), 0);
    EXPECT_EQ(plugins.VLT_Plugin_GetCurrent(), -1);

    for (const VLTPlg& p : plugins.records()) {
        EXPECT_EQ(ids.ID_Exists(p.ID), 1);
    }
    EXPECT_TRUE(stillLoaded(bare));
    EXPECT_FALSE(stillLoaded(blank));
    EXPECT_FALSE(stillLoaded(lower));
    EXPECT_FALSE(stillLoaded(unsigned_));

    // Each refused file says why, dlopen's own words included.
    const std::string lines = trace.lines();
    const std::string& notLoaded = test::kNotLoaded;
    EXPECT_EQ(lineAfterAttempt(lines, folder.file("empty.so")),
              notLoaded + "not an ELF shared library");
    EXPECT_EQ(lineAfterAttempt(lines, blank), notLoaded + "its signature is not VLTPlugin_v4.0");
    EXPECT_EQ(lineAfterAttempt(lines, lower), notLoaded + "its signature is not VLTPlugin_v4.0");
    EXPECT_EQ(lineAfterAttempt(lines, unsigned_),
              notLoaded + "it does not export Plugin_GetSignature");
    for (const char* special : {"folder.so", "fifo.so", "zero.so"}) {
        EXPECT_EQ(lineAfterAttempt(lines, folder.file(special)), notLoaded + "not a regular file");
    }
    EXPECT_EQ(lineAfterAttempt(lines, folder.file("loop.so")),
              notLoaded + "Too many levels of symbolic links");
    const std::string bareTrace =
        "VLT_Plugin_Load() -> Trying to load plugin: " + bare + "\n" +
        "VLT_Plugin_Load() -> VLTPlg()\\ID: " + std::to_string(plugins.records()[2].ID) + "\n" +
        "VLT_Plugin_Load() -> VLTPlg()\\MD5: ";
    const std::size_t at = lines.find(bareTrace);
    ASSERT_NE(at, std::string::npos) << lines;
    EXPECT_EQ(lines.find('\n', at + bareTrace.size()), at + bareTrace.size() + 32);  // an MD5
}

// Only its owner may be able to change a plugin: the file, and every folder a name of its path is
// looked up in, links followed. A folder with the sticky bit (such as /tmp) lets others add
// names but not replace ours.
TEST(PluginScan, RefusesFilesOthersCouldHaveWritten) {
    namespace fs = std::filesystem;
    PluginFolder folder;
    const std::string shared = folder.add("SignatureOnly", "shared.so");
    ASSERT_EQ(::chmod(shared.c_str(), 0666), 0);
    // Writable by a group: refused unless the group is the owner's own (root's, here); only
    // root can give a file a group of someone else's.
    const bool root = ::geteuid() == 0;
    const std::string group = folder.add("SignatureOnly", "group.so");
    ASSERT_EQ(::chmod(group.c_str(), 0664), 0);
    const std::string ownGroup = folder.add("SignatureOnly", "ownGroup.so");
    ASSERT_EQ(::chmod(ownGroup.c_str(), 0664), 0);
    const std::string foreign = folder.add("SignatureOnly", "foreign.so");
    if (root) {
        ASSERT_EQ(::chown(group.c_str(), 0, 65534), 0);
        ASSERT_EQ(::chown(ownGroup.c_str(), 0, 0), 0);
        ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
    }
    fs::create_directory(folder.file("folder.so"));
    // Folders: open to all, open to the group, open to all but sticky, and another user's.
    const auto subfolder = [&](const std::string& name, mode_t mode) {
        const std::string path = folder.file(name);
        fs::create_directory(path);
        fs::copy_file(folder.file("group.so"), path + "/p.so");
        EXPECT_EQ(::chmod((path + "/p.so").c_str(), 0644), 0);
        EXPECT_EQ(::chmod(path.c_str(), mode), 0);
        return path;
    };
    const std::string open = subfolder("open", 0777);
    const std::string groupOpen = subfolder("groupOpen", 0775);
    const std::string sticky = subfolder("sticky", 01777);
    const std::string good = subfolder("good", 0755);
    const std::string other = subfolder("other", 0755);
    const std::string groupOwn = subfolder("groupOwn", 0775);
    if (root) {
        ASSERT_EQ(::chown(other.c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chown(groupOpen.c_str(), 0, 65534), 0);
        ASSERT_EQ(::chown(groupOwn.c_str(), 0, 0), 0);
    }
    // "Plugins" as a link to the open folder; a link inside the open folder to a good one.
    fs::create_symlink(open, folder.file("Plugins"));
    fs::create_symlink(good, open + "/link");

    IdRegistry ids;
    test::TraceCapture trace;
    PluginList plugins(ids, trace.log());
    EXPECT_EQ(plugins.VLT_Plugin_Load(shared), 0);
    if (root) {
        EXPECT_EQ(plugins.VLT_Plugin_Load(group), 0);
        EXPECT_EQ(plugins.VLT_Plugin_Load(groupOpen + "/p.so"), 0);
        EXPECT_EQ(plugins.VLT_Plugin_Load(foreign), 0);
        EXPECT_EQ(plugins.VLT_Plugin_Load(other + "/p.so"), 0);
    }
    EXPECT_EQ(plugins.VLT_Plugin_Load(folder.file("missing.so")), 0);
    EXPECT_EQ(plugins.VLT_Plugin_Load(folder.file("folder.so")), 0);
    for (const std::string& path :
         {open + "/p.so", folder.file("Plugins/p.so"), open + "/link/p.so"}) {
        EXPECT_EQ(plugins.VLT_Plugin_Load(path), 0) << path;
    }
    EXPECT_EQ(plugins.VLT_Plugin_Count(), 0);
    EXPECT_FALSE(stillLoaded(shared));
    EXPECT_EQ(plugins.VLT_Plugin_Load(sticky + "/p.so"), 1);
    EXPECT_EQ(plugins.VLT_Plugin_Load(good + "/p.so"), 1);
    if (root) {
        EXPECT_EQ(plugins.VLT_Plugin_Load(ownGroup), 1);
        EXPECT_EQ(plugins.VLT_Plugin_Load(groupOwn + "/p.so"), 1);
    }

    const std::string lines = trace.lines();
    const std::string& notLoaded = test::kNotLoaded;
    EXPECT_EQ(lineAfterAttempt(lines, shared), notLoaded + "writable by others");
    if (root) {
        EXPECT_EQ(lineAfterAttempt(lines, group), notLoaded + "writable by others");
        EXPECT_EQ(lineAfterAttempt(lines, groupOpen + "/p.so"),
                  notLoaded + "folder " + groupOpen + " writable by others");
        EXPECT_EQ(lineAfterAttempt(lines, foreign), notLoaded + "owned by another user");
        EXPECT_EQ(lineAfterAttempt(lines, other + "/p.so"),
                  notLoaded + "folder " + other + " owned by another user");
    }
    EXPECT_EQ(lineAfterAttempt(lines, folder.file("missing.so")),
              notLoaded + "No such file or directory");
    EXPECT_EQ(lineAfterAttempt(lines, folder.file("folder.so")), notLoaded + "not a regular file");
    const std::string openFolder = notLoaded + "folder " + open + " writable by others";
    EXPECT_EQ(lineAfterAttempt(lines, open + "/p.so"), openFolder);
    EXPECT_EQ(lineAfterAttempt(lines, folder.file("Plugins/p.so")), openFolder);
    EXPECT_EQ(lineAfterAttempt(lines, open + "/link/p.so"), openFolder);
}

TEST(PluginList, CursorAndPreviewerCount) {
    PluginFolder folder;
    IdRegistry ids;
    TraceLog log;
    PluginList plugins(ids, log);
    EXPECT_EQ(plugins.VLT_Plugin_CountPreviewers(), 0);
    ASSERT_EQ(plugins.VLT_Plugin_Load(folder.add("Previewer")), 1);
    EXPECT_EQ(plugins.VLT_Plugin_GetCurrent(), 0);  // the new record is current
    ASSERT_EQ(plugins.VLT_Plugin_Load(folder.add("NoEntryTool")), 1);
    EXPECT_EQ(plugins.VLT_Plugin_GetCurrent(), 1);
    EXPECT_EQ(plugins.VLT_Plugin_CountPreviewers(), 1);

    EXPECT_EQ(plugins.VLT_Plugin_Select(0), 1);
    EXPECT_EQ(plugins.VLT_Plugin_GetType(), 3);
    EXPECT_EQ(plugins.VLT_Plugin_Select(-1), 1);
    EXPECT_EQ(plugins.VLT_Plugin_GetCurrent(), 0);
    EXPECT_EQ(plugins.VLT_Plugin_SetThread(7), 0);
    EXPECT_EQ(plugins.VLT_Plugin_GetThread(), 7);
    EXPECT_EQ(plugins.VLT_Plugin_Count(), 2);
    EXPECT_EQ(plugins.VLT_Plugin_GetCurrent(), -1);
    EXPECT_EQ(plugins.VLT_Plugin_GetName(), u"");
}

}  // namespace
}  // namespace vlt
