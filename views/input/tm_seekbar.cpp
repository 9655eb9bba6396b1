#include "views/input/tm_seekbar.h"

#include <algorithm>
#include <cmath>

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/graphics/Rect.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

const SubTable& tm_seekbar::subTable() const {
  static const SubTable table{
      sub<&tm_seekbar::_designercreateview>("_designercreateview:::"),
      sub<&tm_seekbar::_base_resize>("_base_resize::"),
      sub<&tm_seekbar::_getvalue>("_getvalue"),
      sub<&tm_seekbar::_setvalue>("_setvalue:"),
      sub<&tm_seekbar::_touchpanel_touch>("_touchpanel_touch:::"),
      sub<&tm_seekbar::_setvaluebasedontouch>("_setvaluebasedontouch::"),
      sub<&tm_seekbar::_raisetouchstateevent>("_raisetouchstateevent"),
      sub<&tm_seekbar::_update>("_update"),
  };
  return table;
}

LayoutRegistry::CustomViewClass tm_seekbar::LayoutClass() {
  using Kind = LayoutRegistry::Property::Kind;
  return LayoutRegistry::CustomViewClass{[] { return std::make_shared<tm_seekbar>(); },
                                         {{"Color1", Kind::Color, std::nullopt},
                                          {"Color2", Kind::Color, std::nullopt},
                                          {"ThumbColor", Kind::Color, std::nullopt},
                                          {"Interval", Kind::Number, Object(1)},
                                          {"Min", Kind::Number, std::nullopt},
                                          {"Max", Kind::Number, std::nullopt},
                                          {"Value", Kind::Number, std::nullopt}}};
}

void tm_seekbar::_class_globals() {
  CustomViewBase::_class_globals();
  color1 = 0;
  color2 = 0;
  thumbcolor = 0;
  cvs = Canvas();
  touchpanel = View();
  mvalue = 0;
  minvalue = 0;
  maxvalue = 0;
  interval = 1;
  vertical = false;
  size1 = 4;
  size2 = 2;
  radius1 = 6;
  radius2 = 12;
  pressed = false;
  size = 0;
}

void tm_seekbar::_designercreateview(View base, LabelWrapper label, Map props) {
  CustomViewBase::_designercreateview(base, label, props);
  color1 = ui.PaintOrColorToColor(props.Get(Object("Color1")));
  color2 = ui.PaintOrColorToColor(props.Get(Object("Color2")));
  thumbcolor = ui.PaintOrColorToColor(props.Get(Object("ThumbColor")));
  interval = Object(std::max(1.0, props.GetDefault(Object("Interval"), Object(1)).AsDouble())).AsInt();
  minvalue = props.Get(Object("Min")).AsInt();
  maxvalue = props.Get(Object("Max")).AsInt();
  const double v = props.Get(Object("Value")).AsDouble();
  mvalue = Object(std::max(static_cast<double>(minvalue), std::min(static_cast<double>(maxvalue), v))).AsInt();
  cvs.Initialize(mbase);
  touchpanel = ui.CreatePanel(bi, "TouchPanel");
  mbase.AddView(touchpanel, 0, 0, mbase.Width(), mbase.Height());
  // The pressed circle's radius on this platform, also the margin at both ends of the track.
  radius2 = 20;
  // The layout loader reports only later size changes: lay out for the size given now.
  _base_resize(mbase.Width(), mbase.Height());
}

void tm_seekbar::_base_resize(double width, double height) {
  cvs.Resize(width, height);
  touchpanel.SetLayoutAnimated(0, 0, 0, width, height);
  vertical = mbase.Height() > mbase.Width();
  size = Object(std::max(mbase.Height(), mbase.Width()) - 2 * radius2).AsInt();
  _update();
}

View tm_seekbar::partNamed(std::string_view part) const {
  if (part.empty()) return touchpanel;
  return View();
}

void tm_seekbar::_setvalue(int32_t v) {
  mvalue = std::max(minvalue, std::min(maxvalue, v));
  _update();
}

