#include "platform/views/LongPressGestureRecognizer.h"

#include <cmath>

#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"

namespace tmr {

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
  std::weak_ptr<LongPressGestureRecognizer> weak = self<LongPressGestureRecognizer>();
  auto ms = static_cast<int64_t>(std::llround(minimumPressDuration_ * 1000));
  timer_ = rt_.loop().addTimer(ms, [weak] {
    auto me = weak.lock();
    if (!me || !me->pending_) return;
    me->timer_ = 0;
    me->pending_ = false;
    me->setState(Began);
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
