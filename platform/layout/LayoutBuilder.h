#pragma once
// The layout builder's scaling, as designer scripts call it. A layout is designed for a
// reference size; loaded into a panel of another size, each view's frame and text size are
// multiplied by 1 + rate × (d / d0 − 1), d and d0 being the diagonals of the panel and of the
// reference size. On the reference size scaling changes nothing.
#include <string>
#include <utility>

#include "platform/core/Map.h"

namespace tmr {

class LayoutBuilder {
 public:
  // file: the layout's file, named by the errors of scaling.
  LayoutBuilder(double referenceWidth, double referenceHeight, std::string file = "")
      : referenceWidth_(referenceWidth), referenceHeight_(referenceHeight), file_(std::move(file)) {}

  // Whether a font of that size can exist: a positive size that a float holds.
  static bool IsFontSize(double size);

  float scaleRate() const { return scaleRate_; }
  void setScaleRate(float rate) { scaleRate_ = rate; }
  // The factor for a panel of that size.
  double scaleFor(double width, double height) const;
  // Scales every view of the map (name → View) for a panel of that size. Nothing is scaled
  // when the scale is not a finite number (a LayoutError naming "width" or "height"), when a
  // frame would be scaled beyond every number ("frame") or a text size beyond what a float
  // holds ("font"): every view is checked before the first one changes.
  void scaleAll(const Map& views, double width, double height) const;

 private:
  double referenceWidth_;
  double referenceHeight_;
  std::string file_;
  float scaleRate_ = 0;
};

}  // namespace tmr
