#include "views/display/tm_animatedcounter.h"

#include <cmath>
#include <limits>
#include <string>

#include "bitmap/tm_bitmapcreator.h"
#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/graphics/Rect.h"
#include "platform/views/Canvas.h"
#include "platform/views/ClippingPanelObject.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

const SubTable& tm_animatedcounter::subTable() const {
  static const SubTable table{
      sub<&tm_animatedcounter::_initialize>("_initialize:::"),
      sub<&tm_animatedcounter::_designercreateview>("_designercreateview:::"),
      sub<&tm_animatedcounter::_base_resize>("_base_resize::"),
      sub<&tm_animatedcounter::_setvalue>("_setvalue:"),
      sub<&tm_animatedcounter::_getvalue>("_getvalue"),
      sub<&tm_animatedcounter::_topfromvalue>("_topfromvalue:"),
      sub<&tm_animatedcounter::_createbitmap>("_createbitmap:"),
      sub<&tm_animatedcounter::_createfadebitmap>("_createfadebitmap:"),
  };
  return table;
}

LayoutRegistry::CustomViewClass tm_animatedcounter::LayoutClass() {
  using Kind = LayoutRegistry::Property::Kind;
  return LayoutRegistry::CustomViewClass{[] { return std::make_shared<tm_animatedcounter>(); },
                                         {{"Digits", Kind::Count, std::nullopt},
                                          {"Duration", Kind::Number, std::nullopt},
                                          {"FadeColor", Kind::Color, Object(UiLayer::Color_White)}}};
}

void tm_animatedcounter::_class_globals() {
  CustomViewBase::_class_globals();
  imageviews = List();
  mdigits = 0;
  lbltemplate = LabelWrapper();
  mvalue = List();
  digitheight = 0;
  digitwidth = 0;
  mduration = 0;
  fade.reset();
  xfadeiv = ImageViewWrapper();
}

void tm_animatedcounter::_initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) {
  CustomViewBase::_initialize(ba, callback, eventName);
  imageviews.Initialize();
  mvalue.Initialize();
}

void tm_animatedcounter::_designercreateview(View base, LabelWrapper label, Map props) {
  CustomViewBase::_designercreateview(base, label, props);
  // The strips are ten cells high: only the cell's part may show.
  View inner = ClippingPanelObject::Create(bi, "");
  mbase.AddView(inner, 0, 0, 0, 0);
  mdigits = props.Get(Object("Digits")).AsInt();
  mduration = props.Get(Object("Duration")).AsInt();
  lbltemplate = label;
  fade = _createfadebitmap(ui.PaintOrColorToColor(props.GetDefault(Object("FadeColor"), Object(UiLayer::Color_White))));
  for (int32_t i = 0; i < mdigits; ++i) {
    ImageViewWrapper iv;
    iv.Initialize(bi, "");
    imageviews.Add(Object(iv));
    inner.AddView(iv, 0, 0, 0, 0);
  }
  xfadeiv.Initialize(bi, "");
  inner.AddView(xfadeiv, 0, 0, 0, 0);
  _setvalue(0);
  // The layout loader reports sizes only when they change, so the digits get their first
  // layout here, at the size the layout gave the base panel.
  _base_resize(mbase.Width(), mbase.Height());
}

void tm_animatedcounter::_base_resize(double width, double height) {
  mbase.GetView(0).SetLayoutAnimated(0, 0, 0, width, height);
  xfadeiv.SetLayoutAnimated(0, 0, 0, width, height);
  xfadeiv.SetBitmap(fade->Resize(static_cast<float>(width), static_cast<float>(height), false));
  if (mdigits <= 0) return;
  digitheight = static_cast<int32_t>(height);
  digitwidth = static_cast<int32_t>(width / mdigits);
  auto strip = _createbitmap(lbltemplate);
  double left = static_cast<int32_t>(width);
  for (int32_t i = 0; i < mdigits; ++i) {
    left -= digitwidth;
    auto iv = ImageViewWrapper::FromObject(imageviews.Get(i));
    iv.SetLayoutAnimated(0, left, _topfromvalue(i), digitwidth, 10.0 * digitheight);
    iv.SetBitmap(strip);
  }
}

View tm_animatedcounter::partNamed(std::string_view part) const {
  if (!mbase.IsInitialized() || mbase.NumberOfViews() == 0) return View();
  if (part.empty()) return mbase.GetView(0);
  if (part == "fade") return xfadeiv;
  if (part.starts_with("digit")) {
    const std::string index(part.substr(5));
    if (index.empty() || index.find_first_not_of("0123456789") != std::string::npos || index.size() > 4) return View();
    const int i = std::stoi(index);
    if (i < imageviews.Size()) return digitView(i);
  }
  return View();
}

View tm_animatedcounter::digitView(int32_t index) const { return View::FromObject(imageviews.Get(index)); }

void tm_animatedcounter::_setvalue(int32_t v) {
  // A negative value has no digits to show: its remainders would be negative and move the
  // strips below their cells, so it shows as 0.
  if (v < 0) v = 0;
  mvalue.Clear();
  for (int32_t i = 0; i < mdigits; ++i) {
    mvalue.Add(Object(v % 10));
    v /= 10;
    View iv = digitView(i);
    iv.SetLayoutAnimated(mduration, iv.Left(), _topfromvalue(i), Common::Max(1, iv.Width()),
                         Common::Max(1, iv.Height()));
  }
}

int32_t tm_animatedcounter::_getvalue() {
  double total = 0;
  for (int32_t i = 0; i < mvalue.Size(); ++i) total += mvalue.Get(i).AsDouble() * std::pow(10.0, i);
  return Object(total).AsInt();
}

int32_t tm_animatedcounter::_topfromvalue(int32_t index) { return -digitheight * mvalue.Get(index).AsInt(); }

std::shared_ptr<Bitmap> tm_animatedcounter::_createbitmap(LabelWrapper lbl) {
  // A cell without size has nothing to draw on.
  if (digitwidth < 1 || digitheight < 1) return nullptr;
  View p = ui.CreatePanel(bi, "");
  p.SetLayoutAnimated(0, 0, 0, digitwidth, 10.0 * digitheight);
  Canvas cvs;
  cvs.Initialize(p);
  const Font font = lbl.Font();
  Rect r = cvs.MeasureText("5", font);
  const int32_t b = static_cast<int32_t>(digitheight / 2.0 - r.Height() / 2.0 - r.Top);
  for (int32_t n = 0; n <= 9; ++n) {
    cvs.DrawText(String(std::to_string(n)), digitwidth / 2.0, static_cast<double>(digitheight) * n + b, font,
                 lbl.TextColor(), "CENTER");
  }
  cvs.Invalidate();
  auto bmp = cvs.CreateBitmap();
  cvs.Release();
  return bmp;
}

std::shared_ptr<Bitmap> tm_animatedcounter::_createfadebitmap(int32_t clr) {
  auto bc = std::make_shared<tm_bitmapcreator>();
  bc->_initialize(bi, 200, 50);
  const float w = static_cast<float>(bc->mwidth);
  const float h = static_cast<float>(bc->mheight);
  const std::vector<int32_t> colors{clr, clr & 0xFFFFFF};
  bc->_fillgradient(colors, Rect(0, 0, w, h / 3), "TOP_BOTTOM");
  bc->_fillgradient(colors, Rect(0, h * 2 / 3, w, h), "BOTTOM_TOP");
  return bc->_getbitmap();
}

}  // namespace tmr
