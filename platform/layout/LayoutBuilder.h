#pragma once
// The layout builder's scaling, as designer scripts call it. A layout is designed for a
// reference size; loaded into a panel of another size, each view's frame and text size are
// multiplied by 1 + rate × (d / d0 − 1), d and d0 being the diagonals of the panel and of the
// reference size. On the reference size scaling changes nothing.
#include "platform/core/Map.h"

namespace tmr {

class LayoutBuilder {
 public:
  LayoutBuilder(double referenceWidth, double referenceHeight)
      : referenceWidth_(referenceWidth), referenceHeight_(referenceHeight) {}

  float scaleRate() const { return scaleRate_; }
  void setScaleRate(float rate) { scaleRate_ = rate; }
  // The factor for a panel of that size.
  double scaleFor(double width, double height) const;
  // Scales every view of the map (name → View) for a panel of that size.
  void scaleAll(const Map& views, double width, double height) const;

 private:
  double referenceWidth_;
  double referenceHeight_;
  float scaleRate_ = 0;
};

}  // namespace tmr
