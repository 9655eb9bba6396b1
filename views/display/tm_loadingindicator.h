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

#include "platform/core/Module.h"
#include "platform/layout/LayoutRegistry.h"
#include "platform/views/Canvas.h"
#include "platform/views/CustomView.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/UiLayer.h"
#include "platform/views/View.h"

namespace tmr {

class tm_collections;
class tm_dateutils;
class tm_viewsutils;

class tm_loadingindicator : public ClassModule, public CustomView {
 public:
  std::string_view className() const override { return "tm_loadingindicator"; }
  const SubTable& subTable() const override;
  // The class as layouts name it, with its designer properties "Color", "IndicatorStyle" and
  // "Duration" (all required).
  static LayoutRegistry::CustomViewClass LayoutClass();

  void _initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) override;
  // Starts the animation, whether or not the base panel is visible.
  void _designercreateview(View base, LabelWrapper label, Map props) override;
  // The canvas takes the new size and a fresh loop replaces the running one.
  void _base_resize(double width, double height) override;
  // "" is the base panel.
  View partNamed(std::string_view part) const override;

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

  // Code modules held (tm_main is left out: it is built on the views).
  std::shared_ptr<tm_collections> collections;
  std::shared_ptr<tm_viewsutils> viewsutils;
  std::shared_ptr<tm_dateutils> dateutils;
  String meventname;                // kept, not used
  std::weak_ptr<Module> mcallback;  // kept, not used
  View mbase;
  UiLayer ui;
  int32_t clr = 0;
  // Generation of the animation: a running loop ends as soon as it differs from its own.
  int32_t index = 0;
  Canvas cvs;
  int32_t duration = 0;  // one cycle, ms; 0 or less shows the first picture of the cycle still
  String drawingsubname;
  Object tag;

 protected:
  void _class_globals() override;

 private:
  // The whole canvas filled in clr inside the wedge at (cx, cy).
  void wedge(double cx, double cy, double radius, double start, double sweep);
};

}  // namespace tmr
