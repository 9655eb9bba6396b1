#include "platform/driver/Finger.h"

#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/TouchInput.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

void Finger::centreOf(const View& view, double& x, double& y) const {
  Frame f;
  if (!view.IsInitialized() || !TouchInput::frameIn(*view.native(), *root_.native(), f))
    throw RuntimeError("The finger cannot reach a view that is not on the screen");
  x = f.centerX();
  y = f.centerY();
}

View Finger::press(const View& target) {
  double x = 0, y = 0;
  centreOf(target, x, y);
  return pressAt(x, y);
}

View Finger::pressAt(double x, double y) {
  downX_ = x;
  downY_ = y;
  return View(ViewSystem::of(rt_).touches().down(root_.native(), x, y));
}

void Finger::moveBy(double dx, double dy) { ViewSystem::of(rt_).touches().move(downX_ + dx, downY_ + dy); }

void Finger::moveTo(double x, double y) { ViewSystem::of(rt_).touches().move(x, y); }

void Finger::release() { ViewSystem::of(rt_).touches().up(); }

View Finger::tap(const View& target) {
  View hit = press(target);
  release();
  return hit;
}

void Finger::drag(const View& target, double dx, double dy, int64_t durationMs, int steps) {
  press(target);
  if (steps < 1) steps = 1;
  for (int i = 1; i <= steps; ++i) {
    rt_.loop().advance(durationMs / steps);
    moveBy(dx * i / steps, dy * i / steps);
  }
  release();
}

void Finger::hold(const View& target, int64_t holdMs) {
  press(target);
  rt_.loop().advance(holdMs);
  release();
}

}  // namespace tmr
