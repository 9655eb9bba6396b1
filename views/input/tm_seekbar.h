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

class tm_seekbar : public ClassModule, public CustomView {
 public:
  std::string_view className() const override { return "tm_seekbar"; }
  const SubTable& subTable() const override;
  // The class as layouts name it, with its designer properties "Color1", "Color2",
  // "ThumbColor", "Min", "Max", "Value" (required) and "Interval" (default 1).
  static LayoutRegistry::CustomViewClass LayoutClass();

  void _initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) override;
  void _designercreateview(View base, LabelWrapper label, Map props) override;
  void _base_resize(double width, double height) override;
  // "" is the panel that takes the touches.
  View partNamed(std::string_view part) const override;

  int32_t _getvalue() const { return mvalue; }
  // Stores the value limited to the range (not rounded to the interval) and redraws.
  void _setvalue(int32_t v);
  // The touch panel's touches: down, move and up (other actions only redraw).
  void _touchpanel_touch(int32_t action, float x, float y);
  // The value at a touched point, rounded to the interval; raises "_ValueChanged" when it changed.
  void _setvaluebasedontouch(int32_t x, int32_t y);
  void _raisetouchstateevent();
  void _update();

  // Code modules held (tm_main is left out: it is built on the input views).
  std::shared_ptr<tm_collections> collections;
  std::shared_ptr<tm_viewsutils> viewsutils;
  std::shared_ptr<tm_dateutils> dateutils;
  String meventname;
  std::weak_ptr<Module> mcallback;  // weak: the callback module usually holds this view
  View mbase;
  UiLayer ui;
  int32_t color1 = 0;
  int32_t color2 = 0;
  int32_t thumbcolor = 0;
  Canvas cvs;
  Object tag;
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
