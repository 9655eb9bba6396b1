#include "views/display/tm_roundslider.h"

#include <algorithm>
#include <cmath>

#include "bitmap/tm_bcpath.h"
#include "bitmap/tm_bitmapcreator.h"
#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/graphics/Path.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

const SubTable& tm_roundslider::subTable() const {
  static const SubTable table{
      sub<&tm_roundslider::_designercreateview>("_designercreateview:::"),
      sub<&tm_roundslider::_base_resize>("_base_resize::"),
      sub<&tm_roundslider::_setvalue>("_setvalue:"),
      sub<&tm_roundslider::_getvalue>("_getvalue"),
      sub<&tm_roundslider::_setcirclecolor>("_setcirclecolor::"),
      sub<&tm_roundslider::_setthumbcolor>("_setthumbcolor::"),
      sub<&tm_roundslider::_createthumb>("_createthumb"),
      sub<&tm_roundslider::_draw>("_draw"),
      sub<&tm_roundslider::_pnl_touch>("_pnl_touch:::"),
  };
  return table;
}

LayoutRegistry::CustomViewClass tm_roundslider::LayoutClass() {
  using Kind = LayoutRegistry::Property::Kind;
  return LayoutRegistry::CustomViewClass{[] { return std::make_shared<tm_roundslider>(); },
                                         {{"Min", Kind::Number, std::nullopt},
                                          {"Max", Kind::Number, std::nullopt},
                                          {"ValueColor", Kind::Color, std::nullopt}}};
}

void tm_roundslider::_class_globals() {
  CustomViewBase::_class_globals();
  cvs = Canvas();
  mvalue = 75;
  mmin = 0;
  mmax = 0;
  thumb = nullptr;
  pnl = View();
  xlbl = View();
  circlerect = Rect();
  valuecolor = 0;
  stroke = 0;
  thumbsize = 0;
  mthumbbordercolor = static_cast<int32_t>(0xFF5B5B5B);
  mthumbinnercolor = UiLayer::Color_White;
  mcirclefillcolor = UiLayer::Color_White;
  mcirclenonvaluecolor = static_cast<int32_t>(0xFFB6B6B6);
}

void tm_roundslider::_designercreateview(View base, LabelWrapper label, Map props) {
  CustomViewBase::_designercreateview(base, label, props);
  cvs.Initialize(mbase);
  mmin = props.Get(Object("Min")).AsInt();
  mmax = props.Get(Object("Max")).AsInt();
  pnl = ui.CreatePanel(bi, "pnl");
  xlbl = label;
  mbase.AddView(xlbl, 0, 0, 0, 0);
  mbase.AddView(pnl, 0, 0, 0, 0);
  valuecolor = ui.PaintOrColorToColor(props.Get(Object("ValueColor")));
  stroke = Common::IsDesktop ? 6 : 8;
  _base_resize(mbase.Width(), mbase.Height());
}

void tm_roundslider::_base_resize(double width, double height) {
  if (!cvs.IsInitialized()) return;
  cvs.Resize(width, height);
  pnl.SetLayoutAnimated(0, 0, 0, width, height);
  if (!thumb) _createthumb();
  const double inset = thumbsize + stroke;
  circlerect.Initialize(static_cast<float>(inset), static_cast<float>(inset), static_cast<float>(width - inset),
                        static_cast<float>(height - inset));
  // A view too small for the ring leaves the label without size rather than with a negative one.
  xlbl.SetLayoutAnimated(0, circlerect.Left, circlerect.Top, std::max(0.0f, circlerect.Width()),
                         std::max(0.0f, circlerect.Height()));
  _draw();
}

View tm_roundslider::partNamed(std::string_view part) const {
  if (part.empty()) return pnl;
  if (part == "label") return xlbl;
  return View();
}

void tm_roundslider::_setvalue(int32_t v) {
  mvalue = std::max(mmin, std::min(mmax, v));
  _draw();
}

void tm_roundslider::_setcirclecolor(int32_t nonValueColor, int32_t fillColor) {
  mcirclenonvaluecolor = nonValueColor;
  mcirclefillcolor = fillColor;
  _draw();
}

void tm_roundslider::_setthumbcolor(int32_t borderColor, int32_t innerColor) {
  mthumbbordercolor = borderColor;
  mthumbinnercolor = innerColor;
  _createthumb();
  _draw();
}

