// The bounded score queue: refusal at capacity in both polarities, the order of equal
// keys, and that refused and released hypotheses go back to the pool, which grows
// when it runs dry and refuses at its ceiling.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "recognition/Hypotheses.h"
#include "recognition/ScoreQueue.h"

namespace {
Hypothesis* Fresh() {
    return TakeHypothesis(nullptr, nullptr, 0);
}

TEST(ScoreQueue, KeepsTheHighestUpToItsCapacity) {
    size_t before = HypothesesInUse();
    ScoreQueue q(2);
    Hypothesis* low = Fresh();
    EXPECT_TRUE(q.PushHighest(low, 1.0));
    EXPECT_TRUE(q.PushHighest(Fresh(), 2.0));
    EXPECT_FALSE(q.PushHighest(Fresh(), 0.5)); // below the lowest
    EXPECT_FALSE(q.PushHighest(Fresh(), 1.0)); // equal to the lowest
    EXPECT_EQ(HypothesesInUse(), before + 2);
    Hypothesis* best = Fresh();
    EXPECT_TRUE(q.PushHighest(best, 3.0)); // evicts 1.0
    EXPECT_EQ(q.Count(), 2);
    EXPECT_EQ(HypothesesInUse(), before + 2);
    double key = 0;
    Hypothesis* h = q.PopHighest(&key);
    EXPECT_EQ(h, best);
    EXPECT_EQ(key, 3.0);
    EXPECT_EQ(h->score, 0.0); // only the cost stacks write scores
    h->Release();
    h = q.PopHighest(&key);
    EXPECT_EQ(key, 2.0);
    h->Release();
    EXPECT_EQ(q.PopHighest(&key), nullptr);
    EXPECT_EQ(key, 0.0);
    EXPECT_EQ(HypothesesInUse(), before);
}

TEST(ScoreQueue, KeepsTheLowestAndWritesTheCost) {
    size_t before = HypothesesInUse();
    ScoreQueue q(2);
    EXPECT_TRUE(q.PushLowest(Fresh(), 1.0));
    EXPECT_TRUE(q.PushLowest(Fresh(), 2.0));
    EXPECT_FALSE(q.PushLowest(Fresh(), 2.0)); // not below the highest
    EXPECT_FALSE(q.PushLowest(Fresh(), 5.0));
    Hypothesis* cheap = Fresh();
    EXPECT_TRUE(q.PushLowest(cheap, 0.25)); // evicts 2.0
    EXPECT_EQ(cheap->score, 0.25);
    EXPECT_EQ(HypothesesInUse(), before + 2);
    double key = 0;
    Hypothesis* h = q.PopLowest(&key);
    EXPECT_EQ(h, cheap);
    h->Release();
    h = q.PopHighest(&key);
    EXPECT_EQ(key, 1.0);
    h->Release();
    EXPECT_EQ(HypothesesInUse(), before);
}

TEST(ScoreQueue, EqualKeysPopOldestHighestAndNewestLowest) {
    ScoreQueue q(10);
    std::vector<Hypothesis*> made;
    for (int i = 0; i < 3; ++i) {
        made.push_back(Fresh());
        q.PushHighest(made.back(), 1.0);
    }
    Hypothesis* h = q.PopHighest(nullptr);
    EXPECT_EQ(h, made[0]);
    h->Release();
    h = q.PopLowest(nullptr);
    EXPECT_EQ(h, made[2]);
    h->Release();
    q.Clear();
    EXPECT_EQ(q.Count(), 0);
}

TEST(ScoreQueue, RefusesNotANumber) {
    size_t before = HypothesesInUse();
    ScoreQueue q(3);
    EXPECT_FALSE(q.PushHighest(Fresh(), std::nan("")));
    EXPECT_FALSE(q.PushLowest(Fresh(), std::nan("")));
    EXPECT_FALSE(q.PushLowest(nullptr, 1.0));
    EXPECT_EQ(q.Count(), 0);
    EXPECT_EQ(HypothesesInUse(), before);
}

TEST(HypothesisPool, ChainsHoldTheirParentsAndFreeAsOne) {
    size_t before = HypothesesInUse();
    Hypothesis* root = Fresh();
    Hypothesis* h = root;
    for (int i = 1; i < 200000; ++i) { // deeper than any stack would allow recursion
        Hypothesis* child = TakeHypothesis(h, nullptr, i);
        h->Release();
        h = child;
    }
    EXPECT_EQ(HypothesesInUse(), before + 200000);
    h->Release();
    EXPECT_EQ(HypothesesInUse(), before);
    // Last freed, first reused.
    Hypothesis* again = Fresh();
    EXPECT_EQ(again, root);
    EXPECT_EQ(again->parent, nullptr);
    again->Release();
}

TEST(HypothesisPool, GrowsThenRefusesAtItsCeiling) {
    size_t before = HypothesesInUse();
    std::vector<Hypothesis*> held;
    while (Hypothesis* h = Fresh())
        held.push_back(h);
    EXPECT_GT(held.size(), 90000u * 2);
    EXPECT_EQ(Fresh(), nullptr);
    ScoreQueue q(5);
    EXPECT_FALSE(q.PushHighest(Fresh(), 1.0));
    for (Hypothesis* h : held)
        h->Release();
    EXPECT_EQ(HypothesesInUse(), before);
    EXPECT_TRUE(q.PushHighest(Fresh(), 1.0));
}
} // namespace
