#include <gtest/gtest.h>

#include <deque>

#include "engine/vault/ID.h"

namespace vlt {
namespace {

// A generator that plays back a fixed sequence, then repeats its last value.
NumberSource sequence(std::deque<std::int64_t> values) {
    auto state = std::make_shared<std::deque<std::int64_t>>(std::move(values));
    return [state](std::int64_t max) {
        EXPECT_EQ(max, IdRegistry::kMaxId);
        std::int64_t v = state->front();
        if (state->size() > 1) {
            state->pop_front();
        }
        return v;
    };
}

TEST(IdRegistry, RegisteringTwiceKeepsOneElement) {
    IdRegistry ids(sequence({1}));
    EXPECT_EQ(ids.RegisterID(42), 0);
    ids.RegisterID(42);
    EXPECT_EQ(ids.count(), 1u);
    EXPECT_EQ(ids.ID_Exists(42), 1);
    EXPECT_EQ(ids.ID_Free(42), 1);
    EXPECT_EQ(ids.ID_Exists(42), 0);
}

TEST(IdRegistry, NewIdsSkipTakenValuesAndZero) {
    IdRegistry ids(sequence({7, 0, 7, 0, 8}));
    ids.RegisterID(7);
    EXPECT_EQ(ids.ID_New(), 8);
    EXPECT_EQ(ids.ids(), (std::vector<std::int32_t>{7, 8}));
}

TEST(IdRegistry, NewIdsNeverCollideWithPluginIds) {
    IdRegistry ids;
    std::int32_t plugin = ids.ID_New();
    for (int i = 0; i < 10000; ++i) {
        std::int32_t id = ids.ID_New();
        ASSERT_NE(id, plugin);
        ASSERT_GE(id, 1);
        ASSERT_LE(id, IdRegistry::kMaxId);
    }
    EXPECT_EQ(ids.count(), 10001u);
}

TEST(IdRegistry, ClearForgetsPluginIdsToo) {
    IdRegistry ids(sequence({5, 5}));
    EXPECT_EQ(ids.ID_New(), 5);  // a plugin's ID
    EXPECT_EQ(ids.ID_Clear(), 0);
    EXPECT_EQ(ids.ID_Exists(5), 0);
    EXPECT_EQ(ids.ID_New(), 5);  // may be drawn again after the container closed
}

TEST(IdRegistry, FreeOfUnknownIdChangesNothing) {
    IdRegistry ids;
    ids.RegisterID(3);
    EXPECT_EQ(ids.ID_Free(4), 0);
    EXPECT_EQ(ids.ids(), (std::vector<std::int32_t>{3}));
}

TEST(IdRegistry, OrderSurvivesManyFrees) {
    IdRegistry ids;
    for (int i = 1; i <= 1000; ++i) {
        ids.RegisterID(i);
    }
    for (int i = 1; i <= 1000; i += 2) {
        ids.ID_Free(i);
    }
    auto left = ids.ids();
    ASSERT_EQ(left.size(), 500u);
    for (std::size_t i = 0; i < left.size(); ++i) {
        EXPECT_EQ(left[i], static_cast<std::int32_t>(2 * i + 2));
    }
    EXPECT_EQ(ids.ID_Exists(2), 1);
    EXPECT_EQ(ids.ID_Exists(999), 0);
}

TEST(IdRegistry, ZeroStillLoadsFromFiles) {
    IdRegistry ids;
    ids.RegisterID(0);
    EXPECT_EQ(ids.ID_Exists(0), 1);
}

}  // namespace
}  // namespace vlt
