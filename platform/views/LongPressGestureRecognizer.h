#pragma once
// The long-press recognizer: a touch held for minimumPressDuration seconds without moving more
// than allowableMovement points begins the gesture (1), moves change it (2), lifting the finger
// ends it (3), a cancelled touch cancels it (4); a touch that ends or moves too far before the
// duration fails (5) without telling the target. With duration 0 (or less) it begins at
// touch-down. The duration runs on the loop's clock, in whole milliseconds; one that would end
// past the clock's end (a huge one, infinity) never comes due, and neither does NaN: no touch
// is held that long, so the touch fails when it lifts. The duration reads back as it was set.
#include <cstdint>

#include "platform/core/MainLoop.h"
#include "platform/views/GestureRecognizer.h"

namespace tmr {

class Runtime;

class LongPressGestureRecognizer : public GestureRecognizer {
 public:
  explicit LongPressGestureRecognizer(Runtime& rt) : rt_(rt) {}
  ~LongPressGestureRecognizer() override;

  double minimumPressDuration() const { return minimumPressDuration_; }
  void setMinimumPressDuration(double seconds) { minimumPressDuration_ = seconds; }

  void touchBegan(double x, double y) override;
  void touchMoved(double x, double y) override;
  void touchEnded(double x, double y) override;
  void touchCancelled() override;

  // Adds "setMinimumPressDuration:", "minimumPressDuration", "setAllowableMovement:".
  Object runMethod(std::string_view selector, std::vector<Object> args) override;

 protected:
  std::string_view className() const override { return "UILongPressGestureRecognizer"; }

 private:
  void stopTimer();

  Runtime& rt_;
  double minimumPressDuration_ = 0.5;
  double allowableMovement_ = 10;
  double startX_ = 0;
  double startY_ = 0;
  bool pending_ = false;  // touch down, duration not yet over
  MainLoop::TimerId timer_ = 0;
};

}  // namespace tmr
