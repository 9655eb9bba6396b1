#include "dialogs/tm_signaturetemplate.h"

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "dialogs/tm_dialog.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/dates/DateTime.h"
#include "platform/graphics/Bitmap.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

const SubTable& tm_signaturetemplate::subTable() const {
  using T = tm_signaturetemplate;
  static const SubTable table{
      sub<&T::_initialize>("_initialize:"),     sub<&T::_resize>("_resize::"), sub<&T::_getbitmap>("_getbitmap"),
      sub<&T::_getpanel>("_getpanel:"),         sub<&T::_show>("_show:"),      sub<&T::_dialogclosed>("_dialogclosed:"),
      sub<&T::_mbase_touch>("_mbase_touch:::"),
  };
  return table;
}

void tm_signaturetemplate::_class_globals() {
  DialogTemplate::_class_globals();
  cvs = Canvas();
  lastx = 0;
  lasty = 0;
  strokewidth = 2;
  strokecolor = UiLayer::Color_Black;
  textcolor = static_cast<int32_t>(0xFFFF8800);
  backgroundcolor = UiLayer::Color_White;
  adddateandtime = true;
  textfont = Font();
}

String tm_signaturetemplate::_initialize(const std::shared_ptr<Dispatcher>& ba) {
  initializeClassModule(ba->runtime());
  createContent(300, 200);
  cvs.Initialize(mbase);
  textfont = ui.CreateDefaultFont(14);
  return "";
}

String tm_signaturetemplate::_resize(int32_t width, int32_t height) {
  mbase.SetLayoutAnimated(0, 0, 0, width, height);
  cvs.Resize(width, height);
  return "";
}

std::shared_ptr<Bitmap> tm_signaturetemplate::_getbitmap() { return cvs.CreateBitmap(); }

View tm_signaturetemplate::_getpanel(Object) { return mbase; }

String tm_signaturetemplate::_show(Object) {
  cvs.DrawRect(cvs.TargetRect(), backgroundcolor, true, 0);
  cvs.Invalidate();
  return "";
}

String tm_signaturetemplate::_dialogclosed(int32_t result) {
  if (result != tm_dialog::DialogResponse_Positive || !adddateandtime) return "";
  Rect r = cvs.MeasureText("M", textfont);
  DateTime& dt = runtime().service<DateTime>();
  int64_t now = dt.Now();
  // The runtime's "datetime" text: date and time in the current formats, one space apart.
  String text = dt.Date(now) + String(" ") + dt.Time(now);
  int32_t baseline = Object(cvs.TargetRect().Bottom - r.Height() - r.Top - 2).AsInt();
  cvs.DrawText(text, 2, baseline, textfont, textcolor, "LEFT");
  return "";
}

String tm_signaturetemplate::_mbase_touch(int32_t action, float x, float y) {
  if (action == UiLayer::TOUCH_ACTION_DOWN) {
    lastx = x;
    lasty = y;
  } else if (action == UiLayer::TOUCH_ACTION_MOVE) {
    cvs.DrawLine(lastx, lasty, x, y, strokecolor, strokewidth);
    lastx = x;
    lasty = y;
    cvs.Invalidate();
  }
  return "";
}

}  // namespace tmr
