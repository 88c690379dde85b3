// The preview popup: which loaded previewers offer an attachment, and the launch of one.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "PluginFolder.h"
#include "ScriptedDesktop.h"
#include "engine/log/Logging.h"
#include "engine/vault/ID.h"
#include "engine/vault/Vault.h"
#include "host/PluginList.h"
#include "host/PreviewMenu.h"

namespace vlt {
namespace {

Attachment named(std::int32_t id, std::u16string name, const std::string& bytes = "x") {
    Attachment a;
    a.ID = id;
    a.FileName = std::move(name);
    a.Size = static_cast<std::int32_t>(bytes.size());
    a.Data = SecureBuffer(bytes.data(), bytes.size());
    return a;
}

TEST(PreviewMenu, PreviewersAreOfferedByTheirExtensionListAndGetTheirOwnCopy) {
    test::PluginFolder folder;
    IdRegistry ids;
    TraceLog log;
    PluginList plugins(ids, log);
    test::ScriptedDesktop desktop;

    EXPECT_TRUE(BuildPreviewMenu(plugins, desktop, named(1, u"a.txt")).empty());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text,
              u"The attachment you selected cannot be previewed because VLT could not find any "
              u"preview plugins installed.");

    ASSERT_EQ(plugins.VLT_Plugin_Load(folder.add("Previewer")), 1);      // knows no extensions
    ASSERT_EQ(plugins.VLT_Plugin_Load(folder.add("TextPreviewer")), 1);  // "txt, log,"
    plugins.VLT_Plugin_Select(0);
    const std::vector<PreviewMenuItem> menu =
        BuildPreviewMenu(plugins, desktop, named(7, u"notes.LOG"));
    ASSERT_EQ(menu.size(), 1u);
    EXPECT_EQ(menu[0].Name, u"Text preview");
    EXPECT_EQ(menu[0].MenuID, 200);
    EXPECT_EQ(menu[0].AttachmentID, 7);
    EXPECT_EQ(desktop.messages.back().text,
              u"The 'Plugin_GetKnownExtensionList' function could not be found in the 'Probe "
              u"preview' plugin.");
    EXPECT_EQ(plugins.VLT_Plugin_GetCurrent(), 0);  // the cursor is kept
    EXPECT_TRUE(BuildPreviewMenu(plugins, desktop, named(8, u"picture.png")).empty());
    EXPECT_EQ(BuildPreviewMenu(plugins, desktop, named(9, u"README")).size(), 1u);

    // The previewer reads a copy: the attachment may go the moment it is started.
    Vault vault;
    const std::string content("line\0two", 8);
    vault.Attachments.append(named(7, u"notes.LOG", content));
    LaunchPreviewMenuItem(plugins, desktop, vault, menu[0]);
    vault.Attachments.clear();
    plugins.VLT_Plugin_Select(1);
    plugins.threads().waitFor(plugins.VLT_Plugin_GetThread());
    using Seen = std::int32_t (*)(const std::uint8_t**);
    auto seen = reinterpret_cast<Seen>(::dlsym(plugins.VLT_Plugin_GetHandle(), "Test_Seen"));
    ASSERT_NE(seen, nullptr);
    const std::uint8_t* data = nullptr;
    ASSERT_EQ(seen(&data), 8);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), 8), content);
}

}  // namespace
}  // namespace vlt
