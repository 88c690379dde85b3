#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/IniLines.h"

namespace vlt {
namespace {

using Syntax = IniSyntax;

template <typename Char>
std::vector<std::basic_string<Char>> partsOf(const std::vector<IniLine<Char>>& lines, bool ends) {
    std::vector<std::basic_string<Char>> out;
    for (const IniLine<Char>& line : lines) {
        out.emplace_back(ends ? line.end : line.text);
    }
    return out;
}

// Readers that write a value over several lines need each line's own end and place back.
TEST(IniLines, LinesKeepTheirOwnEndsAndPlaces) {
    const std::u16string_view text = u"a\r\nb\rc\n\nd";
    const auto any = readIniLines(text, Syntax{Syntax::LineEnds::CrOrLf});
    EXPECT_EQ(partsOf(any, false), (std::vector<std::u16string>{u"a", u"b", u"c", u"", u"d"}));
    EXPECT_EQ(partsOf(any, true), (std::vector<std::u16string>{u"\r\n", u"\r", u"\n", u"\n", u""}));
    EXPECT_EQ(any[2].offset, 5u);

    // Only LF ends a line there; a CR before it, or at the very end, goes with the line end.
    const auto lf = readIniLines(std::string_view("a\r\nb\rc\n\nd\r"), Syntax{});
    EXPECT_EQ(partsOf(lf, false), (std::vector<std::string>{"a", "b\rc", "", "d"}));
    EXPECT_EQ(partsOf(lf, true), (std::vector<std::string>{"\r\n", "\n", "\n", "\r"}));
    EXPECT_TRUE(readIniLines(std::string_view(), Syntax{}).empty());
}

TEST(IniLines, SectionLinesNeedTheirCloseAsAsked) {
    const std::string_view text = " [ 12 ] tail\n[12\n\t[a]\t\n";
    const auto kinds = [&](Syntax::SectionClose close) {
        std::vector<IniLineKind> out;
        for (const auto& line : readIniLines(text, Syntax{Syntax::LineEnds::Lf, close})) {
            out.push_back(line.kind);
        }
        return out;
    };
    using K = IniLineKind;
    EXPECT_EQ(kinds(Syntax::SectionClose::None), (std::vector{K::Section, K::Section, K::Section}));
    EXPECT_EQ(kinds(Syntax::SectionClose::Anywhere),
              (std::vector{K::Section, K::Other, K::Section}));
    EXPECT_EQ(kinds(Syntax::SectionClose::AtLineEnd),
              (std::vector{K::Other, K::Other, K::Section}));
    const auto lines = readIniLines(text, Syntax{Syntax::LineEnds::Lf, Syntax::SectionClose::None});
    EXPECT_EQ(lines[0].name, "12");
    EXPECT_EQ(lines[1].name, "12");
}

TEST(IniLines, EntriesNeedAKeyAndKeepTheirValueAsWritten) {
    const auto lines = readIniLines(u" \tKey\t= a = b \t\n=v\n ; k = v\n \t\nplain\n", Syntax{});
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].kind, IniLineKind::Entry);
    EXPECT_EQ(lines[0].name, u"Key");
    EXPECT_EQ(lines[0].value, u" a = b \t");
    EXPECT_EQ(lines[1].kind, IniLineKind::Other);
    EXPECT_EQ(lines[2].kind, IniLineKind::Comment);
    EXPECT_EQ(lines[3].kind, IniLineKind::Blank);
    EXPECT_EQ(lines[4].kind, IniLineKind::Other);
}

}  // namespace
}  // namespace vlt
