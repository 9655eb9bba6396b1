#pragma once
// The loading indicator: an endlessly repeating busy animation in one colour, drawn on a canvas
// on the base panel about every 10 ms. The position in the animation is a progress from 0 to 1
// taken from the clock (elapsed time modulo one cycle of "Duration" ms), so the speed does not
// depend on how often frames are drawn. Each style is a drawing sub called by name with the
// progress: "Draw_" followed by the style text without its blanks, in any letter case. The
// designer offers the styles "Arc 1", "Arc 2", "Five Lines 1", "PacMan", "Single Circle",
// "Three Circles 1" and "Three Circles 2"; a style that names no drawing sub draws nothing.
// Angles are degrees, 0 at 3 o'clock, clockwise. It raises no events.
#include <cstdint>
#include <memory>

#include "platform/layout/LayoutRegistry.h"
#include "platform/views/Canvas.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/View.h"
#include "views/input/CustomViewBase.h"

namespace tmr {

class tm_loadingindicator : public CustomViewBase {
  // LayoutClass: the class as layouts name it, with its designer properties "Color", "IndicatorStyle" and
  // "Duration" (all required).
  // _designercreateview: starts the animation, whether or not the base panel is visible.
  // _base_resize: the canvas takes the new size and a fresh loop replaces the running one.
  // partNamed: "" is the base panel.
  TMR_CUSTOM_VIEW(tm_loadingindicator)

  // Shows the base panel and (re)starts the animation.
  void _show();
  // Hides the base panel; the running loop ends at its next turn.
  void _hide();
  // Starts a new animation loop; the one running ends at its next turn.
  void _mainloop();
  // The colour with its alpha (0..255) replaced.
  int32_t _setalpha(int32_t color, int32_t alpha);

  // The drawing subs of the styles; the progress is 0 <= p < 1.
  void _draw_arc1(float p);
  void _draw_arc2(float p);
  void _draw_fivelines1(float p);
  void _draw_pacman(float p);
  void _draw_singlecircle(float p);
  void _draw_threecircles1(float p);
  void _draw_threecircles2(float p);

  String meventname;                // kept, not used
  std::weak_ptr<Module> mcallback;  // kept, not used
  int32_t clr = 0;
  // Generation of the animation: a running loop ends as soon as it differs from its own.
  int32_t index = 0;
  Canvas cvs;
  int32_t duration = 0;  // one cycle, ms; 0 or less shows the first picture of the cycle still
  String drawingsubname;

 protected:
  void _class_globals() override;

 private:
  // The whole canvas filled in clr inside the wedge at (cx, cy).
  void wedge(double cx, double cy, double radius, double start, double sweep);
};

}  // namespace tmr
