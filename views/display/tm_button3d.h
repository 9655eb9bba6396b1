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

class tm_button3d : public ClassModule, public CustomView {
 public:
  std::string_view className() const override { return "tm_button3d"; }
  const SubTable& subTable() const override;
  // The class as layouts name it, with its designer properties "PrimaryColor" and
  // "SecondaryColor" (required), "DisabledColor" (0xFF999999), "CornersRadius" (15),
  // "SideHeight" (5), "ButtonEnabled" (true) and "HapticFeedback" (false).
  static LayoutRegistry::CustomViewClass LayoutClass();

  void _initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) override;
  void _designercreateview(View base, LabelWrapper label, Map props) override;
  // The canvas, the label and the touch panel take the new size; then the button is redrawn.
  void _base_resize(double width, double height) override;
  // "" is the touch panel, "label" the button's text.
  View partNamed(std::string_view part) const override;

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

  // Code modules held (tm_main is left out: it is built on the views).
  std::shared_ptr<tm_collections> collections;
  std::shared_ptr<tm_viewsutils> viewsutils;
  std::shared_ptr<tm_dateutils> dateutils;
  String meventname;
  std::weak_ptr<Module> mcallback;  // weak: the callback module usually holds this view
  View mbase;
  UiLayer ui;
  Canvas cvs;
  View xlbl;
  int32_t clr1 = 0;
  int32_t clr2 = 0;
  int32_t disabledcolor = 0;
  bool pressed = false;
  Object tag;
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
