#include <gtest/gtest.h>

#include <thread>

#include "platform/core/MainLoop.h"

namespace tmr {
namespace {

TEST(MainLoopTest, VirtualClockStartsAtARealisticDateAndMovesOnlyWhenAdvanced) {
  MainLoop loop;
  EXPECT_GT(loop.now(), 1'600'000'000'000);
  auto t0 = loop.now();
  loop.runUntilIdle();
  EXPECT_EQ(loop.now(), t0);
  loop.advance(250);
  EXPECT_EQ(loop.now(), t0 + 250);
}

TEST(MainLoopTest, PostedCallsRunNextTurnInOrderBeforeDueTimers) {
  MainLoop loop;
  std::vector<std::string> order;
  loop.addTimer(0, [&] { order.push_back("timer"); });
  loop.post([&] {
    order.push_back("post1");
    loop.post([&] { order.push_back("post-from-post"); });
  });
  loop.post([&] { order.push_back("post2"); });
  EXPECT_TRUE(order.empty()) << "nothing runs at the call";
  loop.runOneTurn();
  EXPECT_EQ(order, (std::vector<std::string>{"post1", "post2", "timer"}));
  loop.runOneTurn();
  EXPECT_EQ(order.back(), "post-from-post");
}

TEST(MainLoopTest, TimersRunAtTheirTimeAndEqualDueTimesInTheOrderSet) {
  MainLoop loop;
  std::vector<std::string> order;
  auto t0 = loop.now();
  std::vector<int64_t> at;
  loop.addTimer(30, [&] {
    order.push_back("b30");
    at.push_back(loop.now() - t0);
  });
  loop.addTimer(10, [&] {
    order.push_back("a10");
    at.push_back(loop.now() - t0);
  });
  loop.addTimer(30, [&] { order.push_back("c30"); });
  auto cancelled = loop.addTimer(20, [&] { order.push_back("cancelled"); });
  loop.cancelTimer(cancelled);
  loop.advance(29);
  EXPECT_EQ(order, (std::vector<std::string>{"a10"}));
  loop.advance(1);
  EXPECT_EQ(order, (std::vector<std::string>{"a10", "b30", "c30"}));
  EXPECT_EQ(at, (std::vector<int64_t>{10, 30}));
}

TEST(MainLoopTest, AZeroTimerSetInsideATurnWaitsForTheNextTurn) {
  MainLoop loop;
  int runs = 0;
  loop.post([&] { loop.addTimer(0, [&] { ++runs; }); });
  loop.runOneTurn();
  EXPECT_EQ(runs, 0);
  loop.runOneTurn();
  EXPECT_EQ(runs, 1);
}

TEST(MainLoopTest, WorkPostedFromAnotherThreadRunsOnTheLoop) {
  MainLoop loop;
  auto mainId = std::this_thread::get_id();
  std::thread::id ranOn;
  std::thread worker([&] { loop.postFromAnyThread([&] { ranOn = std::this_thread::get_id(); }); });
  worker.join();
  loop.runUntilIdle();
  EXPECT_EQ(ranOn, mainId);
}

TEST(MainLoopTest, RealClockRunsUntilQuit) {
  MainLoop loop(MainLoop::ClockKind::Real);
  int ticks = 0;
  loop.addTimer(5, [&] {
    ++ticks;
    loop.quit();
  });
  loop.run();
  EXPECT_EQ(ticks, 1);
}

}  // namespace
}  // namespace tmr
