// The window thread: scripts handed over with sys(text), their results, calls that
// outlast the one-second wait, calls made on the thread itself and engine
// exceptions on it.
#include <gtest/gtest.h>

#include <cmath>
#include <condition_variable>
#include <mutex>

#include "Exceptions.h"
#include "Number.h"
#include "core/EngineLock.h"
#include "support/EngineTest.h"

namespace {
// A script object whose evaluation blocks until the test opens it, letting go of
// the engine lock meanwhile as every blocking engine object does.
class Gate : public Interface {
  public:
    Interface* Interpret(Input*, Interface*) override {
        EngineUnlocked unlocked;
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return open_; });
        return this;
    }
    void Open() {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    int AddRef() override { return 0; }
    int Release() override { return 0; }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

// A script object that tells the waiting test it was evaluated.
class Signal : public Interface {
  public:
    Interface* Interpret(Input*, Interface*) override {
        std::lock_guard<std::mutex> lock(mutex_);
        fired_ = true;
        changed_.notify_all();
        return this;
    }
    void Wait() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return fired_; });
    }
    int AddRef() override { return 0; }
    int Release() override { return 0; }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool fired_ = false;
};

class Thrower : public Interface {
  public:
    Interface* Interpret(Input*, Interface*) override { throw new IndexError; }
    int AddRef() override { return 0; }
    int Release() override { return 0; }
};

class WinSysTest : public EngineTest {
  protected:
    void Put(const char* name, Interface* object) {
        RootFolder()->Set(name, static_cast<int>(strlen(name)), object, 1);
    }
    void Remove(const char* name) {
        RootFolder()->Set(name, static_cast<int>(strlen(name)), nullptr, 0);
    }
};

TEST_F(WinSysTest, RunsTheTextAndReturnsItsResult) {
    Interface* result = Evaluate("sys(\"sys_x = 5\")");
    EXPECT_EQ(result, Member("sys_x"));
    EXPECT_EQ(NumberAt("sys_x"), 5);
}

TEST_F(WinSysTest, CallOnTheWindowThreadRunsAtOnce) {
    Interface* result = Evaluate("sys(\"sys(\\\"sys_inner = 3\\\")\")");
    EXPECT_EQ(result, Member("sys_inner"));
    EXPECT_EQ(NumberAt("sys_inner"), 3);
}

TEST_F(WinSysTest, LongJobReturnsTheContextAndFinishesLater) {
    Gate gate;
    Signal finished;
    Put("sys_hold", &gate);
    Put("sys_finished", &finished);
    Run("sys_late = 0");
    // The job's last value (42) comes after the caller gave up; the thread drops it.
    Interface* result = Evaluate("sys(\"sys_hold; sys_late = 7; sys_finished; 42\")");
    EXPECT_EQ(result, RootFolder());
    EXPECT_EQ(NumberAt("sys_late"), 0);
    gate.Open();
    finished.Wait();
    EXPECT_EQ(NumberAt("sys_late"), 7);
    Interface* next = Evaluate("sys(\"sys_next = 1\")");
    EXPECT_EQ(next, Member("sys_next"));
    Remove("sys_hold");
    Remove("sys_finished");
}

TEST_F(WinSysTest, EngineExceptionEndsTheJobNotTheThread) {
    Thrower thrower;
    Put("sys_boom", &thrower);
    EXPECT_NE(Run("sys(\"sys_boom\")").find("Exception 2\n"), std::string::npos);
    Interface* after = Evaluate("sys(\"sys_after = 1\")");
    EXPECT_EQ(after, Member("sys_after"));
    Remove("sys_boom");
}

TEST_F(WinSysTest, OwnWindowThreadServesAndMayBeDropped) {
    Run("sys_own = new WinSys; sys_own(\"sys_own_x = 4\")");
    EXPECT_EQ(NumberAt("sys_own_x"), 4);
    Run("sys_own = 0");
    // Dropped by its own job, which still delivers its result.
    Interface* result = Evaluate("sys_w = new WinSys; sys_w(\"sys_w = 0; sys_gone = 1\")");
    EXPECT_EQ(result, Member("sys_gone"));
}

// The interpreter reports the call's missing value with the bracket as the token.
TEST_F(WinSysTest, CallWithoutTextGivesNone) {
    for (const char* script : {"sys(5)", "sys()"})
        EXPECT_EQ(Run(script).rfind("Warning: '(' not Found\n", 0), 0u) << script;
}
} // namespace
