#include "dialogs/tm_colortemplate.h"

#include <algorithm>
#include <cstdint>

#include "bitmap/_argbcolor.h"
#include "bitmap/tm_bitmapcreator.h"
#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "dialogs/ResumableSub_colortemplate_Show.h"
#include "dialogs/_colorpickerpart.h"
#include "dialogs/tm_dialog.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/graphics/Bitmap.h"
#include "platform/views/ImageViewWrapper.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

namespace {
// Whole-number conversion of the runtime: truncation toward zero, saturating.
int32_t Truncate(double v) { return Object(v).AsInt(); }
// A finger down, moving or lifting picks the colour under it; a cancelled touch picks nothing.
bool Picks(int32_t action) {
  return action == UiLayer::TOUCH_ACTION_DOWN || action == UiLayer::TOUCH_ACTION_MOVE ||
         action == UiLayer::TOUCH_ACTION_UP;
}
}  // namespace

const SubTable& tm_colortemplate::subTable() const {
  using T = tm_colortemplate;
  static const SubTable table{
      sub<&T::_initialize>("_initialize:"),
      sub<&T::_getpanel>("_getpanel:"),
      sub<&T::_show>("_show:"),
      sub<&T::_dialogclosed>("_dialogclosed:"),
      sub<&T::_getselectedcolor>("_getselectedcolor"),
      sub<&T::_setselectedcolor>("_setselectedcolor:"),
      sub<&T::_base_resize>("_base_resize::"),
      sub<&T::_createpanelforbitmapcreator>("_createpanelforbitmapcreator::"),
      sub<&T::_drawhuebar>("_drawhuebar"),
      sub<&T::_drawalphabar>("_drawalphabar"),
      sub<&T::_drawcolors>("_drawcolors"),
      sub<&T::_drawcheckers>("_drawcheckers:"),
      sub<&T::_huebarselectedchanged>("_huebarselectedchanged:"),
      sub<&T::_alphabarselectedchange>("_alphabarselectedchange:"),
      sub<&T::_handleselectedcolorchanged>("_handleselectedcolorchanged::"),
      sub<&T::_update>("_update"),
      sub<&T::_updatebarcolor>("_updatebarcolor"),
      sub<&T::_huebar_touch>("_huebar_touch:::"),
      sub<&T::_colors_touch>("_colors_touch:::"),
      sub<&T::_alpha_touch>("_alpha_touch:::"),
  };
  return table;
}

void tm_colortemplate::_class_globals() {
  DialogTemplate::_class_globals();
  selectedalpha = 255;
  bccolors = std::make_shared<tm_bitmapcreator>();
  selectedh = 60;
  selecteds = 0.5F;
  selectedv = 0.5F;
  devicescale = 0;
  colorscale = 0;
  tempbc = std::make_shared<tm_bitmapcreator>();
  dont_change = -999999999;
  huebar = std::make_shared<_colorpickerpart>();
  colorpicker = std::make_shared<_colorpickerpart>();
  alphabar = std::make_shared<_colorpickerpart>();
  borderscolor = 0;
  xdialog = nullptr;
  initialcolor.clear();
}

String tm_colortemplate::_initialize(const std::shared_ptr<Dispatcher>& ba) {
  initializeClassModule(ba->runtime());
  tempbc->_initialize(bi, 1, 1);
  devicescale = 1;
  mbase = ui.CreatePanel(bi, "");
  mbase.SetLayoutAnimated(0, 0, 0, 300, 250);
  borderscolor = UiLayer::Color_Black;
  mbase.SetColorAndBorder(borderscolor, 1, borderscolor, 2);
  huebar = _createpanelforbitmapcreator("hueBar", false);
  colorpicker = _createpanelforbitmapcreator("colors", true);
  alphabar = _createpanelforbitmapcreator("alpha", true);
  _base_resize(mbase.Width(), mbase.Height());
  return "";
}

View tm_colortemplate::_getpanel(Object) { return mbase; }

std::shared_ptr<ResumableSub> tm_colortemplate::_show(Object dialog) {
  return TemplateShow::Start<ResumableSub_colortemplate_Show>(self<tm_colortemplate>(), dialog);
}

