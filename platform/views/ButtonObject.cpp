#include "platform/views/ButtonObject.h"

namespace tmr {

ButtonObject::ButtonObject(ViewSystem& system, Style style)
    : TextViewObject(system, kTintColor, Font::Make(Font::kDefaultFamily, kDefaultTextSize),
                     TextAlignment{VerticalAlignment::Center, HorizontalAlignment::Center}),
      style_(style) {}

}  // namespace tmr
