#include "data/Chains.h"

#include <gtest/gtest.h>

#include <vector>

namespace slumra {
namespace {

// A chain of n items whose pointers are the addresses of values[0..n-1].
struct Filled {
    explicit Filled(int n) : values(static_cast<std::size_t>(n)) {
        for (int i = 0; i < n; ++i) {
            values[static_cast<std::size_t>(i)] = i + 1;
            EXPECT_TRUE(chain.Append(&values[static_cast<std::size_t>(i)]));
        }
    }
    int At(int n) { return *static_cast<int*>(chain.GetItem(n)); }
    std::vector<int> values;
    TPointerChain chain{"test"};
};

TEST(Chains, OutOfRangeGetLeavesCursorAlone) {
    TPointerChain empty("empty");
    EXPECT_EQ(empty.GetItem(1), nullptr);
    EXPECT_EQ(empty.CursorNo(), 0);

    Filled f(5);
    f.chain.GetItem(3);
    EXPECT_EQ(f.chain.GetItem(0), nullptr);
    EXPECT_EQ(f.chain.GetItem(6), nullptr);
    EXPECT_EQ(f.chain.GetItem(-7), nullptr);
    EXPECT_EQ(f.chain.CursorNo(), 3);
}

TEST(Chains, EveryPositionReachableFromEveryCursor) {
    Filled f(9);
    for (int from = 1; from <= 9; ++from) {
        for (int to = 1; to <= 9; ++to) {
            f.chain.GetItem(from);
            EXPECT_EQ(f.At(to), to) << "from " << from << " to " << to;
            EXPECT_EQ(f.chain.CursorNo(), to);
        }
    }
}

TEST(Chains, WalkStartsFromNearestEndWithTiesToTheFarEnd) {
    Filled f(10);
    f.chain.GetItem(2);
    f.chain.GetItem(9);  // 7 is not below 1: from the last link, one step
    EXPECT_EQ(f.chain.LastSteps(), 1);
    f.chain.GetItem(8);
    f.chain.GetItem(9);  // forward from the cursor, one step
    EXPECT_EQ(f.chain.LastSteps(), 1);
    f.chain.GetItem(5);
    f.chain.GetItem(3);  // two steps, from either side
    EXPECT_EQ(f.chain.LastSteps(), 2);
    EXPECT_EQ(f.At(3), 3);
}

TEST(Chains, SequentialWalksCostOneStepPerCall) {
    Filled f(1000);
    for (int n = 1; n <= 1000; ++n) {
        EXPECT_EQ(f.At(n), n);
        EXPECT_LE(f.chain.LastSteps(), 1);
    }
    for (int n = 1000; n >= 1; --n) {
        EXPECT_EQ(f.At(n), n);
        EXPECT_LE(f.chain.LastSteps(), 1);
    }
}

TEST(Chains, PutItemOutOfRangeChangesNothingAndResetsCursor) {
    Filled f(4);
    int other = 99;
    f.chain.GetItem(3);
    f.chain.PutItem(5, &other);
    EXPECT_EQ(f.chain.CursorNo(), 1);
    f.chain.GetItem(3);
    f.chain.PutItem(0, &other);
    EXPECT_EQ(f.chain.CursorNo(), 1);
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(f.At(n), n);
    f.chain.PutItem(2, &other);
    EXPECT_EQ(f.At(2), 99);
}

TEST(Chains, RemoveKeepsEndsAndItems) {
    Filled f(4);
    EXPECT_TRUE(f.chain.Remove(1));
    EXPECT_EQ(f.At(1), 2);
    EXPECT_TRUE(f.chain.Remove(3));  // the last
    EXPECT_EQ(f.chain.Count(), 2);
    EXPECT_EQ(f.At(2), 3);
    EXPECT_EQ(f.chain.GetItem(3), nullptr);
    int extra = 7;
    EXPECT_TRUE(f.chain.Append(&extra));
    EXPECT_EQ(f.At(3), 7);
    EXPECT_EQ(f.At(2), 3);
    // Removed items are still the owner's: nothing was freed.
    EXPECT_EQ(f.values[0], 1);
    EXPECT_EQ(f.values[3], 4);
}

TEST(Chains, RemoveMiddleRelinksNeighboursBothWays) {
    Filled f(5);
    EXPECT_TRUE(f.chain.Remove(3));
    const int expected[] = {1, 2, 4, 5};
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(f.At(n), expected[n - 1]);
    for (int n = 4; n >= 1; --n) EXPECT_EQ(f.At(n), expected[n - 1]);
}

TEST(Chains, RemovingTheOnlyItemEmptiesTheChain) {
    Filled f(1);
    EXPECT_TRUE(f.chain.Remove(1));
    EXPECT_EQ(f.chain.Count(), 0);
    EXPECT_EQ(f.chain.CursorNo(), 0);
    EXPECT_EQ(f.chain.GetItem(1), nullptr);
    EXPECT_FALSE(f.chain.Remove(1));
    int again = 5;
    EXPECT_TRUE(f.chain.Append(&again));
    EXPECT_EQ(f.At(1), 5);
    EXPECT_TRUE(f.chain.Remove(1));
    EXPECT_EQ(f.chain.Count(), 0);
}

TEST(Chains, RemoveOutOfRange) {
    Filled f(3);
    f.chain.GetItem(3);
    EXPECT_FALSE(f.chain.Remove(4));
    EXPECT_EQ(f.chain.CursorNo(), 3);  // nothing changes above the count
    EXPECT_FALSE(f.chain.Remove(0));
    EXPECT_EQ(f.chain.CursorNo(), 1);  // at or below zero the cursor goes home
    EXPECT_EQ(f.chain.Count(), 3);
}

TEST(Chains, ReleasingFromTheEndCostsOneStepPerItem) {
    Filled f(500);
    for (int n = 500; n >= 1; --n) {
        f.chain.GetItem(n);
        EXPECT_LE(f.chain.LastSteps(), 1) << n;
        f.chain.PutItem(n, nullptr);
        EXPECT_TRUE(f.chain.Remove(n));
    }
    EXPECT_EQ(f.chain.Count(), 0);
}

TEST(Chains, LinksFreedByRemoveOrClearAreReusedWithoutMixingItems) {
    Filled f(100);  // crosses several blocks of links
    f.chain.Reserve(150);
    for (int n = 90; n >= 10; n -= 20) ASSERT_TRUE(f.chain.Remove(n));
    int more[60];
    for (int i = 0; i < 60; ++i) ASSERT_TRUE(f.chain.Append(&more[i]));
    ASSERT_EQ(f.chain.Count(), 155);
    EXPECT_EQ(f.At(9), 9);
    EXPECT_EQ(f.At(10), 11);
    EXPECT_EQ(f.chain.GetItem(96), &more[0]);
    EXPECT_EQ(f.chain.GetItem(155), &more[59]);
    f.chain.Clear();
    EXPECT_EQ(f.chain.Count(), 0);
    EXPECT_EQ(f.chain.GetItem(1), nullptr);
    ASSERT_TRUE(f.chain.Append(&more[3]));
    EXPECT_EQ(f.chain.GetItem(1), &more[3]);
}

}  // namespace
}  // namespace slumra
