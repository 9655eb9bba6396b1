#pragma once
// The 3D push button: a rounded face in the primary colour standing on a rounded side strip in
// the secondary colour that shows below it, drawn on a canvas on the base panel. A finger down
// draws the face lowered onto the strip and moves the designer label (the button's text) down
// with it; moving out raises it again, back in lowers it; lifting inside raises
// "<event name>_Click" (after a haptic tap when "HapticFeedback"). "_ButtonDown" and
// "_ButtonUp" report the pressed state to a callback that has those subs. Every event arrives
// on the next turn of the main loop. A disabled button is drawn flat in the disabled colour and
// ignores touches; enabling or disabling raises nothing.
#include <cstdint>
#include <memory>

#include "platform/layout/LayoutRegistry.h"
#include "platform/views/Canvas.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/View.h"
#include "views/input/CustomViewBase.h"

namespace tmr {

class tm_button3d : public CustomViewBase {
  // LayoutClass: the class as layouts name it, with its designer properties "PrimaryColor" and
  // "SecondaryColor" (required), "DisabledColor" (0xFF999999), "CornersRadius" (15),
  // "SideHeight" (5), "ButtonEnabled" (true) and "HapticFeedback" (false).
  // _base_resize: the canvas, the label and the touch panel take the new size; then the button is redrawn.
  // partNamed: "" is the touch panel, "label" the button's text.
  TMR_CUSTOM_VIEW(tm_button3d)

  // Paints the button raised or pressed.
  void _draw();
  void _update() { _draw(); }
  void _setcolors(int32_t primary, int32_t secondary);
  // A disabled button is drawn pressed; nothing is raised.
  void _setenabled(bool enabled);
  bool _getenabled() const { return !mdisabled; }
  // Records the pressed state and posts "_ButtonDown" or "_ButtonUp" when the callback has it;
  // the same state again does nothing. Does not redraw.
  void _setpressedstate(bool b);
  void _p_touch(int32_t action, float x, float y);

  Canvas cvs;
  View xlbl;
  int32_t clr1 = 0;
  int32_t clr2 = 0;
  int32_t disabledcolor = 0;
  bool pressed = false;
  bool mdisabled = false;
  int32_t cornersradius = 0;
  int32_t sideheight = 0;
  bool mhaptic = false;

 protected:
  void _class_globals() override;

 private:
  void roundedRect(float left, float top, float right, float bottom, int32_t color);
};

}  // namespace tmr
