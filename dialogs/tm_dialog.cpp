#include "dialogs/tm_dialog.h"

#include <algorithm>

#include "bitmap/_argbcolor.h"
#include "bitmap/tm_bitmapcreator.h"
#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "dialogs/ResumableSub_dialog_Show.h"
#include "dialogs/ResumableSub_dialog_ShowCustom.h"
#include "dialogs/ResumableSub_dialog_ShowTemplate.h"
#include "listview/tm_customlistview.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/graphics/Bitmap.h"
#include "platform/views/Keyboard.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/ViewObject.h"
#include "platform/views/ViewRenderer.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

namespace {

// The picture of a view and its children, one pixel per point.
std::shared_ptr<Bitmap> Snapshot(Runtime& rt, const View& view) { return ViewRenderer(rt).render(*view.native(), 1.0); }

}  // namespace

const SubTable& tm_dialog::subTable() const {
  using D = tm_dialog;
  static const SubTable table{
      sub<&D::_initialize>("_initialize::"),
      sub<&D::_show>("_show::::"),
      sub<&D::_showcustom>("_showcustom::::"),
      sub<&D::_showtemplate>("_showtemplate::::"),
      sub<&D::_close>("_close:"),
      sub<&D::_getvisible>("_getvisible"),
      sub<&D::_getbutton>("_getbutton:"),
      sub<&D::_setbuttonstate>("_setbuttonstate::"),
      sub<&D::_resize>("_resize::"),
      sub<&D::_updateblur>("_updateblur"),
      sub<&D::_blur>("_blur:"),
      sub<&D::_createbutton>("_createbutton::"),
      sub<&D::_internaladdstubtoclvifneeded>("_internaladdstubtoclvifneeded::"),
      sub<&D::_internalsettextorcsbuildertolabel>("_internalsettextorcsbuildertolabel::"),
      sub<&D::_button_click>("_button_click"),
      sub<&D::_background_click>("_background_click"),
      sub<&D::_background_touch>("_background_touch:::"),
      sub<&D::_stub_click>("_stub_click"),
      sub<&D::_closemessage>("_closemessage:"),
      sub<&D::_complete>("_complete:"),
  };
  return table;
}

void tm_dialog::_class_globals() {
  ViewClassModule::_class_globals();
  buttonsheight = 40;
  titlebarheight = 30;
  buttonwidth = 80;
  base = View();
  backgroundcolor = static_cast<int32_t>(0xFF555555);
  overlaycolor = static_cast<int32_t>(0xAA000000);
  bordercolor = static_cast<int32_t>(0xFF000000);
  bordercornersradius = 2;
  borderwidth = 2;
  buttonscolor = static_cast<int32_t>(0xFF555555);
  buttonstextcolor = static_cast<int32_t>(0xFF89D5FF);
  background = View();
  blurimageview = View();
  blurbackground = false;
  blurreducescale = 0;
  mparent = View();
  title = Object("");
  titlebarcolor = static_cast<int32_t>(0xFF0083B8);
  titlebartextcolor = 0;
  bodytextcolor = UiLayer::Color_White;
  titlebar = View();
  putattop = false;
  titlebarfont = Font();
  buttonsfont = Font();
  buttonstextcolordisabled = static_cast<int32_t>(0xFF808080);
  visibleanimationduration = 100;
  buttonsorder = {DialogResponse_Positive, DialogResponse_Negative, DialogResponse_Cancel};
  buttonsstate = Map();
}

void tm_dialog::_initialize(const std::shared_ptr<Dispatcher>& ba, View parent) {
  initializeClassModule(ba->runtime());
  blurbackground = false;
  blurreducescale = 3;
  mparent = std::move(parent);
  titlebarfont = ui.CreateDefaultBoldFont(16);
  buttonsfont = ui.CreateDefaultBoldFont(15);
  titlebartextcolor = UiLayer::Color_White;
  buttonsstate.Initialize();
}

std::shared_ptr<ResumableSub> tm_dialog::_show(Object text, Object yes, Object no, Object cancel) {
  auto rs = std::make_shared<ResumableSub_dialog_Show>(self<tm_dialog>(), std::move(text), std::move(yes),
                                                       std::move(no), std::move(cancel));
  rs->start();
  return rs;
}

