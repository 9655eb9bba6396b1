#include "views/display/tm_loadingindicator.h"

#include <cmath>

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/graphics/Path.h"
#include "platform/graphics/Rect.h"
#include "views/display/ResumableSub_loadingindicator_MainLoop.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

const SubTable& tm_loadingindicator::subTable() const {
  static const SubTable table{
      sub<&tm_loadingindicator::_designercreateview>("_designercreateview:::"),
      sub<&tm_loadingindicator::_base_resize>("_base_resize::"),
      sub<&tm_loadingindicator::_show>("_show"),
      sub<&tm_loadingindicator::_hide>("_hide"),
      sub<&tm_loadingindicator::_mainloop>("_mainloop"),
      sub<&tm_loadingindicator::_setalpha>("_setalpha::"),
      sub<&tm_loadingindicator::_draw_arc1>("_draw_arc1:"),
      sub<&tm_loadingindicator::_draw_arc2>("_draw_arc2:"),
      sub<&tm_loadingindicator::_draw_fivelines1>("_draw_fivelines1:"),
      sub<&tm_loadingindicator::_draw_pacman>("_draw_pacman:"),
      sub<&tm_loadingindicator::_draw_singlecircle>("_draw_singlecircle:"),
      sub<&tm_loadingindicator::_draw_threecircles1>("_draw_threecircles1:"),
      sub<&tm_loadingindicator::_draw_threecircles2>("_draw_threecircles2:"),
  };
  return table;
}

LayoutRegistry::CustomViewClass tm_loadingindicator::LayoutClass() {
  using Kind = LayoutRegistry::Property::Kind;
  return LayoutRegistry::CustomViewClass{[] { return std::make_shared<tm_loadingindicator>(); },
                                         {{"Color", Kind::Color, std::nullopt},
                                          {"IndicatorStyle", Kind::Text, std::nullopt},
                                          {"Duration", Kind::Number, std::nullopt}}};
}

void tm_loadingindicator::_class_globals() {
  CustomViewBase::_class_globals();
  clr = 0;
  index = 0;
  cvs = Canvas();
  duration = 0;
  drawingsubname = "";
}

void tm_loadingindicator::_designercreateview(View base, LabelWrapper label, Map props) {
  CustomViewBase::_designercreateview(base, label, props);
  clr = ui.PaintOrColorToColor(props.Get(Object("Color")));
  String style = props.Get(Object("IndicatorStyle")).AsString();
  duration = props.Get(Object("Duration")).AsInt();
  drawingsubname = String("Draw_") + style.Replace(" ", "");
  cvs.Initialize(mbase);
  _mainloop();
}

void tm_loadingindicator::_base_resize(double width, double height) {
  if (!cvs.IsInitialized()) return;
  cvs.Resize(width, height);
  _mainloop();
}

View tm_loadingindicator::partNamed(std::string_view part) const { return part.empty() ? mbase : View(); }

void tm_loadingindicator::_show() {
  mbase.setVisible(true);
  _mainloop();
}

void tm_loadingindicator::_hide() {
  mbase.setVisible(false);
  index += 1;
}

void tm_loadingindicator::_mainloop() {
  auto rs = std::make_shared<ResumableSub_loadingindicator_MainLoop>(self<tm_loadingindicator>());
  rs->start();
}

int32_t tm_loadingindicator::_setalpha(int32_t color, int32_t alpha) {
  // The runtime's Int arithmetic wraps; shifting the alpha into the top byte keeps its low 8 bits.
  uint32_t rgb = static_cast<uint32_t>(color) & 0xFFFFFFu;
  return static_cast<int32_t>(rgb + (static_cast<uint32_t>(alpha) << 24));
}

void tm_loadingindicator::wedge(double cx, double cy, double radius, double start, double sweep) {
  Path p;
  p.InitializeArc(cx, cy, radius, start, sweep);
  cvs.ClipPath(p);
  cvs.DrawRect(cvs.TargetRect(), clr, true, 0);
  cvs.RemoveClip();
}

void tm_loadingindicator::_draw_arc1(float p) {
  Rect t = cvs.TargetRect();
  double r = t.CenterX() - 5.0;
  if (p < 0.5f) {
    wedge(t.CenterX(), t.CenterY(), r, -90, p * 2.0 * 360);
  } else {
    wedge(t.CenterX(), t.CenterY(), r, -90, -(1 - p) * 2.0 * 360);
  }
}

void tm_loadingindicator::_draw_arc2(float p) {
  Rect t = cvs.TargetRect();
  double r = t.CenterX() - 5.0;
  if (p < 0.5f) {
    wedge(t.CenterX(), t.CenterY(), r, -90, p * 2.0 * 360);
  } else {
    wedge(t.CenterX(), t.CenterY(), r, -90, 360 - (p - 0.5) * 2.0 * 360);
  }
}

void tm_loadingindicator::_draw_fivelines1(float p) {
  Rect t = cvs.TargetRect();
  int32_t h = TruncateToInt(t.Height() / 2.0);
  int32_t step = TruncateToInt((t.Width() - 2.0) / 5);
  for (int i = 0; i <= 4; ++i) {
    double l = 10 + h / 2.0 + h / 2.0 * Common::SinD(p * 360.0 - 30 * i);
    double x = step * i + 2;
    cvs.DrawLine(x, t.CenterY() - l, x, t.CenterY() + l, clr, 4);
  }
}

void tm_loadingindicator::_draw_pacman(float p) {
  Rect t = cvs.TargetRect();
  const double cx = t.CenterX(), cy = t.CenterY();
  cvs.DrawCircle(t.Width() - 5.0 - p * (cx - 10), cy, 5, _setalpha(clr, TruncateToInt(255 - p * 200.0)), true, 0);
  int32_t m = TruncateToInt(70 * Common::SinD(p * 180.0));
  double bx = TruncateToInt(cx - 5), by = TruncateToInt(cy), br = TruncateToInt(cy - 5);
  if (m == 0) {
    cvs.DrawCircle(bx, by, br, clr, true, 0);
  } else {
    wedge(bx, by, br, -m / 2.0, -(360.0 - m));
  }
}

void tm_loadingindicator::_draw_singlecircle(float p) {
  Rect t = cvs.TargetRect();
  for (int i = 0; i < 3; ++i)
    cvs.DrawCircle(t.CenterX(), t.CenterY(), t.CenterX() * p, _setalpha(clr, TruncateToInt(255 - 255.0 * p)), true, 0);
}

void tm_loadingindicator::_draw_threecircles1(float p) {
  Rect t = cvs.TargetRect();
  double r = (t.Width() / 2.0 - 20) / 2;
  double d = 10 + r + r * std::sin(p * 2 * Common::cPI);
  for (int i = 0; i <= 2; ++i) {
    int32_t a = TruncateToInt(120 * i + p * 360.0);
    cvs.DrawCircle(t.CenterX() + d * Common::SinD(a), t.CenterY() + d * Common::CosD(a), 7, clr, true, 1);
  }
}

void tm_loadingindicator::_draw_threecircles2(float p) {
  Rect t = cvs.TargetRect();
  int32_t s = TruncateToInt(t.Width() / 2.0 / 3 - 5 - 2);
  for (int i = 0; i <= 2; ++i) {
    double radius = 5 + s / 2.0 + s / 2.0 * Common::SinD(p * 360.0 - 60 * i);
    cvs.DrawCircle(s + 5 + (s + 7) * 2.0 * i, t.CenterY(), radius, clr, true, 0);
  }
}

}  // namespace tmr
