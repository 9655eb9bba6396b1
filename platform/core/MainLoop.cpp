#include "platform/core/MainLoop.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <optional>
#include <stdexcept>

namespace tmr {

namespace {
// A loop that keeps posting work without time passing would never let advance() return:
// give up with a clear error instead of hanging.
constexpr int kMaxTurnsPerInstant = 1'000'000;
constexpr int64_t kEndOfTime = std::numeric_limits<int64_t>::max();
// The longest single sleep of the real clock: it wakes and looks again, so that a deadline near
// the clock's end never overflows the condition variable's own arithmetic.
constexpr int64_t kLongestWaitMs = 3'600'000;

template <class Clock>
int64_t Milliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(Clock::now().time_since_epoch()).count();
}

// start + ms, or the clock's end where that would overflow (ms >= 0).
int64_t Later(int64_t start, int64_t ms) { return ms > kEndOfTime - start ? kEndOfTime : start + ms; }
}  // namespace

MainLoop::RealTime MainLoop::RealTime::System() {
  return {Milliseconds<std::chrono::system_clock>, Milliseconds<std::chrono::steady_clock>};
}

MainLoop::MainLoop(ClockKind kind, int64_t virtualStart)
    : kind_(kind), virtualNow_(virtualStart), realTime_(RealTime::System()) {}

MainLoop::MainLoop(RealTime source)
    : kind_(ClockKind::Real), virtualNow_(kVirtualEpoch), realTime_(std::move(source)) {}

MainLoop::~MainLoop() { clear(); }

int64_t MainLoop::now() const { return kind_ == ClockKind::Virtual ? virtualNow_ + wallOffset_ : realTime_.wall(); }

int64_t MainLoop::steadyNow() const { return kind_ == ClockKind::Virtual ? virtualNow_ : realTime_.steady(); }

void MainLoop::post(Task task) { posted_.push_back(std::move(task)); }

void MainLoop::postFromAnyThread(Task task) {
  {
    std::lock_guard lock(incomingMutex_);
    incoming_.push_back(std::move(task));
    // Under the lock, so that the handler cannot be swapped out (its host gone) during the call.
    if (wakeHandler_) wakeHandler_();
  }
  wake_.notify_one();
}

void MainLoop::setWakeHandler(std::function<void()> wake) {
  std::lock_guard lock(incomingMutex_);
  wakeHandler_ = std::move(wake);
}

MainLoop::TimerId MainLoop::addTimer(int64_t delayMs, Task task) {
  if (delayMs < 0) delayMs = 0;
  // A delay past the clock's end is a timer that never comes due.
  TimerKey key{Later(steadyNow(), delayMs), ++seq_};
  TimerId id = key.seq;
  timers_.emplace(key, Timer{id, turn_, std::move(task)});
  timerIndex_.emplace(id, key);
  return id;
}

void MainLoop::cancelTimer(TimerId id) {
  auto it = timerIndex_.find(id);
  if (it == timerIndex_.end()) return;
  auto node = timers_.extract(it->second);
  timerIndex_.erase(it);
  // node (and its task) is destroyed here, outside the timer map.
}

void MainLoop::drainIncoming() {
  std::lock_guard lock(incomingMutex_);
  while (!incoming_.empty()) {
    posted_.push_back(std::move(incoming_.front()));
    incoming_.pop_front();
  }
}

bool MainLoop::runOneTurn() {
  drainIncoming();
  uint64_t thisTurn = ++turn_;
  bool ran = false;
  // Posted calls: only those posted before the turn began.
  size_t n = posted_.size();
  for (size_t i = 0; i < n && !posted_.empty(); ++i) {
    Task t = std::move(posted_.front());
    posted_.pop_front();
    ran = true;
    t();
  }
  // Timers due now that were set before this turn began, in (due, seq) order.
  int64_t t = steadyNow();
  std::vector<TimerKey> due;
  for (auto& [key, timer] : timers_) {
    if (key.due > t) break;
    if (timer.turnSet < thisTurn) due.push_back(key);
  }
  for (auto& key : due) {
    auto it = timers_.find(key);
    if (it == timers_.end()) continue;  // cancelled by an earlier timer of this turn
    Task task = std::move(it->second.task);
    timerIndex_.erase(it->second.id);
    timers_.erase(it);
    ran = true;
    task();
  }
  return ran;
}