void tm_roundslider::_createthumb() {
  constexpr int32_t R = 80, G = 8, T = 28;
  auto bc = std::make_shared<tm_bitmapcreator>();
  bc->_initialize(bi, G + 2 * R + 3, T + 2 * R + G);
  auto path = std::make_shared<tm_bcpath>()->_initialize(bi, R - T + G, G + 2 * R - 2);
  path->_lineto(T + R + G, G + 2 * R - 2);
  path->_lineto(R + G, T + 2 * R + G);
  path->_lineto(R - T + G, G + 2 * R - 2);
  bc->_drawpath(path, mthumbbordercolor, true, 0);
  bc->_drawcircle(R + G, R + G, R, mthumbinnercolor, true, 0);
  bc->_drawcircle(R + G, R + G, R, mthumbbordercolor, false, 10);
  thumb = bc->_getbitmap();
  thumbsize = TruncateToInt(thumb->Height() / 4.0);
  if (xlbl.IsInitialized()) xlbl.SetTextAlignment("CENTER", "CENTER");
}

int64_t tm_roundslider::valueAngle() const {
  // An empty range has no fraction to show: no arc, rather than a division by zero.
  if (mmax == mmin) return 0;
  // A value far outside the range (the start value 75 before the first touch) goes many turns
  // round, up to 360 times the Int range: whole in 64 bits, and exact as a double.
  return static_cast<int64_t>((static_cast<double>(mvalue) - mmin) / (static_cast<double>(mmax) - mmin) * 360);
}

void tm_roundslider::_draw() {
  // Nothing to paint before the view is made: the value shows when it is.
  if (!cvs.IsInitialized() || !thumb) return;
  cvs.ClearRect(cvs.TargetRect());
  const int32_t radius = TruncateToInt(circlerect.Width() / 2.0);
  const double cx = circlerect.CenterX(), cy = circlerect.CenterY();
  cvs.DrawCircle(cx, cy, radius, mcirclenonvaluecolor, false, stroke);
  const int64_t sweep = valueAngle();
  Path arc;
  arc.InitializeArc(cx, cy, radius, -90, static_cast<double>(sweep));  // a full turn or more: the whole ring
  cvs.DrawPath(arc, valuecolor, false, stroke);
  cvs.DrawCircle(cx, cy, radius, mcirclefillcolor, true, 0);
  // The thumb stands where the angle falls: one beyond a full turn either way is brought within a
  // turn exactly, as the sine and cosine of millions of turns in double would drift.
  const auto angle = static_cast<double>(sweep < -360 || sweep > 360 ? sweep % 360 : sweep);
  const int32_t d = TruncateToInt(radius + thumbsize / 2.0 + stroke / 2.0);
  const double rad = (angle - 90) / 180.0 * Common::cPI;
  const int32_t x = TruncateToInt(cx + d * std::cos(rad));
  const int32_t y = TruncateToInt(cy + d * std::sin(rad));
  const double halfWidth = thumb->Width() / 8.0, halfHeight = thumbsize / 2.0;
  cvs.DrawBitmapRotated(thumb,
                        Rect(static_cast<float>(x - halfWidth), static_cast<float>(y - halfHeight),
                             static_cast<float>(x + halfWidth), static_cast<float>(y + halfHeight)),
                        angle);
  cvs.Invalidate();
  xlbl.setText(Common::NumberToString(mvalue));
}

void tm_roundslider::_pnl_touch(int32_t action, float x, float y) {
  // A cancelled touch picks no value: the value stays where the last move put it.
  if (action == UiLayer::TOUCH_ACTION_MOVE_NOTOUCH || action == UiLayer::TOUCH_ACTION_CANCEL) return;
  const int32_t dx = TruncateToInt(x - circlerect.CenterX());
  const int32_t dy = TruncateToInt(y - circlerect.CenterY());
  const double dist = std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
  if (!(dist > circlerect.Width() / 2.0)) return;
  int32_t a = static_cast<int32_t>(Common::Round(std::atan2(dy, dx) / Common::cPI * 180));
  a = (a + 450) % 360;
  int32_t v = TruncateToInt(mmin + a / 360.0 * (static_cast<double>(mmax) - mmin));
  v = std::max(mmin, std::min(mmax, v));
  if (v != mvalue) {
    mvalue = v;
    raiseEvent("_ValueChanged", {Object(v)});
  }
  _draw();
}

}  // namespace tmr