String tm_colortemplate::_dialogclosed(int32_t result) {
  if (result != tm_dialog::DialogResponse_Positive) _setselectedhsvcolor(initialcolor);
  return "";
}

int32_t tm_colortemplate::_getselectedcolor() {
  std::vector<Object> hsv = _getselectedhsvcolor();
  tempbc->_sethsv(0, 0, selectedalpha, hsv[0].AsInt(), hsv[1].AsFloat(), hsv[2].AsFloat());
  return tempbc->_getcolor(0, 0);
}

std::vector<Object> tm_colortemplate::_getselectedhsvcolor() {
  return {Object(selectedh), Object(selecteds), Object(selectedv), Object(selectedalpha)};
}

String tm_colortemplate::_setselectedcolor(int32_t color) { return _setselectedhsvcolor(_colortohsv(color)); }

String tm_colortemplate::_setselectedhsvcolor(const std::vector<Object>& hsv) {
  // Nothing was saved (closed without a showing) or a malformed colour: keep the current one.
  if (hsv.size() < 4) return "";
  // Kept as given (within the bars' ranges): working them out again from a bar position would
  // land just below a whole hue or alpha. The bars only show them.
  selectedh = std::clamp(hsv[0].AsFloat(), 0.0F, 360.0F);
  selecteds = hsv[1].AsFloat();
  selectedv = hsv[2].AsFloat();
  selectedalpha = std::clamp(hsv[3].AsInt(), 0, 255);
  showchoice();
  return "";
}

std::vector<Object> tm_colortemplate::_colortohsv(int32_t color) {
  uint32_t u = static_cast<uint32_t>(color);
  int32_t a = static_cast<int32_t>((u >> 24) & 0xFF);
  int32_t r = static_cast<int32_t>((u >> 16) & 0xFF);
  int32_t g = static_cast<int32_t>((u >> 8) & 0xFF);
  int32_t b = static_cast<int32_t>(u & 0xFF);
  int32_t cmax = std::max({r, g, b});
  int32_t cmin = std::min({r, g, b});
  float value = cmax / 255.0F;
  float saturation = cmax != 0 ? static_cast<float>(cmax - cmin) / cmax : 0.0F;
  float hue = 0;
  if (saturation != 0) {
    float span = static_cast<float>(cmax - cmin);
    float rc = (cmax - r) / span;
    float gc = (cmax - g) / span;
    float bc = (cmax - b) / span;
    if (r == cmax) {
      hue = bc - gc;
    } else if (g == cmax) {
      hue = 2 + rc - bc;
    } else {
      hue = 4 + gc - rc;
    }
    hue = hue / 6;
    if (hue < 0) hue = hue + 1;
  }
  return {Object(hue * 360), Object(saturation), Object(value), Object(a)};
}

String tm_colortemplate::_base_resize(double width, double height) {
  colorscale = static_cast<float>(std::max(1.0, std::max(width, height) / 100 / devicescale));
  // Sizes are kept at zero or more for a panel too small for the parts.
  auto size = [](double v) { return std::max(0.0, v); };
  huebar->pnl.SetLayoutAnimated(0, 1, 1, 30, size(height - 2));
  double x0 = huebar->pnl.Left() + huebar->pnl.Width() + 1;
  double w0 = width - x0 - 1;
  double x = x0 - 1;
  double w = size(w0 + 1);
  alphabar->pnl.SetLayoutAnimated(0, x, height - 31, w, 30);
  colorpicker->pnl.SetLayoutAnimated(0, x, 1, w, size(height - 3 - alphabar->pnl.Height()));
  bccolors->_initialize(bi, Truncate(colorpicker->pnl.Width() / colorscale),
                        Truncate(colorpicker->pnl.Height() / colorscale));
  for (const auto& part : {huebar, colorpicker, alphabar}) {
    for (int i = 0; i < part->pnl.NumberOfViews(); ++i) {
      part->pnl.GetView(i).SetLayoutAnimated(0, 0, 0, part->pnl.Width(), part->pnl.Height());
    }
    part->cvs.Resize(part->pnl.Width(), part->pnl.Height());
    if (part->DrawCheckers) _drawcheckers(part);
  }
  _drawhuebar();
  _drawalphabar();
  // A new layout moves the markers; the colour stays.
  showchoice();
  return "";
}

