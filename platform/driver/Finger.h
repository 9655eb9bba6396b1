#pragma once
// One finger on a view tree, on the virtual clock: touches a view at its centre (or a point),
// moves, drags and holds the way a person does. It runs nothing by itself except the time a
// drag or a hold takes (the clock advances through it), so a test decides when posted calls
// run: right after an action nothing posted has run yet.
#include <cstdint>

#include "platform/views/View.h"

namespace tmr {

class Runtime;

class Finger {
 public:
  // root: the view whose coordinates the finger uses (usually the screen's root panel).
  Finger(Runtime& rt, View root) : rt_(rt), root_(std::move(root)) {}

  // Down at the centre of target, which must lie inside root (fails with a RuntimeError when it
  // does not); returns the view the touch landed on, or uninitialised.
  View press(const View& target);
  View pressAt(double x, double y);
  // Moves to where the finger went down plus (dx, dy).
  void moveBy(double dx, double dy);
  // Moves to (x, y) in root's coordinates.
  void moveTo(double x, double y);
  void release();
  View tap(const View& target);
  // Down at the centre of target, then moves to (dx, dy) away in `steps` even steps over
  // durationMs, and lifts there.
  void drag(const View& target, double dx, double dy, int64_t durationMs = 300, int steps = 10);
  // Down at the centre of target, holds for holdMs, and lifts.
  void hold(const View& target, int64_t holdMs);

  // The centre of view in root's coordinates (scroll offsets included); a RuntimeError when
  // view is not inside root.
  void centreOf(const View& view, double& x, double& y) const;

 private:
  Runtime& rt_;
  View root_;
  double downX_ = 0;
  double downY_ = 0;
};

}  // namespace tmr
