#include <gtest/gtest.h>

#include "platform/core/Common.h"
#include "platform/core/ResumableSub.h"
#include "platform/core/Runtime.h"
#include "tests/platform/core/TestModules.h"

namespace tmr {
namespace {

// A coroutine that records each step it reaches.
class ResumableSub_probe_Steps : public ResumableSub {
 public:
  ResumableSub_probe_Steps(std::shared_ptr<Module> p, std::vector<std::string>& log, int64_t sleepMs)
      : ResumableSub(std::move(p)), log(log), sleepMs(sleepMs) {}
  std::vector<std::string>& log;
  int64_t sleepMs;

 protected:
  SubBody body() override {
    log.push_back("start");
    co_await Sleep(sleepMs);
    log.push_back("woke");
    auto args = co_await WaitFor("dev_data:");
    log.push_back("data " + args.at(0).AsString().str());
    ReturnFromResumableSub(Object(42));
  }
};

class ResumableSub_probe_Parent : public ResumableSub {
 public:
  ResumableSub_probe_Parent(std::shared_ptr<Module> p, std::shared_ptr<ResumableSub> child, Object& got)
      : ResumableSub(std::move(p)), child(std::move(child)), got(got) {}
  std::shared_ptr<ResumableSub> child;
  Object& got;

 protected:
  SubBody body() override { got = co_await WaitForComplete(child); }
};

class ResumableSub_probe_Waiter : public ResumableSub {
 public:
  ResumableSub_probe_Waiter(std::shared_ptr<Module> p, std::string name, std::vector<std::string>& log)
      : ResumableSub(std::move(p)), name(std::move(name)), log(log) {}
  std::string name;
  std::vector<std::string>& log;
  ~ResumableSub_probe_Waiter() override { log.push_back(name + " destroyed"); }

 protected:
  SubBody body() override {
    co_await WaitFor("dev_data:");
    log.push_back(name + " took the event");
  }
};

struct CoroutineTest : ::testing::Test {
  std::vector<std::string> log;  // before the runtime: coroutines released at shutdown write to it
  Runtime rt;
  std::shared_ptr<ProbeModule> mod = ProbeModule::Make(rt);
};

TEST_F(CoroutineTest, RunsAtOnceToFirstWaitThenSleepsOnTheLoopClockAndTakesTheEventInsteadOfTheHandler) {
  auto rs = std::make_shared<ResumableSub_probe_Steps>(mod, log, 5000);
  rs->start();
  EXPECT_EQ(log, (std::vector<std::string>{"start"}));
  rt.loop().advance(4999);
  EXPECT_EQ(log.size(), 1u);
  rt.loop().advance(1);
  EXPECT_EQ(log.back(), "woke");
  mod->bi->raiseEvent(Object(), "DEV", "Data", {Object(7)});
  EXPECT_EQ(log.back(), "data 7");
  EXPECT_TRUE(mod->calls.empty()) << "the handler must not see an event a coroutine took";
  EXPECT_TRUE(rs->finished());
  EXPECT_EQ(rs->result(), Object(42));
  // With no coroutine waiting, the handler gets the next one.
  mod->bi->raiseEvent(Object(), "dev", "data", {Object(8)});
  EXPECT_EQ(mod->calls, (std::vector<std::string>{"data 8"}));
}

TEST_F(CoroutineTest, SleepZeroResumesOnALaterTurnNeverAtOnce) {
  auto rs = std::make_shared<ResumableSub_probe_Steps>(mod, log, 0);
  rs->start();
  EXPECT_EQ(log.size(), 1u) << "Sleep(0) must not resume inside start()";
  rt.loop().runOneTurn();
  EXPECT_EQ(log.back(), "woke");
}

TEST_F(CoroutineTest, ANewerWaitForTheSameEventReplacesTheOlderWhichIsDestroyed) {
  auto first = std::make_shared<ResumableSub_probe_Waiter>(mod, "first", log);
  first->start();
  std::weak_ptr<ResumableSub> weakFirst = first;
  first.reset();
  auto second = std::make_shared<ResumableSub_probe_Waiter>(mod, "second", log);
  second->start();
  EXPECT_TRUE(weakFirst.expired());
  EXPECT_EQ(log, (std::vector<std::string>{"first destroyed"}));
  mod->bi->raiseEvent(Object(), "dev", "data", {Object(1)});
  EXPECT_EQ(log.back(), "second took the event");
  EXPECT_EQ(rt.waitCount(), 0u);
}

TEST_F(CoroutineTest, CompletionReachesTheParentEvenWhenTheChildFinishedBeforeItWaited) {
  class ResumableSub_probe_Quick : public ResumableSub {
   public:
    using ResumableSub::ResumableSub;

   protected:
    SubBody body() override {
      ReturnFromResumableSub(Object("done"));
      co_return;
    }
  };
  auto child = std::make_shared<ResumableSub_probe_Quick>(mod);
  child->start();
  ASSERT_TRUE(child->finished());
  rt.loop().advance(100);
  Object got;
  auto parent = std::make_shared<ResumableSub_probe_Parent>(mod, child, got);
  parent->start();
  EXPECT_TRUE(got.IsNull()) << "complete: arrives on a later turn";
  rt.loop().runOneTurn();
  EXPECT_EQ(got, Object("done"));
  EXPECT_TRUE(parent->finished());
}

TEST_F(CoroutineTest, AParentWaitingForAChildThatNeverFinishesIsReleasedWithIt) {
  std::weak_ptr<ResumableSub> weakChild, weakParent;
  {
    auto child = std::make_shared<ResumableSub_probe_Waiter>(mod, "child", log);
    child->start();  // waits for dev_data:
    Object got;
    auto parent = std::make_shared<ResumableSub_probe_Parent>(mod, child, got);
    parent->start();
    weakChild = child;
    weakParent = parent;
  }
  ASSERT_FALSE(weakChild.expired());
  // A newer wait for the same event replaces the child's: the child and the parent waiting for
  // it hold each other, and both must go.
  auto newer = std::make_shared<ResumableSub_probe_Waiter>(mod, "newer", log);
  newer->start();
  EXPECT_TRUE(weakChild.expired());
  EXPECT_TRUE(weakParent.expired());
}

TEST(CoroutineShutdownTest, CoroutinesStillWaitingAtShutdownAreReleased) {
  std::vector<std::string> log;
  std::weak_ptr<ResumableSub> weakChild, weakParent;
  {
    Runtime rt;
    auto mod = ProbeModule::Make(rt);
    auto child = std::make_shared<ResumableSub_probe_Steps>(mod, log, 100000);
    child->start();
    Object got;
    auto parent = std::make_shared<ResumableSub_probe_Parent>(mod, child, got);
    parent->start();
    weakChild = child;
    weakParent = parent;
  }
  EXPECT_TRUE(weakChild.expired());
  EXPECT_TRUE(weakParent.expired());
}

TEST_F(CoroutineTest, ASuspendedCoroutineKeepsItsModuleAlive) {
  std::weak_ptr<ProbeModule> weak = mod;
  auto rs = std::make_shared<ResumableSub_probe_Steps>(mod, log, 1000);
  rs->start();
  rs.reset();
  mod.reset();
  EXPECT_FALSE(weak.expired());
  rt.loop().advance(1000);
  EXPECT_EQ(log.back(), "woke");
  EXPECT_FALSE(weak.expired()) << "now held by its wait for dev_data:";
}

}  // namespace
}  // namespace tmr
