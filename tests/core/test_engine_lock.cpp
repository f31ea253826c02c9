// The engine's lock as hosts reach it: the root answers it as its "Lock" interface, and
// while a host holds it no other thread's script runs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "Lock.h"
#include "support/EngineTest.h"

namespace {

class EngineLock : public EngineTest {};

TEST_F(EngineLock, TheRootAnswersItAndItNests) {
    Lock* lock = QueryInterface<Lock>(RootFolder(), "Lock");
    ASSERT_NE(lock, nullptr);
    EXPECT_FALSE(lock->Held());
    lock->Enter();
    lock->Enter();
    EXPECT_TRUE(lock->Held());
    lock->Leave();
    EXPECT_TRUE(lock->Held());
    lock->Leave();
    EXPECT_FALSE(lock->Held());
    lock->Release();
}

// A script on another thread waits for the host's hold to end, however long that is;
// it runs, and sees the lock as its own, once the hold is over.
TEST_F(EngineLock, AnotherThreadsScriptWaitsForTheHold) {
    Lock* lock = QueryInterface<Lock>(RootFolder(), "Lock");
    ASSERT_NE(lock, nullptr);
    lock->Enter();
    std::atomic<bool> done{false};
    std::atomic<bool> heldElsewhere{true};
    std::thread other([&] {
        heldElsewhere = lock->Held();
        Interface* root = RootFolder();
        root->Run("lock_probe = 1", root);
        done = true;
    });
    usleep(100 * 1000);
    EXPECT_FALSE(done);
    EXPECT_TRUE(std::isnan(NumberAt("lock_probe")));
    lock->Leave();
    other.join();
    EXPECT_FALSE(heldElsewhere);
    EXPECT_TRUE(done);
    EXPECT_EQ(NumberAt("lock_probe"), 1);
    lock->Release();
}

} // namespace
