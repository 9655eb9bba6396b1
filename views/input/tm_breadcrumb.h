#pragma once
// The breadcrumb bar: a path shown as a row of arrow-shaped crumbs, left to right, each
// labelled with one item text, drawn on the base panel's canvas. Crumbs alternate between the
// crumb colour and a darker shade of it; the crumb under the finger is outlined in a lighter
// shade. Releasing the finger on the crumb where it went down raises "<event name>_CrumbClick"
// at once with a new list of the items from the first up to the clicked one (optionally with a
// haptic tap). A transparent panel over the view takes the touches.
#include <cstdint>
#include <memory>

#include "bitmap/tm_bitmapcreator.h"
#include "platform/core/List.h"
#include "platform/graphics/Font.h"
#include "platform/layout/LayoutRegistry.h"
#include "platform/views/Canvas.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/View.h"
#include "views/input/CustomViewBase.h"

namespace tmr {

class tm_breadcrumb : public CustomViewBase {
  // LayoutClass: the class as layouts name it, with its designer properties "CrumbColor", "Items" (required;
  // the items separated by "|") and "HapticFeedback" (default false).
  // partNamed: "" is the panel that takes the touches.
  TMR_CUSTOM_VIEW(tm_breadcrumb)

  void _initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) override;

  List _getitems() const { return mitems; }
  // Keeps the list itself (later changes show at the next redraw) and redraws.
  void _setitems(List items);
  // The touch panel's touches: down and move follow the finger, up clicks.
  void _touch_touch(int32_t action, float x, float y);
  void _draw();
  // Draws one crumb starting at x; returns its width without the arrow point.
  int32_t _drawitem(int32_t x, const String& text, bool first, bool last, int32_t clr, int32_t outlineclr);
  // The index of the crumb at (x, y), or -1.
  int32_t _finditem(int32_t x, int32_t y);

  Canvas cvs;
  List mitems;
  List rightpositions;
  int32_t textcolor = 0;
  Font fnt;
  int32_t offset = 10;
  std::shared_ptr<tm_bitmapcreator> bc = std::make_shared<tm_bitmapcreator>();
  int32_t crumbcolor = 0;
  View touchpanel;
  int32_t presseditem = -1;
  bool mhaptic = false;

 protected:
  void _class_globals() override;
};

}  // namespace tmr
