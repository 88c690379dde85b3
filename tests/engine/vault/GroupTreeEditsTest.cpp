#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "engine/vault/GroupTreeEdits.h"
#include "engine/view/GroupTree.h"

namespace vlt {
namespace {

// "Name:Depth" words, the group's ID being its position + 1 at the start.
RecordList<Group> tree(std::initializer_list<const char16_t*> layout) {
    RecordList<Group> groups;
    std::int32_t id = 1;
    for (std::u16string_view word : layout) {
        const auto colon = word.find(u':');
        groups.append(Group{id++, std::stoi(std::string(word.begin() + colon + 1, word.end())),
                            std::u16string(word.substr(0, colon)), 0});
    }
    return groups;
}

std::string layoutOf(const RecordList<Group>& groups) {
    std::string out;
    for (const Group& g : groups) {
        // Appended piece by piece: GCC 12 at -O3 warns a false -Wrestrict on "" + text.
        if (!out.empty()) {
            out += ' ';
        }
        out.append(g.Name.begin(), g.Name.end());
        out += ':';
        out += std::to_string(g.Depth);
    }
    return out;
}

TEST(GroupTreeEdits, NewGroupsBecomeTheLastChildOfTheSelectedItem) {
    const RecordList<Group> groups = tree({u"A:1", u"B:2", u"C:3", u"D:2", u"E:1"});
    for (int none : {-1, 0, 99}) {  // no selection, the root item, an item that has gone
        const GroupPlace place = NewGroupPlace(groups, none);
        EXPECT_EQ(place.index, 5) << none;
        EXPECT_EQ(place.depth, 1) << none;
    }
    const GroupPlace underA = NewGroupPlace(groups, 1);
    EXPECT_EQ(underA.index, 4);  // after D, A's last descendant
    EXPECT_EQ(underA.depth, 2);
    const GroupPlace underC = NewGroupPlace(groups, 3);
    EXPECT_EQ(underC.index, 3);
    EXPECT_EQ(underC.depth, 4);
}

TEST(GroupTreeEdits, UpAndDownSwapWholeSubtreesWithASibling) {
    RecordList<Group> groups = tree({u"P:1", u"Q:2", u"R:1", u"S:1", u"S1:2", u"S2:2", u"T:1"});
    // S with its two children goes above R, the moved group's new index is returned.
    EXPECT_EQ(MoveGroupUp(groups, 3), 2);
    EXPECT_EQ(layoutOf(groups), "P:1 Q:2 S:1 S1:2 S2:2 R:1 T:1");
    // Up again passes P's whole subtree.
    EXPECT_EQ(MoveGroupUp(groups, 2), 0);
    EXPECT_EQ(layoutOf(groups), "S:1 S1:2 S2:2 P:1 Q:2 R:1 T:1");
    // Down passes the next sibling's subtree and back to where it was.
    EXPECT_EQ(MoveGroupDown(groups, 0), 2);
    EXPECT_EQ(layoutOf(groups), "P:1 Q:2 S:1 S1:2 S2:2 R:1 T:1");
    // Among children.
    EXPECT_EQ(MoveGroupDown(groups, 3), 4);
    EXPECT_EQ(layoutOf(groups), "P:1 Q:2 S:1 S2:2 S1:2 R:1 T:1");
}

TEST(GroupTreeEdits, UpOfAFirstChildAndDownOfALastChildAreRefused) {
    RecordList<Group> groups = tree({u"A:1", u"B:2", u"C:3", u"D:2", u"E:1", u"F:2"});
    const std::string before = layoutOf(groups);
    EXPECT_EQ(MoveGroupUp(groups, 0), -1);    // first top-level group
    EXPECT_EQ(MoveGroupUp(groups, 1), -1);    // first child of A
    EXPECT_EQ(MoveGroupUp(groups, 2), -1);    // only child of B
    EXPECT_EQ(MoveGroupDown(groups, 3), -1);  // D ends A's subtree, E follows at a lower level
    EXPECT_EQ(MoveGroupDown(groups, 2), -1);  // C ends B's subtree
    EXPECT_EQ(MoveGroupDown(groups, 4), -1);  // E is the last top-level group (F is its child)
    EXPECT_EQ(MoveGroupDown(groups, 5), -1);  // the last group
    EXPECT_EQ(layoutOf(groups), before);
}

TEST(GroupTreeEdits, LeftRelevelsTheChildrenAndAdoptsTheFollowingSiblings) {
    RecordList<Group> groups = tree({u"X:1", u"G:2", u"A:3", u"B:4", u"C:3", u"S:2", u"Y:1"});
    EXPECT_EQ(MoveGroupLeft(groups, 1), 1);
    // G at level 1, A at 2, B and C at 3 (C now under A), S becomes G's child.
    EXPECT_EQ(layoutOf(groups), "X:1 G:1 A:2 B:3 C:3 S:2 Y:1");
    EXPECT_EQ(MoveGroupLeft(groups, 1), -1);  // top level
    EXPECT_EQ(layoutOf(groups), "X:1 G:1 A:2 B:3 C:3 S:2 Y:1");
}

TEST(GroupTreeEdits, RightMakesTheLastChildOfThePreviousSiblingAndNeedsOne) {
    RecordList<Group> groups = tree({u"P:1", u"P1:2", u"G:1", u"G1:2", u"H:1"});
    EXPECT_EQ(MoveGroupRight(groups, 0), -1);  // first top-level group
    EXPECT_EQ(MoveGroupRight(groups, 1), -1);  // first child of P
    EXPECT_EQ(MoveGroupRight(groups, 3), -1);  // first child of G
    EXPECT_EQ(layoutOf(groups), "P:1 P1:2 G:1 G1:2 H:1");
    // G becomes P's last child, after P1; its own child G1 becomes its sibling.
    EXPECT_EQ(MoveGroupRight(groups, 2), 2);
    EXPECT_EQ(layoutOf(groups), "P:1 P1:2 G:2 G1:2 H:1");
    // Now G's previous sibling is P1: right again puts it under P1.
    EXPECT_EQ(MoveGroupRight(groups, 2), 2);
    EXPECT_EQ(layoutOf(groups), "P:1 P1:2 G:3 G1:2 H:1");
    EXPECT_EQ(MoveGroupRight(groups, 2), -1);  // first child of P1 now
}

TEST(GroupTreeEdits, NamesCompareWithoutCaseAndOuterBlanks) {
    RecordList<Group> groups = tree({u"Web Mail:1", u"\u00C4rger:1"});
    EXPECT_TRUE(Group_Exists(groups, u"  web MAIL "));
    EXPECT_TRUE(Group_Exists(groups, u"\u00E4RGER"));
    EXPECT_FALSE(Group_Exists(groups, u"WebMail"));
    EXPECT_FALSE(Group_Exists(groups, u"\tWeb Mail"));  // only blanks are trimmed
    EXPECT_FALSE(Group_Exists(RecordList<Group>{}, u""));
}

TEST(GroupTreeEdits, DepthsAreNormalisedToTheLevelsShown) {
    RecordList<Group> groups = tree({u"A:0", u"B:5", u"C:-3", u"D:2", u"E:2"});
    EXPECT_TRUE(NormaliseDepths(groups));
    EXPECT_EQ(layoutOf(groups), "A:1 B:2 C:1 D:2 E:2");
    EXPECT_FALSE(NormaliseDepths(groups));
    EXPECT_EQ(SubtreeEnd(groups, 2), 5);
    EXPECT_EQ(SubtreeEnd(groups, 3), 4);
}

// Any sequence of moves on any tree keeps every group once, keeps every depth between 1 and one
// below the group above, leaves the tree one item per group plus the root item, and moves a
// group's subtree with it in one piece; a refused move changes nothing.
TEST(GroupTreeEdits, RandomMovesKeepTheTreeWhole) {
    std::mt19937 random(20261209);
    for (int round = 0; round < 200; ++round) {
        RecordList<Group> groups;
        const int count = 1 + static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i) {
            groups.append(Group{i + 1, static_cast<std::int32_t>(random() % 6) - 1, u"g", 0});
        }
        NormaliseDepths(groups);
        for (int step = 0; step < 40; ++step) {
            struct Snapshot {
                std::int32_t id;
                std::int32_t depth;
            };
            auto snapshot = [&] {
                std::vector<Snapshot> out;
                for (const Group& g : groups) {
                    out.push_back({g.ID, g.Depth});
                }
                return out;
            };
            const std::vector<Snapshot> before = snapshot();
            const int at = static_cast<int>(random() % static_cast<unsigned>(count));
            const int kind = static_cast<int>(random() % 4);
            const int end = SubtreeEnd(groups, at);
            const int result = kind == 0   ? MoveGroupUp(groups, at)
                               : kind == 1 ? MoveGroupDown(groups, at)
                               : kind == 2 ? MoveGroupLeft(groups, at)
                                           : MoveGroupRight(groups, at);
            const std::vector<Snapshot> after = snapshot();
            ASSERT_EQ(after.size(), before.size());
            ASSERT_EQ(GroupTreeShape(groups).size(), static_cast<std::size_t>(count) + 1);
            std::vector<std::int32_t> ids;
            for (const Snapshot& s : after) {
                ids.push_back(s.id);
            }
            std::sort(ids.begin(), ids.end());
            for (int i = 0; i < count; ++i) {
                ASSERT_EQ(ids[static_cast<std::size_t>(i)], i + 1);
            }
            for (std::size_t i = 0; i < after.size(); ++i) {
                ASSERT_GE(after[i].depth, 1);
                ASSERT_LE(after[i].depth, i == 0 ? 1 : after[i - 1].depth + 1);
            }
            if (result < 0) {
                for (std::size_t i = 0; i < after.size(); ++i) {
                    ASSERT_EQ(after[i].id, before[i].id);
                    ASSERT_EQ(after[i].depth, before[i].depth);
                }
                continue;
            }
            if (kind <= 1) {  // up and down carry the subtree unchanged
                for (int k = 0; k < end - at; ++k) {
                    const Snapshot& was = before[static_cast<std::size_t>(at + k)];
                    const Snapshot& is = after[static_cast<std::size_t>(result + k)];
                    ASSERT_EQ(is.id, was.id);
                    ASSERT_EQ(is.depth, was.depth);
                }
            } else {
                ASSERT_EQ(after[static_cast<std::size_t>(at)].id,
                          before[static_cast<std::size_t>(at)].id);
                ASSERT_EQ(after[static_cast<std::size_t>(at)].depth,
                          before[static_cast<std::size_t>(at)].depth + (kind == 2 ? -1 : 1));
            }
        }
    }
}

}  // namespace
}  // namespace vlt
