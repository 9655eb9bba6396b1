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

TEST(MainLoopTest, AChangeOfTheSystemTimeNeitherFiresNorHoldsBackATimer) {
  constexpr int64_t kHour = 3'600'000;
  for (int64_t jump : {-kHour, kHour, 400 * 24 * kHour}) {
    int64_t wall = MainLoop::kVirtualEpoch, steady = 5'000;
    MainLoop loop(MainLoop::RealTime{[&] { return wall; }, [&] { return steady; }});
    int runs = 0;
    loop.addTimer(100, [&] { ++runs; });
    wall += jump;
    loop.runUntilIdle();
    EXPECT_EQ(runs, 0) << "jump " << jump;
    EXPECT_EQ(loop.now(), wall) << "dates follow the wall clock";
    EXPECT_EQ(loop.nextDue(), steady + 100) << "jump " << jump;
    steady += 99;
    loop.runUntilIdle();
    EXPECT_EQ(runs, 0) << "jump " << jump;
    steady += 1;
    loop.runUntilIdle();
    EXPECT_EQ(runs, 1) << "jump " << jump;
  }
}

TEST(MainLoopTest, RealClockWaitsLastTheirTimeWhenTheSystemTimeJumpsAhead) {
  const auto steady = MainLoop::RealTime::System().steady;
  int64_t offset = 0;
  MainLoop loop(MainLoop::RealTime{[&] { return steady() + offset; }, steady});
  loop.addTimer(0, [&] { offset += 3'600'000; });
  const int64_t start = steady();
  int64_t ranAfter = -1;
  loop.addTimer(20, [&] { ranAfter = steady() - start; });
  loop.runFor(30);
  EXPECT_GE(ranAfter, 20);
  EXPECT_GE(steady() - start, 30);
}

}  // namespace
}  // namespace tmr
