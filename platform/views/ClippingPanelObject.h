#pragma once
// A panel that clips what lies inside it to its bounds: a window onto views that move or
// overflow within it (a marquee's moving text, a counter's sliding digit strips). Plain panels
// let their children show beyond their edges; this one shows only the part inside.
#include <memory>
#include <string_view>

#include "platform/views/PanelObject.h"
#include "platform/views/View.h"

namespace tmr {

class Dispatcher;

class ClippingPanelObject : public PanelObject {
 public:
  using PanelObject::PanelObject;
  bool clipsToBounds() const override { return true; }

  // A new transparent clipping panel; a non-empty event name makes it raise its events on the
  // module of ba, as UiLayer's panels do.
  static View Create(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName);
};

}  // namespace tmr
