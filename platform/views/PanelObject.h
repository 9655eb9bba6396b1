#pragma once
// A panel: a plain container view, transparent unless given a colour. With an event name it
// raises "click" when tapped.
#include "platform/views/ViewObject.h"

namespace tmr {

class PanelObject : public ViewObject {
 public:
  using ViewObject::ViewObject;
  std::string_view typeName() const override { return "Panel"; }
};

}  // namespace tmr
