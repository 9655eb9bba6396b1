#include "views/display/tm_button3d.h"

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/graphics/Path.h"
#include "platform/graphics/Rect.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

const SubTable& tm_button3d::subTable() const {
  static const SubTable table{
      sub<&tm_button3d::_designercreateview>("_designercreateview:::"),
      sub<&tm_button3d::_base_resize>("_base_resize::"),
      sub<&tm_button3d::_draw>("_draw"),
      sub<&tm_button3d::_update>("_update"),
      sub<&tm_button3d::_setcolors>("_setcolors::"),
      sub<&tm_button3d::_setenabled>("_setenabled:"),
      sub<&tm_button3d::_getenabled>("_getenabled"),
      sub<&tm_button3d::_setpressedstate>("_setpressedstate:"),
      sub<&tm_button3d::_p_touch>("_p_touch:::"),
  };
  return table;
}

LayoutRegistry::CustomViewClass tm_button3d::LayoutClass() {
  using Kind = LayoutRegistry::Property::Kind;
  return LayoutRegistry::CustomViewClass{[] { return std::make_shared<tm_button3d>(); },
                                         {{"PrimaryColor", Kind::Color, std::nullopt},
                                          {"SecondaryColor", Kind::Color, std::nullopt},
                                          {"DisabledColor", Kind::Color, Object(static_cast<int32_t>(0xFF999999))},
                                          {"CornersRadius", Kind::Number, Object(15)},
                                          {"SideHeight", Kind::Number, Object(5)},
                                          {"ButtonEnabled", Kind::Boolean, Object(true)},
                                          {"HapticFeedback", Kind::Boolean, Object(false)}}};
}

void tm_button3d::_class_globals() {
  CustomViewBase::_class_globals();
  cvs = Canvas();
  xlbl = View();
  clr1 = 0;
  clr2 = 0;
  disabledcolor = 0;
  pressed = false;
  mdisabled = false;
  cornersradius = 0;
  sideheight = 0;
  mhaptic = false;
}

void tm_button3d::_designercreateview(View base, LabelWrapper label, Map props) {
  CustomViewBase::_designercreateview(base, label, props);
  View p = ui.CreatePanel(bi, "p");
  p.setColor(UiLayer::Color_Transparent);
  clr1 = ui.PaintOrColorToColor(props.Get(Object("PrimaryColor")));
  clr2 = ui.PaintOrColorToColor(props.Get(Object("SecondaryColor")));
  disabledcolor =
      ui.PaintOrColorToColor(props.GetDefault(Object("DisabledColor"), Object(static_cast<int32_t>(0xFF999999))));
  cornersradius = props.GetDefault(Object("CornersRadius"), Object(15)).AsInt();
  sideheight = props.GetDefault(Object("SideHeight"), Object(5)).AsInt();
  mdisabled = !props.GetDefault(Object("ButtonEnabled"), Object(true)).AsBool();
  mhaptic = props.GetDefault(Object("HapticFeedback"), Object(false)).AsBool();
  pressed = mdisabled;
  xlbl = label;
  mbase.AddView(xlbl, 0, 0, 0, 0);
  mbase.AddView(p, 0, 0, 0, 0);  // on top: it takes every touch
  xlbl.SetTextAlignment("CENTER", "CENTER");
  cvs.Initialize(mbase);
  _base_resize(mbase.Width(), mbase.Height());
}

void tm_button3d::_base_resize(double width, double height) {
  if (!cvs.IsInitialized()) return;
  cvs.Resize(width, height);
  for (const auto& v : mbase.GetAllViewsRecursive()) v.SetLayoutAnimated(0, 0, 0, width, height);
  _draw();
}

View tm_button3d::partNamed(std::string_view part) const {
  if (!mbase.IsInitialized() || mbase.NumberOfViews() < 2) return View();
  if (part.empty()) return mbase.GetView(1);
  if (part == "label") return xlbl;
  return View();
}

void tm_button3d::roundedRect(float left, float top, float right, float bottom, int32_t color) {
  Path p;
  p.InitializeRoundedRect(Rect(left, top, right, bottom), cornersradius);
  cvs.DrawPath(p, color, true, 0);
}

void tm_button3d::_draw() {
  if (!cvs.IsInitialized()) return;  // nothing to paint before the view is made
  const auto W = static_cast<float>(mbase.Width()), H = static_cast<float>(mbase.Height());
  const auto S = static_cast<float>(sideheight);
  cvs.ClearRect(cvs.TargetRect());
  if (pressed) {
    xlbl.setTop(S);
    roundedRect(0, S, W, H, mdisabled ? disabledcolor : clr1);
  } else {
    xlbl.setTop(0);
    roundedRect(0, S, W, H, clr2);
    roundedRect(0, 0, W, H - S, clr1);
  }
  cvs.Invalidate();
}

void tm_button3d::_setcolors(int32_t primary, int32_t secondary) {
  clr1 = primary;
  clr2 = secondary;
  _draw();
}

void tm_button3d::_setenabled(bool enabled) {
  mdisabled = !enabled;
  pressed = mdisabled;
  _draw();
}

void tm_button3d::_setpressedstate(bool b) {
  if (b == pressed) return;
  const char* event = b ? "_ButtonDown" : "_ButtonUp";
  if (callbackHas(event, 0)) raiseEventDelayed(event);
  pressed = b;
}

void tm_button3d::_p_touch(int32_t action, float x, float y) {
  if (mdisabled) return;
  const double W = mbase.Width(), H = mbase.Height();
  const bool inside = 0 < x && x < W && 0 < y && y < H;
  switch (action) {
    case UiLayer::TOUCH_ACTION_DOWN:
      _setpressedstate(true);
      _draw();
      break;
    case UiLayer::TOUCH_ACTION_MOVE:
      if (pressed != inside) {
        _setpressedstate(inside);
        _draw();
      }
      break;
    case UiLayer::TOUCH_ACTION_UP:
      _setpressedstate(false);
      _draw();
      if (inside) {
        if (mhaptic) viewsutils->_performhapticfeedback(mbase);
        raiseEventDelayed("_Click");
      }
      break;
    case UiLayer::TOUCH_ACTION_CANCEL:  // the touch was taken away: released, no click
      _setpressedstate(false);
      _draw();
      break;
    default:
      break;
  }
}

}  // namespace tmr