std::shared_ptr<ResumableSub> tm_dialog::_showcustom(View content, Object yes, Object no, Object cancel) {
  auto rs = std::make_shared<ResumableSub_dialog_ShowCustom>(self<tm_dialog>(), std::move(content), std::move(yes),
                                                             std::move(no), std::move(cancel));
  rs->start();
  return rs;
}

std::shared_ptr<ResumableSub> tm_dialog::_showtemplate(Object dialogtemplate, Object yes, Object no, Object cancel) {
  auto rs = std::make_shared<ResumableSub_dialog_ShowTemplate>(self<tm_dialog>(), std::move(dialogtemplate),
                                                               std::move(yes), std::move(no), std::move(cancel));
  rs->start();
  return rs;
}

bool tm_dialog::_close(int32_t result) {
  if (!_getvisible()) return false;
  c->CallSubDelayed2(Object(self<tm_dialog>()), "CloseMessage", Object(result));
  return true;
}

bool tm_dialog::_getvisible() { return background.IsInitialized() && background.Parent().IsInitialized(); }

View tm_dialog::_getbutton(int32_t result) {
  if (!base.IsInitialized()) return View();
  // Only number Tags count: a content view tagged with the text "-1" is not a button.
  for (const View& v : base.GetAllViewsRecursive()) {
    Object tag = v.Tag();
    if (tag.IsNumber() && tag.AsDouble() == result) return v;
  }
  return View();
}

void tm_dialog::_setbuttonstate(int32_t result, bool enabled) {
  View b = _getbutton(result);
  if (!b.IsInitialized()) return;
  b.setEnabled(enabled);
  b.setTextColor(enabled ? buttonstextcolor : buttonstextcolordisabled);
  buttonsstate.Put(Object(result), Object(enabled));
}

void tm_dialog::_resize(int32_t width, int32_t height) {
  if (!_getvisible()) return;
  // The vertical position comes from the height before the change, kept inside the new height so
  // that the frame and its buttons stay on screen when the parent shrinks.
  double top = putattop ? 20 : static_cast<double>(Common::Round(background.Height() / 2 - base.Height() / 2));
  top = std::max(0.0, std::min(top, height - base.Height()));
  background.SetLayoutAnimated(0, 0, 0, width, height);
  base.SetLayoutAnimated(200, static_cast<double>(Common::Round(background.Width() / 2 - base.Width() / 2)), top,
                         base.Width(), base.Height());
}

void tm_dialog::_updateblur() {
  if (!blurbackground) return;
  background.setVisible(false);
  std::shared_ptr<Bitmap> bmp = Snapshot(runtime(), background.Parent());
  background.setVisible(true);
  auto bw = static_cast<int>(background.Width());
  auto bh = static_cast<int>(background.Height());
  if (bmp->pixelWidth() != bw || bmp->pixelHeight() != bh) bmp = bmp->ResizedPart(bw, bh, 0, 0, bw, bh);
  blurimageview.SetLayoutAnimated(0, 0, 0, bw, bh);
  auto bc = _blur(bmp);
  bc->_setbitmaptoimageview(bc->_getbitmap(), blurimageview);
}

