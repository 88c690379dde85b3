#include <gtest/gtest.h>

#include "engine/text/LinkFinder.h"

namespace vlt {
namespace {

TEST(LinkFinder, FindsAddressesAndDropsSentencePunctuation) {
    auto links = FindLinks(u"See https://bank.example/a?b=1. Or www.site.org, mail mailto:a@b.c!");
    ASSERT_EQ(links.size(), 3u);
    EXPECT_TRUE(links[0].url == u"https://bank.example/a?b=1");
    EXPECT_EQ(links[0].start, 4u);
    EXPECT_TRUE(links[1].url == u"http://www.site.org");
    EXPECT_EQ(links[1].length, 12u);
    EXPECT_TRUE(links[2].url == u"mailto:a@b.c");
}

TEST(LinkFinder, IgnoresBarePrefixesAndWordsThatMerelyContainThem) {
    EXPECT_TRUE(FindLinks(u"http:// alone").empty());
    EXPECT_TRUE(FindLinks(u"awww.example is no link").empty());
    EXPECT_TRUE(FindLinks(u"").empty());
    auto links = FindLinks(u"HTTP://UPPER.example\r\nftp://files.example/x");
    ASSERT_EQ(links.size(), 2u);
    EXPECT_TRUE(links[1].url == u"ftp://files.example/x");
}

TEST(LinkFinder, OnlyWebAndMailSchemesAreOpened) {
    EXPECT_TRUE(IsOpenableUrl(u"https://x"));
    EXPECT_TRUE(IsOpenableUrl(u"MAILTO:me@x"));
    EXPECT_FALSE(IsOpenableUrl(u"file:///etc/passwd"));
    EXPECT_FALSE(IsOpenableUrl(u"javascript:alert(1)"));
    EXPECT_FALSE(IsOpenableUrl(u"http://"));
}

}  // namespace
}  // namespace vlt
