#include "views/display/tm_progressbar.h"

#include <algorithm>

#include "bitmap/_argbcolor.h"
#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/graphics/Rect.h"
#include "views/display/ResumableSub_progressbar_BusyLoop.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

const SubTable& tm_progressbar::subTable() const {
  static const SubTable table{
      sub<&tm_progressbar::_designercreateview>("_designercreateview:::"),
      sub<&tm_progressbar::_base_resize>("_base_resize::"),
      sub<&tm_progressbar::_setvalue>("_setvalue:"),
      sub<&tm_progressbar::_setvaluenoanimation>("_setvaluenoanimation:"),
      sub<&tm_progressbar::_getvalue>("_getvalue"),
      sub<&tm_progressbar::_setvisible>("_setvisible:"),
      sub<&tm_progressbar::_getvisible>("_getvisible"),
      sub<&tm_progressbar::_busyloop>("_busyloop"),
      sub<&tm_progressbar::_updategraphics>("_updategraphics"),
      sub<&tm_progressbar::_bc_bitmapready>("_bc_bitmapready:"),
  };
  return table;
}

LayoutRegistry::CustomViewClass tm_progressbar::LayoutClass() {
  using Kind = LayoutRegistry::Property::Kind;
  return LayoutRegistry::CustomViewClass{[] { return std::make_shared<tm_progressbar>(); },
                                         {{"Value", Kind::Number, Object(100)},
                                          {"ProgressColor", Kind::Color, Object()},
                                          {"CornerRadius", Kind::Number, Object(15)}}};
}

void tm_progressbar::_class_globals() {
  CustomViewBase::_class_globals();
  busybrush = std::make_shared<_bcbrush>();
  backgroundcolor = 0;
  busyindex = 0;
  bc = std::make_shared<tm_bitmapcreator>();
  miv = ImageViewWrapper();
  transparentbrush = std::make_shared<_bcbrush>();
  vertical = false;
  currentvalue = 0;
  emptycolor = UiLayer::Color_White;
  emptybrush = std::make_shared<_bcbrush>();
  mvalue = 0;
  valuechangepersecond = 60;
  cornerradius = 0;
  brushoffsetdelta = 3;
  batchinflight = false;
}

void tm_progressbar::_designercreateview(View base, LabelWrapper label, Map props) {
  CustomViewBase::_designercreateview(base, label, props);
  miv.Initialize(bi, "");
  miv.setColor(UiLayer::Color_Transparent);
  miv.setContentMode(ImageViewWrapper::MODE_FILL);
  _setvalue(props.GetDefault(Object("Value"), Object(100)).AsInt());
  currentvalue = static_cast<float>(mvalue);
  mbase.AddView(miv, 0, 0, 0, 0);
  // The designer label lies over the bar, so that its text shows on it.
  mbase.AddView(label, 0, 0, mbase.Width(), mbase.Height());
  mbase.SetColorAndBorder(UiLayer::Color_Transparent, 0, 0, 0);
  backgroundcolor = ui.PaintOrColorToColor(props.Get(Object("ProgressColor")));
  cornerradius = props.GetDefault(Object("CornerRadius"), Object(15)).AsInt();
  _base_resize(mbase.Width(), mbase.Height());
}

void tm_progressbar::_base_resize(double width, double height) {
  for (const View& v : mbase.GetAllViewsRecursive()) v.SetLayoutAnimated(0, 0, 0, width, height);
  // A batch still drawing keeps its own buffer; the bar goes on with a new one.
  if (batchinflight) bc = std::make_shared<tm_bitmapcreator>();
  bc->_initialize(bi, pixels(mbase.Width()), pixels(mbase.Height()));
  vertical = mbase.Height() > mbase.Width();
  _updategraphics();
}

View tm_progressbar::partNamed(std::string_view part) const {
  if (part.empty()) return mbase;
  if (part == "image") return miv;
  return View();
}

int32_t tm_progressbar::pixels(double layoutUnits) { return std::max(0, TruncateToInt(layoutUnits / Scale)); }

void tm_progressbar::_setvalue(int32_t v) { mvalue = std::max(std::min(v, 100), 0); }

void tm_progressbar::_setvaluenoanimation(int32_t v) {
  _setvalue(v);
  currentvalue = static_cast<float>(mvalue);
}

void tm_progressbar::_setvisible(bool b) {
  busyindex += 1;
  if (b) _busyloop();
  mbase.setVisible(b);
}

void tm_progressbar::_busyloop() {
  auto rs = std::make_shared<ResumableSub_progressbar_BusyLoop>(self<tm_progressbar>());
  rs->start();
}

void tm_progressbar::_updategraphics() {
  emptybrush = bc->_createbrushfromcolor(emptycolor);
  transparentbrush = bc->_createbrushfromcolor(UiLayer::Color_Transparent);
  auto stripe = bc->_colortoargb(backgroundcolor, std::make_shared<_argbcolor>());
  stripe->r = static_cast<int32_t>(std::min(255.0, stripe->r * 1.5));
  stripe->g = static_cast<int32_t>(std::min(255.0, stripe->g * 1.5));
  stripe->b = static_cast<int32_t>(std::min(255.0, stripe->b * 1.5));
  const int32_t stripecolor = bc->_argbtocolor(stripe);
  const int32_t W = pixels(mbase.Width());
  const int32_t H = pixels(mbase.Height());
  // A buffer without pixels has nothing to show: no pattern and no picture until it has some.
  if (bc->mwidth >= 1 && bc->mheight >= 1) {
    constexpr float S = StripeWidth;
    auto pattern = std::make_shared<tm_bitmapcreator>();
    if (vertical) {
      pattern->_initialize(bi, W, W + StripeWidth);
    } else {
      pattern->_initialize(bi, H + StripeWidth, H);
    }
    pattern->_drawrect(pattern->targetrect, backgroundcolor, true, 0);
    const auto pw = static_cast<float>(pattern->mwidth);
    const auto ph = static_cast<float>(pattern->mheight);
    if (vertical) {
      pattern->_drawline(-S / 2, S / 2, pw + S / 2, ph - S / 2, stripecolor, StripeWidth);
    } else {
      pattern->_drawline(S / 2, -S / 2, pw - S / 2, ph + S / 2, stripecolor, StripeWidth);
    }
    busybrush = bc->_createbrushfrombitmapcreator(pattern);
    if (mvalue == 100) {
      bc->_drawrectrounded(bc->targetrect, backgroundcolor, true, 0, 15);
    } else {
      bc->_drawrectrounded2(bc->targetrect, emptybrush, true, 0, 15);
    }
    bc->_setbitmaptoimageview(bc->_getbitmap(), miv);
  }
  _setvisible(mbase.Visible());
}

void tm_progressbar::_bc_bitmapready(Object /*bmp*/) { batchinflight = false; }

}  // namespace tmr
