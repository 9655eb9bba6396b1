#pragma once
// The seek bar: lets the user pick an integer between a minimum and a maximum, in steps of an
// interval, by touching or dragging along a track drawn on the base panel's canvas. It is
// horizontal unless its view is strictly taller than wide (then the maximum is at the top).
// A transparent panel over the view takes the touches. On the next turn of the main loop it
// raises "<event name>_TouchStateChanged" (True when a touch begins, False when it ends) and
// "<event name>_ValueChanged" with a value a touch changed; setting the value from code raises
// nothing. A track of no length or an empty range draws no track and touches change no value.
#include <cstdint>
#include <memory>

#include "platform/layout/LayoutRegistry.h"
#include "platform/views/Canvas.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/View.h"
#include "views/input/CustomViewBase.h"

namespace tmr {

class tm_seekbar : public CustomViewBase {
  // LayoutClass: the class as layouts name it, with its designer properties "Color1", "Color2",
  // "ThumbColor", "Min", "Max", "Value" (required) and "Interval" (default 1).
  // partNamed: "" is the panel that takes the touches.
  TMR_CUSTOM_VIEW(tm_seekbar)

  int32_t _getvalue() const { return mvalue; }
  // Stores the value limited to the range (not rounded to the interval) and redraws.
  void _setvalue(int32_t v);
  // The touch panel's touches: down, move and up (other actions only redraw).
  void _touchpanel_touch(int32_t action, float x, float y);
  // The value at a touched point (whole coordinates, of any size): the nearest step of the
  // interval on the track, the end's value beyond either end; raises "_ValueChanged" when it changed.
  void _setvaluebasedontouch(double x, double y);
  void _raisetouchstateevent();
  void _update();

  int32_t color1 = 0;
  int32_t color2 = 0;
  int32_t thumbcolor = 0;
  Canvas cvs;
  View touchpanel;
  int32_t mvalue = 0;
  int32_t minvalue = 0;
  int32_t maxvalue = 0;
  int32_t interval = 1;
  bool vertical = false;
  int32_t size1 = 4;
  int32_t size2 = 2;
  int32_t radius1 = 6;
  int32_t radius2 = 12;
  bool pressed = false;
  int32_t size = 0;

 protected:
  void _class_globals() override;

 private:
  // Where the thumb lies along the track, 0 at the minimum end (0 for an empty range).
  double fraction(int32_t value) const;
  void raise(std::string_view event, Object value);
};

}  // namespace tmr
