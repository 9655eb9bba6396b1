#include "views/input/tm_breadcrumb.h"

#include <algorithm>

#include "bitmap/_argbcolor.h"
#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/graphics/Path.h"
#include "platform/graphics/Rect.h"
#include "platform/text/Regex.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

const SubTable& tm_breadcrumb::subTable() const {
  static const SubTable table{
      sub<&tm_breadcrumb::_designercreateview>("_designercreateview:::"),
      sub<&tm_breadcrumb::_base_resize>("_base_resize::"),
      sub<&tm_breadcrumb::_getitems>("_getitems"),
      sub<&tm_breadcrumb::_setitems>("_setitems:"),
      sub<&tm_breadcrumb::_touch_touch>("_touch_touch:::"),
      sub<&tm_breadcrumb::_draw>("_draw"),
      sub<&tm_breadcrumb::_drawitem>("_drawitem::::::"),
      sub<&tm_breadcrumb::_finditem>("_finditem::"),
  };
  return table;
}

LayoutRegistry::CustomViewClass tm_breadcrumb::LayoutClass() {
  using Kind = LayoutRegistry::Property::Kind;
  return LayoutRegistry::CustomViewClass{[] { return std::make_shared<tm_breadcrumb>(); },
                                         {{"CrumbColor", Kind::Color, std::nullopt},
                                          {"Items", Kind::Text, std::nullopt},
                                          {"HapticFeedback", Kind::Boolean, Object(false)}}};
}

void tm_breadcrumb::_class_globals() {
  CustomViewBase::_class_globals();
  cvs = Canvas();
  mitems = List();
  rightpositions = List();
  textcolor = 0;
  fnt = Font();
  offset = 10;
  bc = std::make_shared<tm_bitmapcreator>();
  crumbcolor = 0;
  touchpanel = View();
  presseditem = -1;
  mhaptic = false;
}

void tm_breadcrumb::_initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) {
  CustomViewBase::_initialize(ba, callback, eventName);
  mitems.Initialize();
  rightpositions.Initialize();
  bc->_initialize(bi, 1, 1);
}

void tm_breadcrumb::_designercreateview(View base, LabelWrapper label, Map props) {
  CustomViewBase::_designercreateview(base, label, props);
  cvs.Initialize(mbase);
  fnt = label.Font();
  textcolor = label.TextColor();
  crumbcolor = ui.PaintOrColorToColor(props.Get(Object("CrumbColor")));
  mhaptic = props.GetDefault(Object("HapticFeedback"), Object(false)).AsBool();
  touchpanel = ui.CreatePanel(bi, "Touch");
  mbase.AddView(touchpanel, 0, 0, mbase.Width(), mbase.Height());
  for (const String& item : Regex::Split(String("\\|"), props.Get(Object("Items")).AsString())) {
    mitems.Add(Object(item));
  }
  _draw();
}

void tm_breadcrumb::_base_resize(double width, double height) {
  cvs.Resize(width, height);
  touchpanel.SetLayoutAnimated(0, 0, 0, width, height);
  _draw();
}

View tm_breadcrumb::partNamed(std::string_view part) const {
  if (part.empty()) return touchpanel;
  return View();
}

void tm_breadcrumb::_setitems(List items) {
  mitems = std::move(items);
  _draw();
}