bool MainLoop::hasPending() const {
  {
    std::lock_guard lock(incomingMutex_);
    if (!incoming_.empty()) return true;
  }
  if (!posted_.empty()) return true;
  return !timers_.empty() && timers_.begin()->first.due <= steadyNow();
}

void MainLoop::runUntilIdle() {
  int turns = 0;
  while (hasPending()) {
    runOneTurn();
    if (++turns > kMaxTurnsPerInstant) throw std::runtime_error("main loop: work keeps coming without time passing");
  }
}

std::optional<int64_t> MainLoop::nextDue() const {
  if (timers_.empty()) return std::nullopt;
  return timers_.begin()->first.due;
}

void MainLoop::advanceSteadyTo(int64_t time) {
  if (kind_ != ClockKind::Virtual) throw std::logic_error("advance needs the virtual clock");
  runUntilIdle();
  while (true) {
    auto due = nextDue();
    if (!due || *due > time) break;
    if (*due > virtualNow_) virtualNow_ = *due;
    runUntilIdle();
  }
  if (time > virtualNow_) virtualNow_ = time;
  runUntilIdle();
}

void MainLoop::advanceTo(int64_t time) {
  int64_t steady = 0;
  // A wall time beyond what the steady scale can hold is its far end, as forwards as it goes.
  if (__builtin_sub_overflow(time, wallOffset_, &steady))
    steady = wallOffset_ < 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
  advanceSteadyTo(steady);
}

void MainLoop::advance(int64_t ms) {
  if (ms < 0) ms = 0;
  if (ms > std::numeric_limits<int64_t>::max() - std::max(virtualNow_, now()))
    throw std::out_of_range("advance: the clock would overflow");
  advanceSteadyTo(virtualNow_ + ms);
}

void MainLoop::setWallClock(int64_t time) {
  if (kind_ != ClockKind::Virtual) throw std::logic_error("setting the wall clock needs the virtual clock");
  int64_t offset = 0;
  if (__builtin_sub_overflow(time, virtualNow_, &offset)) throw std::out_of_range("setWallClock: no such time");
  wallOffset_ = offset;
}

void MainLoop::run() { runUntil(std::nullopt); }

void MainLoop::runFor(int64_t ms) {
  if (kind_ == ClockKind::Virtual) {
    advance(ms);
    return;
  }
  runUntil(Later(steadyNow(), std::max<int64_t>(0, ms)));
}

void MainLoop::runUntil(std::optional<int64_t> deadline) {
  quit_ = false;
  while (!quit_) {
    runUntilIdle();
    if (quit_ || (deadline && steadyNow() >= *deadline)) break;
    std::unique_lock lock(incomingMutex_);
    if (!incoming_.empty() || !posted_.empty()) continue;
    std::optional<int64_t> wakeAt = nextDue();
    if (deadline && (!wakeAt || *deadline < *wakeAt)) wakeAt = deadline;
    if (wakeAt) {
      // wait_for counts on the steady clock too.
      wake_.wait_for(lock, std::chrono::milliseconds(std::clamp<int64_t>(*wakeAt - steadyNow(), 0, kLongestWaitMs)));
    } else {
      wake_.wait(lock);
    }
  }
}

void MainLoop::quit() {
  quit_ = true;
  wake_.notify_one();
}

void MainLoop::clear() {
  // Move everything out first: destroying a task may release objects that post or cancel.
  std::deque<Task> posted = std::move(posted_);
  std::map<TimerKey, Timer> timers = std::move(timers_);
  posted_.clear();
  timers_.clear();
  timerIndex_.clear();
  std::deque<Task> incoming;
  {
    std::lock_guard lock(incomingMutex_);
    incoming = std::move(incoming_);
    incoming_.clear();
  }
}

bool MainLoop::isEmpty() const {
  std::lock_guard lock(incomingMutex_);
  return posted_.empty() && timers_.empty() && incoming_.empty();
}

}  // namespace tmr
