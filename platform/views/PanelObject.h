#pragma once
// A panel: a plain container view, transparent unless given a colour. With an event name it
// raises "click" when tapped, and "touch" (action, x, y) for each step of a touch on it when its
// module handles that event (see TouchInput).
#include "platform/views/ViewObject.h"

namespace tmr {

class PanelObject : public ViewObject {
 public:
  using ViewObject::ViewObject;
  std::string_view typeName() const override { return "Panel"; }
  bool takesTouchEvents() const override { return handlesEvent("touch", 3); }
};

}  // namespace tmr
