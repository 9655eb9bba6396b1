#include "views/input/tm_switch.h"

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/graphics/Rect.h"
#include "platform/views/LayoutValues.h"
#include "views/input/ResumableSub_switch_SetValueImpl.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

const SubTable& tm_switch::subTable() const {
  static const SubTable table{
      sub<&tm_switch::_designercreateview>("_designercreateview:::"),
      sub<&tm_switch::_base_resize>("_base_resize::"),
      sub<&tm_switch::_getvalue>("_getvalue"),
      sub<&tm_switch::_setvalue>("_setvalue:"),
      sub<&tm_switch::_getenabled>("_getenabled"),
      sub<&tm_switch::_setenabled>("_setenabled:"),
      sub<&tm_switch::_pnl_click>("_pnl_click"),
      sub<&tm_switch::_setvalueimpl>("_setvalueimpl::"),
      sub<&tm_switch::_draw>("_draw:"),
  };
  return table;
}

LayoutRegistry::CustomViewClass tm_switch::LayoutClass() {
  using Kind = LayoutRegistry::Property::Kind;
  return LayoutRegistry::CustomViewClass{[] { return std::make_shared<tm_switch>(); },
                                         {{"OnColor", Kind::Color, std::nullopt},
                                          {"OffColor", Kind::Color, std::nullopt},
                                          {"ThumbColor", Kind::Color, std::nullopt},
                                          {"Value", Kind::Boolean, std::nullopt},
                                          {"HapticFeedback", Kind::Boolean, Object(false)}}};
}

void tm_switch::_class_globals() {
  CustomViewBase::_class_globals();
  oncolor = std::make_shared<_bcbrush>();
  offcolor = std::make_shared<_bcbrush>();
  bc = std::make_shared<tm_bitmapcreator>();
  width = 55;
  height = 31;
  thumbcolor = std::make_shared<_bcbrush>();
  iv = ImageViewWrapper();
  mvalue = false;
  transparent = std::make_shared<_bcbrush>();
  loopindex = 0;
  scale = 0;
  menabled = true;
  mhaptic = false;
}

void tm_switch::_designercreateview(View base, LabelWrapper label, Map props) {
  CustomViewBase::_designercreateview(base, label, props);
  mbase.SetLayoutAnimated(0, mbase.Left(), mbase.Top(), width, height);
  mbase.SetColorAndBorder(UiLayer::Color_Transparent, 0, 0, 0);
  // The panel lies over the image and takes the taps.
  View pnl = ui.CreatePanel(bi, "pnl");
  pnl.setColor(UiLayer::Color_Transparent);
  iv.Initialize(bi, "");
  mbase.AddView(iv, 0, 0, width, height);
  mbase.AddView(pnl, 0, 0, width, height);
  scale = LayoutValues::GetDeviceLayoutValues(runtime()).NonnormalizedScale();
  bc->_initialize(bi, static_cast<int32_t>(Common::Round(width * static_cast<double>(scale))),
                  static_cast<int32_t>(Common::Round(height * static_cast<double>(scale))));
  oncolor = bc->_createbrushfromcolor(ui.PaintOrColorToColor(props.Get(Object("OnColor"))));
  offcolor = bc->_createbrushfromcolor(ui.PaintOrColorToColor(props.Get(Object("OffColor"))));
  thumbcolor = bc->_createbrushfromcolor(ui.PaintOrColorToColor(props.Get(Object("ThumbColor"))));
  mhaptic = props.GetDefault(Object("HapticFeedback"), Object(false)).AsBool();
  transparent = bc->_createbrushfromcolor(UiLayer::Color_Transparent);
  // The layout's enabled state is the switch's own; the base panel always takes the taps so
  // that the switch decides what a tap does.
  menabled = mbase.Enabled();
  mbase.setEnabled(true);
  _setvalueimpl(props.Get(Object("Value")).AsBool(), true);
}

void tm_switch::_base_resize(double /*width*/, double /*height*/) {}

View tm_switch::partNamed(std::string_view part) const {
  if (!mbase.IsInitialized() || mbase.NumberOfViews() < 2) return View();
  if (part.empty()) return mbase.GetView(1);
  if (part == "image") return iv;
  return View();
}

void tm_switch::_setvalue(bool b) {
  if (b == mvalue) return;
  _setvalueimpl(b, false);
}

void tm_switch::_setenabled(bool b) {
  menabled = b;
  _setvalueimpl(mvalue, true);
}

void tm_switch::_pnl_click() {
  if (!menabled) return;
  if (mhaptic) viewsutils->_performhapticfeedback(mbase);
  _setvalueimpl(!mvalue, false);
  raiseEventDelayed("_ValueChanged", {Object(mvalue)});
}

void tm_switch::_setvalueimpl(bool b, bool immediate) {
  auto rs = std::make_shared<ResumableSub_switch_SetValueImpl>(self<tm_switch>(), b, immediate);
  rs->ResumableSub::start();  // the coroutine's field `start` hides the member function
}

void tm_switch::_draw(float state) {
  const float W = static_cast<float>(bc->mwidth);
  const float H = static_cast<float>(bc->mheight);
  const float k = scale;
  // A colour brush replaces the pixels it covers: this leaves the buffer fully transparent.
  bc->_drawrect2(bc->targetrect, transparent, true, 0);
  // The thumb's centre keeps this distance from the ends.
  const float r = static_cast<float>(Common::Round(H / 2.0));
  float x = r - k + (W - 2 * r) * state;
  if (state == 0) x = r;
  if (state == 1) x = static_cast<float>(Common::Round(W - k - r));
  const int32_t cy = static_cast<int32_t>(H / 2);
  const float w = state * W;
  const float h = state * H;
  const int32_t stroke = static_cast<int32_t>(2 * k);
  if (state < 1) bc->_drawrectrounded2(bc->targetrect, offcolor, true, stroke, static_cast<int32_t>(r));
  const Rect bar(W / 2 - w / 2, cy - h / 2, W / 2 + w / 2, cy + h / 2);
  if (state > 0) bc->_drawrectrounded2(bar, oncolor, true, stroke, static_cast<int32_t>(bar.Height() / 2));
  if (menabled) bc->_drawcircle2(x, static_cast<float>(cy), r - 2 * k, thumbcolor, true, 0);
  bc->_setbitmaptoimageview(bc->_getbitmap(), iv);
}

}  // namespace tmr
