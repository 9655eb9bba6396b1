#include "views/display/tm_scrollinglabel.h"

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/ClippingPanelObject.h"
#include "views/display/ResumableSub_scrollinglabel_StartScrolling.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

namespace {
const Object kStatic("static");
}  // namespace

const SubTable& tm_scrollinglabel::subTable() const {
  static const SubTable table{
      sub<&tm_scrollinglabel::_initialize>("_initialize:::"),
      sub<&tm_scrollinglabel::_designercreateview>("_designercreateview:::"),
      sub<&tm_scrollinglabel::_base_resize>("_base_resize::"),
      sub<&tm_scrollinglabel::_settext>("_settext:"),
      sub<&tm_scrollinglabel::_gettext>("_gettext"),
      sub<&tm_scrollinglabel::_settextcolor>("_settextcolor:"),
      sub<&tm_scrollinglabel::_gettextcolor>("_gettextcolor"),
      sub<&tm_scrollinglabel::_startscrolling>("_startscrolling::"),
      sub<&tm_scrollinglabel::_stopscrolling>("_stopscrolling"),
  };
  return table;
}

LayoutRegistry::CustomViewClass tm_scrollinglabel::LayoutClass() {
  return LayoutRegistry::CustomViewClass{[] { return std::make_shared<tm_scrollinglabel>(); }, {}};
}

void tm_scrollinglabel::_class_globals() {
  CustomViewBase::_class_globals();
  mtext = "";
  taskindex = 0;
  fnt = Font();
  cvs = Canvas();
  widthpersecond = 100;
  startpositiondelay = 1000;
  mtextcolor = UiLayer::Color_Black;
}

void tm_scrollinglabel::_designercreateview(View base, LabelWrapper label, Map props) {
  CustomViewBase::_designercreateview(base, label, props);
  // The moving text must not show beyond the view.
  View clip = ClippingPanelObject::Create(bi, "");
  mbase.AddView(clip, 0, 0, mbase.Width(), mbase.Height());
  mtext = label.Text();
  fnt = label.Font();
  _settext(mtext);
}

void tm_scrollinglabel::_base_resize(double width, double height) {
  mbase.GetView(0).SetLayoutAnimated(0, 0, 0, width, height);
  _settext(mtext);
}

View tm_scrollinglabel::partNamed(std::string_view part) const {
  if (!mbase.IsInitialized() || mbase.NumberOfViews() == 0) return View();
  View clip = mbase.GetView(0);
  if (clip.NumberOfViews() == 0) return View();
  View p = clip.GetView(0);
  if (part == "moving") return p;
  if (part.empty() && p.NumberOfViews() > 0) return p.GetView(0);
  return View();
}

void tm_scrollinglabel::_settext(String t) {
  View clip = mbase.GetView(0);
  View p;
  LabelWrapper lbl;
  const bool reuse = clip.NumberOfViews() > 0 && clip.GetView(0).Tag() == kStatic;
  if (reuse) {
    p = clip.GetView(0);
    lbl = LabelWrapper::FromObject(Object(p.GetView(0)));
    p.SetLayoutAnimated(0, 0, 0, clip.Width(), clip.Height());
    lbl.SetLayoutAnimated(0, 0, 0, clip.Width(), clip.Height());
  }
  const float w = _measuretextwidth(t, fnt);
  mtext = t;
  if (!reuse) {
    clip.RemoveAllViews();
    p = ui.CreatePanel(bi, "");
    clip.AddView(p, 0, 0, clip.Width(), clip.Height());
    lbl.Initialize(bi, "");
    lbl.SetTextAlignment("CENTER", "LEFT");
    lbl.setFont(fnt);
    p.AddView(lbl, 0, 0, mbase.Width(), mbase.Height());
  }
  lbl.setTextColor(mtextcolor);
  if (w > mbase.Width()) {
    p.setTag(Object(""));
    String s = t + String("   ") + t;
    const float doubled = _measuretextwidth(s, fnt);
    p.setWidth(doubled);
    lbl.setWidth(doubled);
    lbl.setText(s);
    _startscrolling(p, w);
  } else {
    lbl.setText(t);
    p.setTag(kStatic);
    _stopscrolling();
  }
}

void tm_scrollinglabel::_settextcolor(int32_t clr) {
  mtextcolor = clr;
  _settext(mtext);
}

float tm_scrollinglabel::_measuretextwidth(String t, Font f) {
  // A canvas that has measured text holds on to the font it used, and the platform's fonts must
  // be able to go before the views do when the runtime ends: so each measurement has a canvas
  // of its own, on a small panel outside the view tree, released at once.
  View measuring = ui.CreatePanel(bi, "");
  measuring.SetLayoutAnimated(0, 0, 0, 2, 2);
  cvs.Initialize(measuring);
  const float w = cvs.MeasureText(t, f).Width();
  cvs.Release();
  return w;
}

std::shared_ptr<ResumableSub_scrollinglabel_StartScrolling> tm_scrollinglabel::_startscrolling(View p,
                                                                                               float originalwidth) {
  auto rs = std::make_shared<ResumableSub_scrollinglabel_StartScrolling>(self<tm_scrollinglabel>(), p, originalwidth);
  rs->start();
  return rs;
}

void tm_scrollinglabel::_stopscrolling() { taskindex += 1; }

}  // namespace tmr
