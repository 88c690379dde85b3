// The plugin scan: which files become plugins, what the host reads from them, and what it traces.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "PluginFolder.h"
#include "TraceCapture.h"
#include "engine/vault/ID.h"
#include "host/PluginList.h"

namespace vlt {
namespace {

using test::PluginFolder;

bool stillLoaded(const std::string& path) {
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr) {
        ::dlclose(handle);
    }
    return handle != nullptr;
}

// The trace line that follows the attempt to load `path`.
std::string lineAfterAttempt(const std::string& lines, const std::string& path) {
    const std::string attempt = "VLT_Plugin_Load() -> Trying to load plugin: " + path + "\n";
    const std::size_t at = lines.find(attempt);
    if (at == std::string::npos) {
        return "(no attempt)";
    }
    const std::size_t from = at + attempt.size();
    return lines.substr(from, lines.find('\n', from) - from);
}

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
    const std::string notLoaded = "VLT_Plugin_Load() -> Plugin not loaded: ";
    EXPECT_EQ(lineAfterAttempt(lines, folder.file("empty.so")),
              notLoaded + folder.file("empty.so") + ": file too short");
    EXPECT_EQ(lineAfterAttempt(lines, blank), notLoaded + "its signature is not VLTPlugin_v4.0");
    EXPECT_EQ(lineAfterAttempt(lines, lower), notLoaded + "its signature is not VLTPlugin_v4.0");
    EXPECT_EQ(lineAfterAttempt(lines, unsigned_),
              notLoaded + "it does not export Plugin_GetSignature");
    const std::string bareTrace =
        "VLT_Plugin_Load() -> Trying to load plugin: " + bare + "\n" +
        "VLT_Plugin_Load() -> VLTPlg()\\ID: " + std::to_string(plugins.records()[2].ID) + "\n" +
        "VLT_Plugin_Load() -> VLTPlg()\\MD5: ";
    const std::size_t at = lines.find(bareTrace);
    ASSERT_NE(at, std::string::npos) << lines;
    EXPECT_EQ(lines.find('\n', at + bareTrace.size()), at + bareTrace.size() + 32);  // an MD5
}

TEST(PluginScan, RefusesFilesOthersCouldHaveWritten) {
    PluginFolder folder;
    const std::string shared = folder.add("SignatureOnly", "shared.so");
    ASSERT_EQ(::chmod(shared.c_str(), 0666), 0);
    const std::string foreign = folder.add("SignatureOnly", "foreign.so");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
    }
    std::filesystem::create_directory(folder.file("folder.so"));
    IdRegistry ids;
    test::TraceCapture trace;
    PluginList plugins(ids, trace.log());
    EXPECT_EQ(plugins.VLT_Plugin_Load(shared), 0);
    if (::geteuid() == 0) {
        EXPECT_EQ(plugins.VLT_Plugin_Load(foreign), 0);
    }
    EXPECT_EQ(plugins.VLT_Plugin_Load(folder.file("missing.so")), 0);
    EXPECT_EQ(plugins.VLT_Plugin_Load(folder.file("folder.so")), 0);
    EXPECT_EQ(plugins.VLT_Plugin_Count(), 0);
    EXPECT_FALSE(stillLoaded(shared));

    const std::string lines = trace.lines();
    const std::string notLoaded = "VLT_Plugin_Load() -> Plugin not loaded: ";
    EXPECT_EQ(lineAfterAttempt(lines, shared), notLoaded + "writable by others");
    if (::geteuid() == 0) {
        EXPECT_EQ(lineAfterAttempt(lines, foreign), notLoaded + "owned by another user");
    }
    EXPECT_EQ(lineAfterAttempt(lines, folder.file("missing.so")),
              notLoaded + "No such file or directory");
    EXPECT_EQ(lineAfterAttempt(lines, folder.file("folder.so")), notLoaded + "not a regular file");
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