std::shared_ptr<_colorpickerpart> tm_colortemplate::_createpanelforbitmapcreator(String eventname, bool withcheckers) {
  auto cpp = std::make_shared<_colorpickerpart>();
  cpp->Initialize();
  cpp->pnl = ui.CreatePanel(bi, "");
  cpp->pnl.SetColorAndBorder(borderscolor, 1, borderscolor, 0);
  cpp->pnl.SetLayoutAnimated(0, 1, 1, 1, 1);
  if (withcheckers) {
    cpp->checkersCanvas.Initialize(cpp->pnl);
    cpp->DrawCheckers = true;
  }
  ImageViewWrapper iv;
  iv.Initialize(bi, "");
  cpp->iv = iv;
  View touchpanel = ui.CreatePanel(bi, eventname.str());
  cpp->pnl.AddView(cpp->iv, 0, 0, 0, 0);
  cpp->pnl.AddView(touchpanel, 1, 1, 1, 1);
  cpp->cvs.Initialize(touchpanel);
  mbase.AddView(cpp->pnl, 0, 0, 0, 0);
  return cpp;
}

String tm_colortemplate::_drawhuebar() {
  int32_t w = Truncate(huebar->pnl.Width() / devicescale);
  int32_t h = Truncate(huebar->pnl.Height() / devicescale);
  auto bc = std::make_shared<tm_bitmapcreator>();
  bc->_initialize(bi, w, h);
  if (w <= 0 || h <= 0) return "";
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      bc->_sethsv(x, y, 255, Truncate(360.0 / h * y), 1, 1);
    }
  }
  bc->_setbitmaptoimageview(bc->_getbitmap(), huebar->iv);
  return "";
}

String tm_colortemplate::_drawalphabar() {
  int32_t w = Truncate(alphabar->pnl.Width() / devicescale);
  int32_t h = Truncate(alphabar->pnl.Height() / devicescale);
  auto bc = std::make_shared<tm_bitmapcreator>();
  bc->_initialize(bi, w, h);
  if (w <= 0 || h <= 0) return "";
  auto argb = std::make_shared<_argbcolor>();
  argb->Initialize();
  argb->r = argb->g = argb->b = 204;
  for (int32_t x = 0; x < w; ++x) {
    argb->a = Truncate(static_cast<double>(x) / w * 255);
    for (int32_t y = 0; y < h; ++y) bc->_setargb(x, y, argb);
  }
  bc->_setbitmaptoimageview(bc->_getbitmap(), alphabar->iv);
  return "";
}

String tm_colortemplate::_drawcolors() {
  int32_t w = bccolors->mwidth;
  int32_t h = bccolors->mheight;
  // A square smaller than one buffer pixel has nothing to show.
  if (w <= 0 || h <= 0 || colorpicker->iv.Width() < 1 || colorpicker->iv.Height() < 1) return "";
  int32_t hue = Truncate(selectedh);
  for (int32_t y = 0; y < h; ++y) {
    float value = static_cast<float>(h - y) / h;
    for (int32_t x = 0; x < w; ++x) {
      bccolors->_sethsv(x, y, selectedalpha, hue, static_cast<float>(x) / w, value);
    }
  }
  std::shared_ptr<Bitmap> bmp = bccolors->_getbitmap()->Resize(static_cast<float>(colorpicker->iv.Width()),
                                                               static_cast<float>(colorpicker->iv.Height()), false);
  bccolors->_setbitmaptoimageview(bmp, colorpicker->iv);
  return "";
}

