#include <gtest/gtest.h>

#include "ScriptedDesktop.h"
#include "engine/vault/Engine.h"
#include "engine/view/OpenLink.h"

namespace vlt {
namespace {

TEST(OpenLink, OnlyAYesHandsOverAndOnlyWebAndMailAddresses) {
    test::ScriptedDesktop desktop;
    Engine engine{desktop};
    EXPECT_EQ(OpenLink(engine, u"", u"https://a.example"), 0);
    EXPECT_TRUE(desktop.messages.empty());

    desktop.yesNoAnswers = {false, true, true};
    EXPECT_EQ(OpenLink(engine, u"www.a.example", u"http://www.a.example"), 0);
    EXPECT_TRUE(desktop.lastMessage()->text ==
                u"Would you like to open the link below in the default browser window?\r\n\r\n"
                u"\"www.a.example\"");
    EXPECT_EQ(OpenLink(engine, u"x", u"javascript:alert(1)"), 0);
    EXPECT_EQ(OpenLink(engine, u"mail", u"mailto:me@a.example"), 1);
    EXPECT_EQ(desktop.openedUrls, std::vector<std::u16string>{u"mailto:me@a.example"});
    EXPECT_EQ(desktop.messages.size(), 3u);
}

}  // namespace
}  // namespace vlt
