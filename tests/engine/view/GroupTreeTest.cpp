#include <gtest/gtest.h>

#include <limits>

#include "engine/view/GroupTree.h"

namespace vlt {
namespace {

RecordList<Group> groupsWithDepths(std::initializer_list<std::int32_t> depths) {
    RecordList<Group> groups;
    std::int32_t id = 100;
    for (std::int32_t depth : depths) {
        groups.append(Group{id++, depth, u"g", 0});
    }
    return groups;
}

// "level:parent" per tree item, the root item first.
std::vector<std::string> shapeOf(std::initializer_list<std::int32_t> depths) {
    std::vector<std::string> out;
    const auto shape = GroupTreeShape(groupsWithDepths(depths));
    for (std::size_t i = 0; i < shape.size(); ++i) {
        EXPECT_EQ(shape[i].item, static_cast<int>(i));
        out.push_back(std::to_string(shape[i].level) + ":" + std::to_string(shape[i].parentItem));
    }
    return out;
}

using Shape = std::vector<std::string>;

TEST(GroupTree, EmptyVaultHasOnlyTheRootItem) {
    EXPECT_EQ(shapeOf({}), (Shape{"0:-1"}));
}

TEST(GroupTree, NestedDepthsGiveLevelsAndParents) {
    // 1 A, 2 A/B, 3 A/B/C, 4 A/D, 5 E, 6 E/F, 7 G
    EXPECT_EQ(shapeOf({1, 2, 3, 2, 1, 2, 1}),
              (Shape{"0:-1", "1:0", "2:1", "3:2", "2:1", "1:0", "2:5", "1:0"}));
}

TEST(GroupTree, DroppingSeveralLevelsReturnsToTheAncestorAtThatLevel) {
    EXPECT_EQ(shapeOf({1, 2, 3, 4, 2, 3}),
              (Shape{"0:-1", "1:0", "2:1", "3:2", "4:3", "2:1", "3:5"}));
}

TEST(GroupTree, DepthNeverGoesMoreThanOneBelowTheItemAbove) {
    EXPECT_EQ(shapeOf({2}), (Shape{"0:-1", "1:0"}));
    EXPECT_EQ(shapeOf({1, 3, 5, 5}), (Shape{"0:-1", "1:0", "2:1", "3:2", "4:3"}));
    EXPECT_EQ(shapeOf({1, std::numeric_limits<std::int32_t>::max()}),
              (Shape{"0:-1", "1:0", "2:1"}));
}

TEST(GroupTree, ZeroOrNegativeDepthStaysBelowTheRootItem) {
    EXPECT_EQ(shapeOf({1, 2, 0, 2, std::numeric_limits<std::int32_t>::min()}),
              (Shape{"0:-1", "1:0", "2:1", "1:0", "2:3", "1:0"}));
}

TEST(GroupTree, VeryDeepNestingStopsAtTheDeepestShownLevel) {
    RecordList<Group> groups;
    for (int i = 0; i < 1000; ++i) {
        groups.append(Group{i + 1, i + 1, u"g", 0});
    }
    auto shape = GroupTreeShape(groups);
    EXPECT_EQ(shape[kMaxTreeLevel].level, kMaxTreeLevel);
    EXPECT_EQ(shape[1000].level, kMaxTreeLevel);
    EXPECT_EQ(shape[1000].parentItem, kMaxTreeLevel - 1);  // siblings below the last allowed parent
}

}  // namespace
}  // namespace vlt