void tm_breadcrumb::_draw() {
  if (!cvs.IsInitialized()) return;
  auto argb = bc->_colortoargb(crumbcolor, std::make_shared<_argbcolor>());
  auto lighter = std::make_shared<_argbcolor>();
  lighter->Initialize();
  lighter->a = argb->a;
  lighter->r = std::min(255, argb->r * 2);
  lighter->g = std::min(255, argb->g * 2);
  lighter->b = std::min(255, argb->b * 2);
  const int32_t outline = bc->_argbtocolor(lighter);
  auto darker = std::make_shared<_argbcolor>();
  darker->Initialize();
  darker->a = argb->a;
  darker->r = static_cast<int32_t>(argb->r * 0.8);
  darker->g = static_cast<int32_t>(argb->g * 0.8);
  darker->b = static_cast<int32_t>(argb->b * 0.8);
  const int32_t fills[] = {crumbcolor, bc->_argbtocolor(darker)};

  cvs.ClearRect(cvs.TargetRect());
  rightpositions.Clear();
  // An empty bar shows the cleared canvas.
  if (mitems.Size() == 0) {
    cvs.Invalidate();
    return;
  }
  int32_t x = 0;
  const int last = mitems.Size() - 1;
  for (int i = 0; i <= last; ++i) {
    const int32_t w =
        _drawitem(x, mitems.Get(i).AsString(), i == 0, i == last, fills[i % 2], i == presseditem ? outline : 0);
    x = x + w + offset + 2;
    rightpositions.Add(Object(x));
  }
  cvs.Invalidate();
}

int32_t tm_breadcrumb::_drawitem(int32_t x, const String& text, bool first, bool last, int32_t clr,
                                 int32_t outlineclr) {
  const Rect r = cvs.MeasureText(text, fnt);
  const int32_t w = Object(r.Width() + 30.0).AsInt();
  const int32_t h = Object(cvs.TargetRect().Height()).AsInt();
  const int32_t baseline = Object(cvs.TargetRect().CenterY() - r.Height() / 2.0 - r.Top).AsInt();
  const double mid = h / 2.0;
  Path path;
  path.Initialize(x, 0);
  path.LineTo(x + w, 0);
  if (!last) path.LineTo(x + w + offset, mid);
  path.LineTo(x + w, h);
  if (!first) {
    path.LineTo(x - offset, h);
    path.LineTo(x, mid);
    path.LineTo(x - offset, 0);
  } else {
    path.LineTo(x, h);
  }
  path.LineTo(x, 0);
  cvs.DrawPath(path, clr, true, 0);
  if (outlineclr != 0) cvs.DrawPath(path, outlineclr, false, 3);
  cvs.DrawText(text, x + w / 2.0, baseline, fnt, textcolor, "CENTER");
  return w;
}

int32_t tm_breadcrumb::_finditem(int32_t x, int32_t y) {
  const int n = rightpositions.Size();
  if (n == 0) return -1;
  if (y < 0 || y > cvs.TargetRect().Height()) return -1;
  if (x > rightpositions.Get(n - 1).AsInt()) return -1;
  for (int i = n - 2; i >= 0; --i) {
    if (rightpositions.Get(i).AsInt() < x) return i + 1;
  }
  return 0;
}

void tm_breadcrumb::_touch_touch(int32_t action, float x, float y) {
  const int32_t xi = Object(x).AsInt();
  const int32_t yi = Object(y).AsInt();
  if (action == UiLayer::TOUCH_ACTION_DOWN || action == UiLayer::TOUCH_ACTION_MOVE) {
    const int32_t i = _finditem(xi, yi);
    if (i != presseditem) {
      presseditem = i;
      _draw();
    }
  } else if (action == UiLayer::TOUCH_ACTION_UP) {
    const int32_t i = _finditem(xi, yi);
    // The items may have changed since the crumbs were drawn: a crumb past the end clicks nothing.
    if (i == presseditem && i >= 0 && i < mitems.Size()) {
      List path;
      path.Initialize();
      for (int k = 0; k <= i; ++k) path.Add(mitems.Get(k));
      if (mhaptic) viewsutils->_performhapticfeedback(mbase);
      raiseEvent("_CrumbClick", {Object(path)});
    }
    presseditem = -1;
    _draw();
  } else if (action == UiLayer::TOUCH_ACTION_CANCEL) {
    // The touch was taken away: the crumb is released without a click.
    presseditem = -1;
    _draw();
  }
}

}  // namespace tmr
