#include "platform/layout/LayoutBuilder.h"

#include <cmath>

#include "platform/views/View.h"

namespace tmr {

double LayoutBuilder::scaleFor(double width, double height) const {
  double d0 = std::hypot(referenceWidth_, referenceHeight_);
  if (d0 <= 0) return 1;
  return 1 + scaleRate_ * (std::hypot(width, height) / d0 - 1);
}

void LayoutBuilder::scaleAll(const Map& views, double width, double height) const {
  double s = scaleFor(width, height);
  if (s == 1) return;
  for (const auto& value : views.Values()) {
    View v = View::FromObject(value);
    if (!v.IsInitialized()) continue;
    v.SetLayoutAnimated(0, v.Left() * s, v.Top() * s, v.Width() * s, v.Height() * s);
    if (v.native()->hasText()) {
      auto f = v.Font();
      if (f.IsInitialized()) v.setFont(Font::Make(f.family(), static_cast<float>(f.Size() * s), f.bold()));
    }
  }
}

}  // namespace tmr
