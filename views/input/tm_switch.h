#pragma once
// The on/off switch: a custom view of a fixed size (55 × 31 points) showing a rounded track in
// the off colour, an on-coloured bar that grows out of the track's centre as the switch turns
// on, and a round thumb that slides from the left end to the right. The picture is drawn in
// software by a bitmap creator at the screen's pixel resolution and shown in an image view; a
// transparent panel over it takes the taps. A tap toggles the value with a 200 ms animation
// (optionally with a haptic tap) and raises "<event name>_ValueChanged" with the new value on
// the callback module on the next turn of the main loop. Setting the value or the enabled state
// from code raises nothing. A disabled switch shows no thumb and ignores taps.
#include <cstdint>
#include <memory>

#include "bitmap/_bcbrush.h"
#include "bitmap/tm_bitmapcreator.h"
#include "platform/layout/LayoutRegistry.h"
#include "platform/views/ImageViewWrapper.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/View.h"
#include "views/input/CustomViewBase.h"

namespace tmr {

class tm_switch : public CustomViewBase {
  // LayoutClass: the class as layouts name it, with its designer properties "OnColor", "OffColor",
  // "ThumbColor", "Value" (required) and "HapticFeedback" (default false).
  // _base_resize: the switch keeps its fixed size.
  // partNamed: "" is the panel that takes the taps, "image" the image view that shows the picture.
  TMR_CUSTOM_VIEW(tm_switch)

  bool _getvalue() const { return mvalue; }
  // A new value is shown with the animation; the current one changes nothing. Raises nothing.
  void _setvalue(bool b);
  bool _getenabled() const { return menabled; }
  // Redraws at once in the final picture of the current value (no thumb while disabled).
  void _setenabled(bool b);
  // A tap on the switch: toggles the value (animated) and reports it on the next turn.
  void _pnl_click();
  // Sets the value and draws its first frame before returning; unless immediate, the picture
  // then moves to the new value over 200 ms.
  void _setvalueimpl(bool b, bool immediate);
  // Draws one picture: state 0 is off, 1 is on, anything between a frame of the animation.
  void _draw(float state);

  std::shared_ptr<_bcbrush> oncolor = std::make_shared<_bcbrush>();
  std::shared_ptr<_bcbrush> offcolor = std::make_shared<_bcbrush>();
  std::shared_ptr<tm_bitmapcreator> bc = std::make_shared<tm_bitmapcreator>();
  int32_t width = 55;
  int32_t height = 31;
  std::shared_ptr<_bcbrush> thumbcolor = std::make_shared<_bcbrush>();
  ImageViewWrapper iv;
  bool mvalue = false;
  std::shared_ptr<_bcbrush> transparent = std::make_shared<_bcbrush>();
  // Generation of value changes: a running animation ends as soon as it differs from its own.
  int32_t loopindex = 0;
  float scale = 0;  // pixels per point of the screen, set at creation
  bool menabled = true;
  bool mhaptic = false;

 protected:
  void _class_globals() override;
};

}  // namespace tmr
