#include "library/OrderedWork.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace orvale::library;

namespace {

struct Counter {
    int Items = 0;
};

} // namespace

// Early items are made slow so that workers finish out of order: the results still arrive in
// order, and no worker runs further ahead of the consumer than the window.
TEST(OrderedWork, ResultsArriveInOrderWithinTheWindow) {
    constexpr size_t kCount = 200, kWindow = 8;
    std::atomic<size_t> consumed{0};
    std::atomic<size_t> furthestAhead{0};
    std::vector<size_t> order;
    auto produce = [&](size_t i, Counter& state) {
        if (i % 17 == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        ++state.Items;
        size_t ahead = i - std::min(i, consumed.load());
        size_t seen = furthestAhead.load();
        while (ahead > seen && !furthestAhead.compare_exchange_weak(seen, ahead)) {
        }
        return i * 3;
    };
    auto consume = [&](size_t i, size_t& result) {
        EXPECT_EQ(result, i * 3);
        order.push_back(i);
        ++consumed;
        return true;
    };
    EXPECT_TRUE((RunInOrder<size_t, Counter>(kCount, kWindow, produce, consume)));
    ASSERT_EQ(order.size(), kCount);
    for (size_t i = 0; i < kCount; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_LE(furthestAhead.load(), kWindow);
}

// Stopping early returns false and joins every worker even though most items were never asked
// for; nothing at all is asked for when there is nothing to do.
TEST(OrderedWork, StoppingEarlyEndsTheWork) {
    std::atomic<size_t> produced{0};
    auto produce = [&](size_t i, Counter&) {
        ++produced;
        return i;
    };
    size_t taken = 0;
    auto stopAtTen = [&](size_t i, size_t&) {
        ++taken;
        return i < 9;
    };
    EXPECT_FALSE((RunInOrder<size_t, Counter>(100000, 4, produce, stopAtTen)));
    EXPECT_EQ(taken, 10u);
    EXPECT_LT(produced.load(), 100u);

    produced = 0;
    auto never = [&](size_t, size_t&) {
        ADD_FAILURE() << "nothing to consume";
        return true;
    };
    EXPECT_TRUE((RunInOrder<size_t, Counter>(0, 4, produce, never)));
    EXPECT_EQ(produced.load(), 0u);
}
