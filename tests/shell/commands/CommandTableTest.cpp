// The command table: which numbers run the same action, what the numbered ranges run, and the
// numbers nothing is bound to.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <vector>

#include "engine/settings/Settings.h"
#include "shell/commands/CommandTable.h"

namespace vlt {

void PrintTo(const ActionCall& call, std::ostream* out) {
    *out << "action " << static_cast<int>(call.action) << " on " << call.argument;
}

namespace {

ActionCall callOf(int number) {
    return ActionOf(Command{number});
}

// The numbers the menu, the popups, the toolbar and the tray give one action, as the product
// documents them; every number of the table is in exactly one group.
const std::vector<std::vector<int>>& handlerGroups() {
    // 107, 108, 109 and 111 are the drop-down buttons: their popups carry the commands.
    // clang-format off
    static const std::vector<std::vector<int>> groups = {
        {0, 4, 104}, {1, 105}, {2, 106}, {3}, {5}, {8, 112}, {9}, {10, 115, 126}, {11, 70, 127},
        {12, 71, 129}, {13, 72}, {14, 82, 128}, {15, 83, 130}, {16, 84}, {17, 85}, {18, 137},
        {19, 87, 138}, {20, 88, 139}, {21, 89, 140}, {22, 90, 141}, {23}, {24}, {25}, {26},
        {27, 91}, {28, 92}, {29, 86}, {30, 73, 131}, {31, 74, 132}, {32, 75, 133}, {33, 76, 134},
        {34, 93, 135}, {35, 94, 136}, {36}, {37}, {38}, {39}, {40}, {41}, {42, 95}, {43, 96},
        {44, 97}, {45, 98}, {46, 99}, {47, 100}, {48, 101}, {49, 102}, {50, 103}, {51}, {52},
        {53}, {54}, {55}, {56}, {57}, {58}, {59}, {60}, {61}, {62}, {63}, {64}, {65, 110}, {66},
        {67, 113}, {68}, {69, 114}, {77}, {78}, {125}, {107, 108, 109, 111}, {116}, {117}, {118},
        {119}, {120}, {121}, {122}, {123}, {124}};
    // clang-format on
    return groups;
}

TEST(CommandTable, NumbersOfOneHandlerRunOneActionAndNoOtherNumberRunsIt) {
    std::set<int> grouped;
    std::vector<ActionCall> seen;
    for (const std::vector<int>& group : handlerGroups()) {
        const ActionCall call = callOf(group.front());
        EXPECT_NE(call.action, Action::None) << group.front();
        for (int number : group) {
            EXPECT_EQ(callOf(number), call)
                << number << " runs another action than " << group.front();
            EXPECT_TRUE(grouped.insert(number).second) << number;
        }
        for (const ActionCall& other : seen) {
            EXPECT_FALSE(other == call) << group.front() << " runs the action of another group";
        }
        seen.push_back(call);
    }
    std::set<int> rows;
    for (const CommandRow& row : CommandRows()) {
        rows.insert(CommandNumber(row.command));
    }
    EXPECT_EQ(rows, grouped);
}

TEST(CommandTable, RangesRunTheirColumnFieldOrPlace) {
    for (int k = 0; k < kColumnCount; ++k) {
        EXPECT_EQ(callOf(42 + k), (ActionCall{Action::ToggleColumn, k})) << k;
        EXPECT_EQ(callOf(95 + k), (ActionCall{Action::ToggleColumn, k})) << k;
        EXPECT_EQ(callOf(55 + k), (ActionCall{Action::SortByColumn, k})) << k;
    }
    for (int field = 0; field < 9; ++field) {
        EXPECT_EQ(callOf(18 + field), (ActionCall{Action::CopyField, field})) << field;
    }
    for (int field = 0; field < 4; ++field) {
        EXPECT_EQ(callOf(38 + field), (ActionCall{Action::ToggleMask, field})) << field;
    }
    EXPECT_EQ(callOf(51), (ActionCall{Action::SetViewFilter, 0}));
    EXPECT_EQ(callOf(52), (ActionCall{Action::SetViewFilter, 1}));
    for (int place = 0; place < 10; ++place) {
        EXPECT_EQ(callOf(300 + place), (ActionCall{Action::OpenRecentFile, place})) << place;
    }
    EXPECT_EQ(callOf(400), (ActionCall{Action::RunPlugin, 0}));
    EXPECT_EQ(callOf(437), (ActionCall{Action::RunPlugin, 37}));
    // Numbers nothing is bound to, including the one past the recent files.
    for (int number : {-1, 6, 7, 79, 80, 81, 142, 299, 310, 399}) {
        EXPECT_EQ(callOf(number).action, Action::None) << number;
        EXPECT_FALSE(IsAvailable(Command{number})) << number;
    }
}

}  // namespace
}  // namespace vlt
