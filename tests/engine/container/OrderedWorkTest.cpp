#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "engine/container/OrderedWork.h"

namespace vlt {
namespace {

TEST(OrderedWork, BatchesAreTakenInOrderOnTheCallingThreadAndFewRunAhead) {
    constexpr unsigned kThreads = 4;
    const auto caller = std::this_thread::get_id();
    std::atomic<std::size_t> taken{0};
    std::atomic<std::size_t> furthestAhead{0};
    std::vector<std::size_t> order;
    int idles = 0;
    auto prepare = [&](std::size_t i) {
        std::size_t ahead = i - std::min(i, taken.load());
        for (std::size_t seen = furthestAhead; ahead > seen;) {
            furthestAhead.compare_exchange_weak(seen, ahead);
        }
        // The first batch is slow: the caller has to wait for it.
        std::this_thread::sleep_for(std::chrono::milliseconds(i == 0 ? 60 : i % 3));
    };
    auto take = [&](std::size_t i) {
        EXPECT_EQ(std::this_thread::get_id(), caller);
        order.push_back(i);
        ++taken;
        return true;
    };
    auto idle = [&] {
        EXPECT_EQ(std::this_thread::get_id(), caller);
        ++idles;
    };
    EXPECT_TRUE(RunInOrder(100, kThreads, prepare, take, idle));
    ASSERT_EQ(order.size(), 100u);
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(order[i], i);
    }
    EXPECT_LT(furthestAhead.load(), kThreads + 2);
    EXPECT_GE(idles, 2);  // the calling thread kept the windows live while it waited
}

TEST(OrderedWork, AFailureStopsTheRunAndReachesTheCaller) {
    for (unsigned threads : {1u, 4u}) {
        SCOPED_TRACE(threads);
        std::vector<std::size_t> order;
        std::atomic<int> running{0};
        auto prepare = [&](std::size_t i) {
            ++running;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            --running;
            if (i == 37) {
                throw std::runtime_error("batch 37");
            }
        };
        auto take = [&](std::size_t i) {
            order.push_back(i);
            return true;
        };
        EXPECT_THROW(RunInOrder(100, threads, prepare, take, {}), std::runtime_error);
        EXPECT_EQ(running.load(), 0) << "a worker outlived the run";
        ASSERT_LE(order.size(), 37u);
        for (std::size_t i = 0; i < order.size(); ++i) {
            EXPECT_EQ(order[i], i);
        }

        // A take that says stop: nothing after it is taken, and the run says it did not finish.
        order.clear();
        auto stopAt10 = [&](std::size_t i) {
            order.push_back(i);
            return i != 10;
        };
        EXPECT_FALSE(RunInOrder(100, threads, [](std::size_t) {}, stopAt10, {}));
        EXPECT_EQ(order.size(), 11u);
    }
}

}  // namespace
}  // namespace vlt
