#pragma once
// A layout's designer script (class LS_<layout name in lower case>): the layout loader runs its
// LS_general after the layout's views exist and before its custom views are made.
#include "platform/core/Map.h"

namespace tmr {

class LayoutBuilder;

class DesignerScript {
 public:
  explicit DesignerScript(LayoutBuilder& builder) : builder_(builder) {}
  virtual ~DesignerScript() = default;

  // views: the layout's views by name (a custom view by its base panel); the size of the panel
  // the layout is loaded into.
  virtual void LS_general(Map views, double width, double height) = 0;

 protected:
  // The layout builder's auto-scale rate (0: no scaling, 1: in proportion to the screen).
  void setScaleRate(float rate);
  // Scales every view of the map by the auto-scale rate (frames and text sizes).
  void scaleAll(Map views, double width, double height);

 private:
  LayoutBuilder& builder_;
};

}  // namespace tmr
