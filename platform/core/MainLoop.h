#pragma once
// The main loop: one thread, and a clock. Each turn runs the calls posted before it began, in
// order, then the timers that are due (equal due times in the order they were set). A timer
// set during a turn never runs in that same turn, so a zero delay still waits for a later one.
// With the virtual clock (tests, scenarios) time moves only through advance(). The real clock
// reads two clocks: now() is the wall clock (dates), while timers and waits count on a steady
// clock, so that a change of the system's time (set by hand, by the network, on resuming from
// sleep) neither fires a pending timer early nor holds it back.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace tmr {

class MainLoop {
 public:
  using Task = std::function<void()>;
  using TimerId = uint64_t;

  // A realistic start for the virtual clock: 2026-01-01T00:00:00Z in ms since 1970.
  static constexpr int64_t kVirtualEpoch = 1767225600000;

  enum class ClockKind { Real, Virtual };
  // Where the real clock reads the time; System() unless a test gives its own.
  struct RealTime {
    std::function<int64_t()> wall;    // ms since 1970-01-01 UTC; may jump either way
    std::function<int64_t()> steady;  // ms since any fixed point; never goes back
    static RealTime System();
  };
  explicit MainLoop(ClockKind kind = ClockKind::Virtual, int64_t virtualStart = kVirtualEpoch);
  // The real clock, reading the given source.
  explicit MainLoop(RealTime source);
  ~MainLoop();
  MainLoop(const MainLoop&) = delete;
  MainLoop& operator=(const MainLoop&) = delete;

  ClockKind clockKind() const { return kind_; }
  int64_t now() const;  // ms since 1970-01-01 UTC

  void post(Task task);               // runs on the next turn, after what was posted before
  void postFromAnyThread(Task task);  // thread-safe; runs on a later turn
  TimerId addTimer(int64_t delayMs, Task task);
  void cancelTimer(TimerId id);

  // Runs one turn at the current time. Returns whether anything ran.
  bool runOneTurn();
  // Runs turns without moving the clock until nothing posted or due is left.
  void runUntilIdle();
  // Virtual clock: moves time forward by ms, running everything due on the way, in order.
  void advance(int64_t ms);
  // Virtual clock: sets the time, as now() reads it, forwards only, running everything due on the way.
  void advanceTo(int64_t time);
  // Virtual clock: sets the time that now() reads, either way, as a person or the network sets
  // the system's time. Timers, waits and durations count on steadyNow(), which does not move.
  void setWallClock(int64_t time);

  // Real clock: runs until quit() is called.
  void run();
  void quit();
  // Lets ms pass while running everything due on the way: advance() on the virtual clock; on the
  // real clock, runs turns (and waits for work from other threads) until ms real milliseconds
  // have passed or quit() is called.
  void runFor(int64_t ms);

  bool hasPending() const;  // posted calls or timers due now
  // The clock that timers, waits and every duration count on (an animation's progress, a frame's
  // pace): the virtual time, or on the real clock a steady time in ms since some fixed point,
  // which never goes back when the system's time is set.
  int64_t steadyNow() const;
  // When the earliest timer is due, a steadyNow() time; nothing while no timer is set.
  std::optional<int64_t> nextDue() const;
  // Called on the posting thread each time work is posted from any thread, so that a host that
  // waits on something other than this loop (a window's event queue) wakes up for it.
  void setWakeHandler(std::function<void()> wake);
  size_t timerCount() const { return timers_.size(); }
  // Removes every posted call and timer (shutdown); the tasks are destroyed outside the loop.
  void clear();
  // Whether no posted call, call from another thread or timer is waiting.
  bool isEmpty() const;

 private:
  struct TimerKey {
    int64_t due;
    uint64_t seq;
    friend auto operator<=>(const TimerKey&, const TimerKey&) = default;
  };
  struct Timer {
    TimerId id;
    uint64_t turnSet;
    Task task;
  };
  void drainIncoming();
  // Virtual clock: moves the steady time forward to time, running everything due on the way.
  void advanceSteadyTo(int64_t time);
  // Real clock: runs until quit() or, when given, until the deadline (a steadyNow() time).
  void runUntil(std::optional<int64_t> deadline);

  ClockKind kind_;
  int64_t virtualNow_;    // the virtual clock's steady time
  int64_t wallOffset_ = 0;  // the virtual clock's wall time less its steady time
  RealTime realTime_;
  uint64_t turn_ = 0;
  uint64_t seq_ = 0;
  std::deque<Task> posted_;
  std::map<TimerKey, Timer> timers_;
  std::map<TimerId, TimerKey> timerIndex_;
  mutable std::mutex incomingMutex_;
  std::condition_variable wake_;
  std::deque<Task> incoming_;
  std::function<void()> wakeHandler_;  // guarded by incomingMutex_
  std::atomic<bool> quit_ = false;
};

}  // namespace tmr