String tm_colortemplate::_drawcheckers(const std::shared_ptr<_colorpickerpart>& part) {
  const Canvas& cv = part->checkersCanvas;
  cv.Resize(part->pnl.Width(), part->pnl.Height());
  Rect r = cv.TargetRect();
  cv.ClearRect(r);
  constexpr int32_t kCell = 10;
  constexpr int32_t kColours[] = {static_cast<int32_t>(0xFFC0C0C0), static_cast<int32_t>(0xFF757575)};
  for (int32_t x = 0; x <= r.Right - 1; x += kCell) {
    int32_t i = (x / kCell) % 2;
    for (int32_t y = 0; y <= r.Bottom - 1; y += kCell) {
      i = (i + 1) % 2;
      cv.DrawRect(Rect(static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + kCell),
                       static_cast<float>(y + kCell)),
                  kColours[i], true, 0);
    }
  }
  cv.Invalidate();
  return "";
}

String tm_colortemplate::_huebarselectedchanged(float y) {
  double h = huebar->pnl.Height();
  // A bar without height leaves the hue as it is.
  if (h > 0) selectedh = static_cast<float>(std::clamp(y * 360 / h, 0.0, 360.0));
  showhue();
  _update();
  return "";
}

String tm_colortemplate::_alphabarselectedchange(float x) {
  double w = alphabar->pnl.Width();
  // A bar without width leaves the alpha as it is.
  if (w > 0) selectedalpha = Truncate(std::clamp(x / w, 0.0, 1.0) * 255);
  showalpha();
  _update();
  return "";
}

void tm_colortemplate::showhue() {
  double y1 = selectedh * huebar->pnl.Height() / 360;
  const Canvas& cv = huebar->cvs;
  cv.ClearRect(cv.TargetRect());
  cv.DrawRect(Rect(0, static_cast<float>(y1 - 3), cv.TargetRect().Right, static_cast<float>(y1 + 3)),
              UiLayer::Color_White, false, 2);
  cv.Invalidate();
}

void tm_colortemplate::showalpha() {
  double x1 = selectedalpha / 255.0 * alphabar->pnl.Width();
  const Canvas& cv = alphabar->cvs;
  cv.ClearRect(cv.TargetRect());
  cv.DrawRect(Rect(static_cast<float>(x1 - 3), 1, static_cast<float>(x1 + 3), cv.TargetRect().Bottom - 1),
              UiLayer::Color_Black, true, 2);
  cv.Invalidate();
}

void tm_colortemplate::showchoice() {
  showhue();
  showalpha();
  _update();
}

String tm_colortemplate::_handleselectedcolorchanged(int32_t x, int32_t y) {
  double w = colorpicker->pnl.Width();
  double h = colorpicker->pnl.Height();
  // Only x is compared with the keep marker; a square without size keeps the choice.
  if (x != dont_change && w > 0 && h > 0) {
    selecteds = static_cast<float>(std::clamp(x / w, 0.0, 1.0));
    selectedv = static_cast<float>(std::clamp((h - y) / h, 0.0, 1.0));
  }
  const Canvas& cv = colorpicker->cvs;
  cv.ClearRect(cv.TargetRect());
  cv.DrawCircle(selecteds * w, h - selectedv * h, 10, UiLayer::Color_White, false, 2);
  cv.Invalidate();
  _updatebarcolor();
  return "";
}

String tm_colortemplate::_update() {
  _drawcolors();
  _handleselectedcolorchanged(dont_change, dont_change);
  return "";
}

String tm_colortemplate::_updatebarcolor() {
  if (xdialog && xdialog->titlebar.IsInitialized()) xdialog->titlebar.setColor(_getselectedcolor());
  return "";
}

String tm_colortemplate::_huebar_touch(int32_t action, double, double y) {
  if (Picks(action)) _huebarselectedchanged(static_cast<float>(y));
  return "";
}

String tm_colortemplate::_colors_touch(int32_t action, double x, double y) {
  if (Picks(action)) _handleselectedcolorchanged(Truncate(x), Truncate(y));
  return "";
}

String tm_colortemplate::_alpha_touch(int32_t action, double x, double) {
  if (Picks(action)) _alphabarselectedchange(static_cast<float>(x));
  return "";
}

}  // namespace tmr
