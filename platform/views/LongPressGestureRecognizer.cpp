#include "platform/views/LongPressGestureRecognizer.h"

#include <cmath>
#include <optional>

#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"

namespace tmr {

namespace {

// The delay of a positive duration, in whole ms, or nothing when it would end past the clock's
// end or never (NaN): worked in double, then checked once against the clock in 64 bits.
std::optional<int64_t> DelayMs(double seconds, int64_t now) {
  double ms = std::round(seconds * 1000);
  if (!(ms < 0x1p63)) return std::nullopt;
  auto delay = static_cast<int64_t>(ms);
  int64_t due = 0;
  if (__builtin_add_overflow(now, delay, &due)) return std::nullopt;
  return delay;
}

}  // namespace

LongPressGestureRecognizer::~LongPressGestureRecognizer() = default;

void LongPressGestureRecognizer::stopTimer() {
  if (timer_) rt_.loop().cancelTimer(timer_);
  timer_ = 0;
}

void LongPressGestureRecognizer::touchBegan(double x, double y) {
  stopTimer();
  startX_ = x;
  startY_ = y;
  if (minimumPressDuration_ <= 0) {
    pending_ = false;
    setState(Began);
    return;
  }
  pending_ = true;
  setState(Possible);
  auto delay = DelayMs(minimumPressDuration_, rt_.loop().steadyNow());
  if (!delay) return;  // the touch fails when it ends
  std::weak_ptr<LongPressGestureRecognizer> weak = self<LongPressGestureRecognizer>();
  timer_ = rt_.loop().addTimer(*delay, [weak] {
    auto me = weak.lock();
    if (!me || !me->pending_) return;
    me->timer_ = 0;
    me->pending_ = false;
    me->setState(Began);
    me->recognizedBetweenTouchEvents();
  });
}

void LongPressGestureRecognizer::touchMoved(double x, double y) {
  if (pending_) {
    if (std::hypot(x - startX_, y - startY_) > allowableMovement_) {
      stopTimer();
      pending_ = false;
      setState(Failed);
    }
    return;
  }
  if (state() == Began || state() == Changed) setState(Changed);
}

void LongPressGestureRecognizer::touchEnded(double, double) {
  if (pending_) {
    stopTimer();
    pending_ = false;
    setState(Failed);
    return;
  }
  if (state() == Began || state() == Changed) setState(Ended);
}

void LongPressGestureRecognizer::touchCancelled() {
  if (pending_) {
    stopTimer();
    pending_ = false;
    setState(Failed);
    return;
  }
  if (state() == Began || state() == Changed) setState(Cancelled);
}

Object LongPressGestureRecognizer::runMethod(std::string_view selector, std::vector<Object> args) {
  if (selector == "setMinimumPressDuration:" && args.size() == 1) {
    minimumPressDuration_ = args[0].AsDouble();
    return {};
  }
  if (selector == "minimumPressDuration" && args.empty()) return Object(minimumPressDuration_);
  if (selector == "setAllowableMovement:" && args.size() == 1) {
    allowableMovement_ = args[0].AsDouble();
    return {};
  }
  return GestureRecognizer::runMethod(selector, std::move(args));
}

}  // namespace tmr
