#pragma once
// The device's layout values (a runtime service, GetDeviceLayoutValues): how many screen pixels
// make one point. Views that draw their own pictures in software size their pixel buffers by it
// so that the picture stays sharp. The scale is fixed for a runtime: 2 unless the host or a test
// sets another before views are made.
#include "platform/core/Runtime.h"

namespace tmr {

class LayoutValues {
 public:
  static constexpr float kDefaultScale = 2;

  explicit LayoutValues(Runtime&) {}
  static LayoutValues& GetDeviceLayoutValues(Runtime& rt) { return rt.service<LayoutValues>(); }

  // Pixels per point of the screen itself (not normalised to a reference device).
  float NonnormalizedScale() const { return scale_; }
  // A scale that is not positive and finite is rejected (RuntimeError).
  void setNonnormalizedScale(float scale);

 private:
  float scale_ = kDefaultScale;
};

}  // namespace tmr
