#include <gtest/gtest.h>

#include "engine/vault/RecordList.h"
#include "engine/vault/Vault.h"

namespace vlt {
namespace {

std::vector<int> values(RecordList<int>& list) {
    std::vector<int> out;
    list.reset();
    while (int* v = list.next()) {
        out.push_back(*v);
    }
    return out;
}

TEST(RecordList, CursorWalksFromBeforeFirstToNone) {
    RecordList<int> list;
    EXPECT_EQ(list.next(), nullptr);
    list.append(1);
    list.append(2);
    list.reset();
    EXPECT_EQ(list.index(), -1);
    EXPECT_EQ(*list.next(), 1);
    EXPECT_EQ(*list.next(), 2);
    EXPECT_EQ(list.next(), nullptr);
    EXPECT_EQ(list.next(), nullptr);
    EXPECT_EQ(list.index(), -1);
}

TEST(RecordList, AddAfterAndInsertBeforeFollowTheCursor) {
    RecordList<int> list;
    list.addAfter(1);      // [1], current 1
    list.addAfter(3);      // [1 3], current 3
    list.insertBefore(2);  // [1 2 3], current 2
    EXPECT_EQ(list.index(), 1);
    list.reset();
    list.addAfter(0);  // cursor before first: goes to the front
    EXPECT_EQ(values(list), (std::vector<int>{0, 1, 2, 3}));
    list.select(3);
    list.addAfter(4);
    EXPECT_EQ(list.index(), 4);
    EXPECT_EQ(values(list), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(RecordList, DeleteCurrentMakesThePreviousCurrent) {
    RecordList<int> list;
    for (int i = 0; i < 4; ++i) {
        list.append(i);
    }
    list.select(2);
    list.deleteCurrent();
    EXPECT_EQ(*list.current(), 1);
    list.select(0);
    list.deleteCurrent();
    EXPECT_EQ(list.current(), nullptr);
    EXPECT_EQ(*list.next(), 1);
    EXPECT_EQ(values(list), (std::vector<int>{1, 3}));
}

TEST(RecordList, SelectOutOfRangeKeepsTheCursor) {
    RecordList<int> list;
    list.append(5);
    list.append(6);
    list.select(1);
    EXPECT_EQ(list.select(2), nullptr);
    EXPECT_EQ(list.select(-1), nullptr);
    EXPECT_EQ(list.index(), 1);
}

TEST(RecordList, RecordsKeepTheirAddressWhenTheListGrows) {
    RecordList<Group> list;
    Group* first = &list.append(Group{1, 1, u"a", 0});
    for (int i = 0; i < 1000; ++i) {
        list.append(Group{i + 2, 1, u"x", 0});
    }
    EXPECT_EQ(first, &list.at(0));
    list.swap(0, 1000);
    EXPECT_EQ(first, &list.at(1000));
    EXPECT_EQ(list.at(0).ID, 1001);
}

TEST(RecordList, MoveFollowsTheElement) {
    RecordList<int> list;
    for (int i = 0; i < 5; ++i) {
        list.append(i);
    }
    list.move(4, 1);
    EXPECT_EQ(list.index(), 1);
    EXPECT_EQ(values(list), (std::vector<int>{0, 4, 1, 2, 3}));
}

TEST(RecordList, ReorderAtMovesOnlyThePickedPositions) {
    RecordList<Group> list;
    for (std::int32_t i = 0; i < 7; ++i) {
        list.append(Group{i, 0, u"", 0});
    }
    Group* third = &list.at(2);
    list.select(4);
    // Positions 0, 2, 4 and 6 receive what stood at 2, 6, 0 and 4.
    list.reorderAt({0, 2, 4, 6}, {1, 3, 0, 2});
    std::vector<int> ids;
    for (const Group& group : list) {
        ids.push_back(group.ID);
    }
    EXPECT_EQ(ids, (std::vector<int>{2, 1, 6, 3, 0, 5, 4}));
    EXPECT_EQ(&list.at(0), third);
    EXPECT_EQ(list.index(), -1);
}

TEST(RecordList, ReorderAtRejectsBadPositionsAndOrders) {
    RecordList<int> list;
    for (int i : {3, 2, 1}) {
        list.append(i);
    }
    for (const std::vector<int>& positions : {std::vector<int>{0, 3}, std::vector<int>{-1, 1},
                                              std::vector<int>{1, 0}, std::vector<int>{1, 1}}) {
        list.reorderAt(positions, {1, 0});
        EXPECT_EQ(values(list), (std::vector<int>{3, 2, 1}));
    }
    // An order that is not a permutation would lose a record.
    for (const std::vector<std::uint32_t>& order :
         {std::vector<std::uint32_t>{0, 0}, std::vector<std::uint32_t>{1, 2},
          std::vector<std::uint32_t>{0}}) {
        list.reorderAt({0, 2}, order);
        EXPECT_EQ(values(list), (std::vector<int>{3, 2, 1}));
    }
}

TEST(Vault, EmptyMeansNoGroupsAndNoEntries) {
    Vault vault;
    EXPECT_TRUE(vault.empty());
    vault.Entries.append(Entry{});
    EXPECT_FALSE(vault.empty());
    vault.clear();
    EXPECT_TRUE(vault.empty());
    EXPECT_EQ(vault.Entries.index(), -1);
}

}  // namespace
}  // namespace vlt