double tm_seekbar::fraction(int32_t value) const {
  if (maxvalue <= minvalue) return 0;
  // In double: the distance between two Ints need not fit an Int.
  return (static_cast<double>(value) - minvalue) / (static_cast<double>(maxvalue) - minvalue);
}

void tm_seekbar::_update() {
  if (!cvs.IsInitialized()) return;
  cvs.ClearRect(cvs.TargetRect());
  if (size > 0) {
    if (!vertical) {
      const int32_t p = Object(radius2 + fraction(mvalue) * size).AsInt();
      const int32_t c = Object(mbase.Height() / 2).AsInt();
      cvs.DrawLine(radius2, c, p, c, color1, size1);
      cvs.DrawLine(p, c, mbase.Width() - radius2, c, color2, size2);
      cvs.DrawCircle(p, c, radius1, color1, true, 0);
      if (pressed) cvs.DrawCircle(p, c, radius2, thumbcolor, true, 0);
    } else {
      // The maximum is at the top.
      const int32_t p = Object(radius2 + (1 - fraction(mvalue)) * size).AsInt();
      const int32_t c = Object(mbase.Width() / 2).AsInt();
      cvs.DrawLine(c, radius2, c, p, color2, size2);
      cvs.DrawLine(c, p, c, mbase.Height() - radius2, color1, size1);
      cvs.DrawCircle(c, p, radius1, color1, true, 0);
      if (pressed) cvs.DrawCircle(c, p, radius2, thumbcolor, true, 0);
    }
  }
  cvs.Invalidate();
}

namespace {
// A touch coordinate truncated toward zero as the runtime's conversion to Int does (NaN gives 0),
// but kept whole: a finger slid far off the view lies beyond the Int range.
double TruncatedPosition(float v) { return std::isnan(v) ? 0 : std::trunc(static_cast<double>(v)); }
}  // namespace

void tm_seekbar::_touchpanel_touch(int32_t action, float x, float y) {
  const double xi = TruncatedPosition(x);
  const double yi = TruncatedPosition(y);
  if (action == UiLayer::TOUCH_ACTION_DOWN) {
    pressed = true;
    _raisetouchstateevent();
    _setvaluebasedontouch(xi, yi);
  } else if (action == UiLayer::TOUCH_ACTION_MOVE) {
    _setvaluebasedontouch(xi, yi);
  } else if (action == UiLayer::TOUCH_ACTION_UP || action == UiLayer::TOUCH_ACTION_CANCEL) {
    pressed = false;
    _raisetouchstateevent();
  }
  _update();
}

void tm_seekbar::_setvaluebasedontouch(double x, double y) {
  // A track of no length or an empty range has no position to pick.
  if (size <= 0 || maxvalue <= minvalue) return;
  const double d = vertical ? mbase.Height() - radius2 - y : x - radius2;
  if (std::isnan(d)) return;  // a base panel's size that is no number
  int32_t v = 0;
  // Beyond either end of the track lies that end's value, whatever steps the interval makes:
  // the step nearest a point past the end may fall short of it.
  if (d < 0) {
    v = minvalue;
  } else if (d > size) {
    v = maxvalue;
  } else {
    // On the track the value lies within the range; its nearest step may lie beyond the Int
    // range, so it is worked out in 64 bits and clamped once.
    const double range = static_cast<double>(maxvalue) - minvalue;
    const auto unstepped = static_cast<int64_t>(d / size * range + minvalue);
    const int64_t stepped = Common::Round(static_cast<double>(unstepped) / interval) * int64_t{interval};
    v = static_cast<int32_t>(std::clamp<int64_t>(stepped, minvalue, maxvalue));
  }
  if (v != mvalue) {
    mvalue = v;
    raise("_ValueChanged", Object(v));
  }
}

void tm_seekbar::_raisetouchstateevent() { raise("_TouchStateChanged", Object(pressed)); }

void tm_seekbar::raise(std::string_view event, Object value) {
  if (callbackHas(event, 1)) raiseEventDelayed(event, {value});
}

}  // namespace tmr
