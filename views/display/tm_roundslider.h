#pragma once
// The round slider: picks an Int between "Min" and "Max" by touching around a circle. A ring in
// a neutral colour carries an arc in the value colour from 12 o'clock clockwise over the
// selected fraction of the range; a pin-shaped thumb sits just outside the ring at the arc's
// end, turned to point at the centre; the designer label in the middle shows the value. A touch
// outside the ring's middle line sets the value from its angle and, when that changed it,
// raises "<event name>_ValueChanged" (value) on the callback module at once. The thumb picture
// is drawn once by a bitmap creator; the rest on a canvas on the base panel.
//
// An empty range (Max = Min) draws no arc and touches give Min; a view too small for the ring
// draws no ring and gives the label no size.
#include <cstdint>
#include <memory>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Rect.h"
#include "platform/layout/LayoutRegistry.h"
#include "platform/views/Canvas.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/View.h"
#include "views/input/CustomViewBase.h"

namespace tmr {

class tm_roundslider : public CustomViewBase {
  // LayoutClass: the class as layouts name it, with its designer properties "Min", "Max" and "ValueColor"
  // (all required).
  // _base_resize: the canvas, the touch panel and the label follow the size; the thumb is made the first time.
  // partNamed: "" is the touch panel, "label" the label that shows the value.
  TMR_CUSTOM_VIEW(tm_roundslider)

  // Sets the value, kept within the range, and redraws; raises nothing.
  void _setvalue(int32_t v);
  int32_t _getvalue() const { return mvalue; }
  void _setcirclecolor(int32_t nonValueColor, int32_t fillColor);
  // New thumb colours: the thumb picture is made again.
  void _setthumbcolor(int32_t borderColor, int32_t innerColor);
  // Draws the thumb picture (171 × 196 pixels, pointing down) with the bitmap creator.
  void _createthumb();
  // Paints ring, arc, inner circle and thumb, and shows the value in the label.
  void _draw();
  // Down, move and up alike: a touch outside the ring's middle line chooses the value.
  void _pnl_touch(int32_t action, float x, float y);

  Canvas cvs;
  int32_t mvalue = 75;  // not brought into the range until it is set or touched
  int32_t mmin = 0;
  int32_t mmax = 0;
  std::shared_ptr<Bitmap> thumb;  // null until made
  View pnl;
  View xlbl;
  Rect circlerect;
  int32_t valuecolor = 0;
  int32_t stroke = 0;
  int32_t thumbsize = 0;
  int32_t mthumbbordercolor = static_cast<int32_t>(0xFF5B5B5B);
  int32_t mthumbinnercolor = UiLayer::Color_White;
  int32_t mcirclefillcolor = UiLayer::Color_White;
  int32_t mcirclenonvaluecolor = static_cast<int32_t>(0xFFB6B6B6);

 protected:
  void _class_globals() override;

 private:
  // Degrees of the arc for the value, truncated: 0 for an empty range; many turns for a value
  // far outside the range.
  int64_t valueAngle() const;
};

}  // namespace tmr
