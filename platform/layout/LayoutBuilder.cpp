#include "platform/layout/LayoutBuilder.h"

#include <cmath>
#include <limits>
#include <vector>

#include "platform/layout/LayoutError.h"
#include "platform/views/View.h"
#include "platform/views/ViewObject.h"

namespace tmr {

double LayoutBuilder::scaleFor(double width, double height) const {
  double d0 = std::hypot(referenceWidth_, referenceHeight_);
  if (d0 <= 0) return 1;
  return 1 + scaleRate_ * (std::hypot(width, height) / d0 - 1);
}

bool LayoutBuilder::IsFontSize(double size) {
  return size > 0 && size <= std::numeric_limits<float>::max() && static_cast<float>(size) > 0;
}

void LayoutBuilder::scaleAll(const Map& views, double width, double height) const {
  double s = scaleFor(width, height);
  if (s == 1) return;
  if (!std::isfinite(s)) {
    throw LayoutError(file_, "", referenceWidth_ <= referenceHeight_ ? "width" : "height",
                      "the layout's size is too small to scale its views from to a panel of " +
                          NumberToString(width).str() + " x " + NumberToString(height).str());
  }
  std::vector<View> scaled;
  for (const auto& value : views.Values()) {
    View v = View::FromObject(value);
    if (!v.IsInitialized()) continue;
    for (double x : {v.Left(), v.Top(), v.Width(), v.Height()}) {
      if (!std::isfinite(x * s))
        throw LayoutError(file_, v.native()->name(), "frame",
                          "scaled by " + NumberToString(s).str() + ", the frame lies beyond every number");
    }
    if (v.native()->hasText()) {
      auto f = v.Font();
      if (f.IsInitialized() && !IsFontSize(f.Size() * s))
        throw LayoutError(file_, v.native()->name(), "font",
                          "scaled by " + NumberToString(s).str() + ", the size " + NumberToString(f.Size()).str() +
                              " is no longer a positive number that a float holds");
    }
    scaled.push_back(v);
  }
  for (const View& v : scaled) {
    v.SetLayoutAnimated(0, v.Left() * s, v.Top() * s, v.Width() * s, v.Height() * s);
    if (v.native()->hasText()) {
      auto f = v.Font();
      if (f.IsInitialized()) v.setFont(Font::Make(f.family(), static_cast<float>(f.Size() * s), f.bold()));
    }
  }
}

}  // namespace tmr