std::shared_ptr<tm_bitmapcreator> tm_dialog::_blur(std::shared_ptr<Bitmap> bmp) {
  int64_t n = c->SteadyNow();
  // A reduce factor below 1 would divide by zero or enlarge the picture; 1 keeps it as it is.
  double reduce = blurreducescale < 1 ? 1 : blurreducescale;
  constexpr double scale = 1;  // the view layer's scale on this platform
  // A buffer needs at least one pixel; a picture smaller than the reduce factor gives one.
  int32_t w = std::max<int32_t>(1, static_cast<int32_t>(bmp->Width() / reduce / scale));
  int32_t h = std::max<int32_t>(1, static_cast<int32_t>(bmp->Height() / reduce / scale));
  auto bc = std::make_shared<tm_bitmapcreator>();
  bc->_initialize(bi, w, h);
  bc->_copypixelsfrombitmap(bmp);
  std::vector<std::shared_ptr<_argbcolor>> clrs;
  for (int k = 0; k < 3; ++k) {
    clrs.push_back(std::make_shared<_argbcolor>());
    clrs.back()->Initialize();
  }
  auto temp = std::make_shared<_argbcolor>();
  // Each step reads three neighbours before it writes, so a row (column) narrower than three
  // pixels has nothing to average and is left as it is.
  for (int pass = 0; pass < 2; ++pass) {
    if (w >= 3) {
      for (int32_t y = 0; y < h; ++y) {
        for (int k = 0; k < 3; ++k) bc->_getargb(k, y, clrs[static_cast<size_t>(k)]);
        _setavg(bc, 1, y, clrs, temp);
        size_t m = 0;
        for (int32_t x = 2; x <= w - 2; ++x) {
          bc->_getargb(x + 1, y, clrs[m]);
          m = (m + 1) % 3;
          _setavg(bc, x, y, clrs, temp);
        }
      }
    }
    if (h >= 3) {
      for (int32_t x = 0; x < w; ++x) {
        for (int k = 0; k < 3; ++k) bc->_getargb(x, k, clrs[static_cast<size_t>(k)]);
        _setavg(bc, x, 1, clrs, temp);
        size_t m = 0;
        for (int32_t y = 2; y <= h - 2; ++y) {
          bc->_getargb(x, y + 1, clrs[m]);
          m = (m + 1) % 3;
          _setavg(bc, x, y, clrs, temp);
        }
      }
    }
  }
  c->LogStr("Time: " + std::to_string(c->SteadyNow() - n));
  return bc;
}

void tm_dialog::_setavg(const std::shared_ptr<tm_bitmapcreator>& bc, int32_t x, int32_t y,
                        const std::vector<std::shared_ptr<_argbcolor>>& clrs, const std::shared_ptr<_argbcolor>& temp) {
  temp->Initialize();
  temp->r = (clrs[0]->r + clrs[1]->r + clrs[2]->r) / 3;
  temp->g = (clrs[0]->g + clrs[1]->g + clrs[2]->g) / 3;
  temp->b = (clrs[0]->b + clrs[1]->b + clrs[2]->b) / 3;
  temp->a = 255;
  bc->_setargb(x, y, temp);
}

void tm_dialog::_createbutton(Object text, int32_t code) {
  if (text == Object("")) return;
  LabelWrapper lbl;
  lbl.Initialize(bi, "Button");
  _internalsettextorcsbuildertolabel(lbl, text);
  lbl.setTag(Object(code));
  lbl.SetColorAndBorder(buttonscolor, 0, bordercolor, 5);
  lbl.SetTextAlignment("CENTER", "CENTER");
  lbl.setTextColor(buttonstextcolor);
  lbl.setFont(buttonsfont);
  // Only buttons are in the frame yet, so the count places each one left of the previous.
  int n = base.NumberOfViews();
  base.AddView(lbl, base.Width() - 4 - (buttonwidth + 5) * n - buttonwidth, base.Height() - buttonsheight - 4,
               buttonwidth, buttonsheight);
  if (code == DialogResponse_Cancel) RequestFocus(lbl);
}

void tm_dialog::_internaladdstubtoclvifneeded(const std::shared_ptr<tm_customlistview>& clv, int32_t color) {
  viewsutils->_addstubtoclvifneeded(clv, color);
}

void tm_dialog::_internalsettextorcsbuildertolabel(View lbl, Object text) {
  viewsutils->_settextorcsbuildertolabel(std::move(lbl), std::move(text));
}

void tm_dialog::_button_click() {
  View sender = View::FromObject(c->Sender());
  if (!sender.IsInitialized()) return;
  int32_t code = sender.Tag().AsInt();
  // A button set to disabled stays ignored even when something re-enabled its view.
  Object state = buttonsstate.Get(Object(code));
  if (!state.IsNull() && !state.AsBool()) return;
  _close(code);
}

void tm_dialog::RequestFocus(const View& /*view*/) {
  auto& keyboard = Keyboard::of(runtime());
  if (auto field = keyboard.focused()) keyboard.resign(*field);
}

void tm_dialog::SetVisibleAnimated(const View& view, int32_t /*durationMs*/, bool visible) { view.setVisible(visible); }

}  // namespace tmr
