#include "dialogs/tm_datetemplate.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "dialogs/ResumableSub_datetemplate_Show.h"
#include "dialogs/tm_dialog.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/dates/DateTime.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

namespace {
// Whole-number conversion of the runtime: truncation toward zero, saturating.
int32_t Truncate(double v) { return Object(v).AsInt(); }

// The Gregorian calendar repeats every 400 years: 146,097 days, a whole number of weeks.
constexpr int32_t kCycleYears = 400;
}  // namespace

const SubTable& tm_datetemplate::subTable() const {
  using T = tm_datetemplate;
  static const SubTable table{
      sub<&T::_initialize>("_initialize:"),
      sub<&T::_getpanel>("_getpanel:"),
      sub<&T::_show>("_show:"),
      sub<&T::_dialogclosed>("_dialogclosed:"),
      sub<&T::_getdate>("_getdate"),
      sub<&T::_setdate>("_setdate:"),
      sub<&T::_selectday>("_selectday:"),
      sub<&T::_drawdays>("_drawdays"),
      sub<&T::_handlemouse>("_handlemouse:::"),
      sub<&T::_setyearsbuttonstate>("_setyearsbuttonstate"),
      sub<&T::_hide>("_hide"),
      sub<&T::_btnmonth_click>("_btnmonth_click"),
      sub<&T::_btnyear_click>("_btnyear_click"),
      sub<&T::_dayspanefg_touch>("_dayspanefg_touch:::"),
  };
  return table;
}

const FieldTable& tm_datetemplate::fieldTable() const {
  using T = tm_datetemplate;
  static const FieldTable table{
      field<&T::dayspanebg>("dayspanebg"),
      field<&T::dayspanefg>("dayspanefg"),
      field<&T::daystitlespane>("daystitlespane"),
      field<&T::btnmonthleft>("btnmonthleft"),
      field<&T::btnmonthright>("btnmonthright"),
      field<&T::btnyearleft>("btnyearleft"),
      field<&T::btnyearright>("btnyearright"),
      field<&T::lblmonth>("lblmonth"),
      field<&T::lblyear>("lblyear"),
  };
  return table;
}

void tm_datetemplate::_class_globals() {
  ViewClassModule::_class_globals();
  month = 0;
  year = 0;
  boxw = 0;
  boxh = 0;
  vcorrection = 0;
  tempselectedday = 0;
  dayofweekoffset = 0;
  daysinmonth = 0;
  dayspanebg = View();
  dayspanefg = View();
  cvs = Canvas();
  cvsbackground = Canvas();
  selecteddate = 0;
  selectedyear = 0;
  selectedmonth = 0;
  selectedday = 0;
  highlightedcolor = static_cast<int32_t>(0xFF001BBD);
  selectedcolor = static_cast<int32_t>(0xFF0BA29B);
  daysinmonthcolor = UiLayer::Color_White;
  daysinweekcolor = static_cast<int32_t>(0xFF888888);
  cvsdays = Canvas();
  daystitlespane = View();
  firstday = 0;
  minyear = 1970;
  maxyear = 2030;
  btnmonthleft = btnmonthright = btnyearleft = btnyearright = View();
  lblmonth = lblyear = View();
  pnldialog = View();
  months = List();
  months.Initialize();
  mdialog = nullptr;
}

String tm_datetemplate::_initialize(const std::shared_ptr<Dispatcher>& ba) {
  initializeClassModule(ba->runtime());
  pnldialog = ui.CreatePanel(bi, "");
  pnldialog.SetLayoutAnimated(0, 0, 0, 320, 300);
  pnldialog.LoadLayout("DateTemplate", bi);
  pnldialog.setTag(Object(self<tm_datetemplate>()));
  btnmonthleft.setTag(Object("-1"));
  btnmonthright.setTag(Object("1"));
  btnyearleft.setTag(Object("-1"));
  btnyearright.setTag(Object("1"));
  DateTime& dt = runtime().service<DateTime>();
  int64_t now = dt.Now();
  month = dt.GetMonth(now);
  year = dt.GetYear(now);
  months = dateutils->_getmonthsnames();
  _setdate(now);
  cvs.Initialize(dayspanefg);
  cvsbackground.Initialize(dayspanebg);
  boxw = static_cast<float>(cvs.TargetRect().Width() / 7);
  boxh = static_cast<float>(cvs.TargetRect().Height() / 6);
  vcorrection = 5;
  cvsdays.Initialize(daystitlespane);
  return "";
}

View tm_datetemplate::_getpanel(Object) { return pnldialog; }

std::shared_ptr<ResumableSub> tm_datetemplate::_show(Object dialog) {
  return TemplateShow::Start<ResumableSub_datetemplate_Show>(self<tm_datetemplate>(), dialog);
}

String tm_datetemplate::_dialogclosed(int32_t) { return ""; }

int64_t tm_datetemplate::_getdate() { return selecteddate; }

String tm_datetemplate::_setdate(int64_t ticks) {
  if (lblyear.IsInitialized()) {
    DateTime& dt = runtime().service<DateTime>();
    const int32_t y = dt.GetYear(ticks);
    const int32_t m = dt.GetMonth(ticks);
    const int32_t d = dt.GetDayOfMonth(ticks);
    // A day whose start the calendar cannot hold fails here, before anything has changed.
    startofday(y, m, d);
    year = y;
    month = m;
    _selectday(d);
    lblyear.setText(Object(year).AsString());
    lblmonth.setText(months.Get(month - 1).AsString());
  } else {
    selecteddate = ticks;
  }
  return "";
}

int32_t tm_datetemplate::samecalendaryear(int32_t y) {
  if (y >= 1 && y <= 9999) return y;
  return static_cast<int32_t>(((int64_t{y} - 1) % kCycleYears + kCycleYears) % kCycleYears + 1);
}

int64_t tm_datetemplate::startofday(int32_t y, int32_t m, int32_t d) {
  const int32_t same = samecalendaryear(y);
  const int64_t start = dateutils->_setdate(same, m, d);
  if (same == y) return start;
  // The zones' clocks did not change in the years 1-400 (their records start in modern times),
  // so that is the day's midnight. The calendar's addition keeps the month and day (both years
  // have them) and the time of day, which it sets on the day reached as building that day
  // would: a midnight that the clock skips there moves forward by the gap.
  const int64_t years = int64_t{y} - same;
  if (years < INT32_MIN) throw DateRangeError("year " + std::to_string(y));
  return runtime().service<DateTime>().Add(start, static_cast<int32_t>(years), 0, 0);
}

String tm_datetemplate::_selectday(int32_t day) {
  selecteddate = startofday(year, month, day);
  selectedday = day;
  selectedmonth = month;
  selectedyear = year;
  return "";
}

int32_t tm_datetemplate::normalisedfirstday() const { return ((firstday % 7) + 7) % 7; }

String tm_datetemplate::_drawdays() {
  lblmonth.setText(months.Get(month - 1).AsString());
  lblyear.setText(Object(year).AsString());
  _setyearsbuttonstate();
  cvs.ClearRect(cvs.TargetRect());
  cvsbackground.ClearRect(cvsbackground.TargetRect());
  DateTime& dt = runtime().service<DateTime>();
  // The last instant of the day before the 1st; its weekday plus one is the 1st's.
  int64_t t = startofday(year, month, 1) - 1;
  dayofweekoffset = (dt.GetDayOfWeek(t) + 7 - normalisedfirstday()) % 7;
  daysinmonth = dateutils->_numberofdaysinmonth(month, samecalendaryear(year));
  if (year == selectedyear && month == selectedmonth) {
    _drawbox(cvs, selectedcolor, (selectedday - 1 + dayofweekoffset) % 7, (selectedday - 1 + dayofweekoffset) / 7);
  }
  Font font = ui.CreateDefaultBoldFont(14);
  for (int32_t d = 1; d <= daysinmonth; ++d) {
    int32_t column = (dayofweekoffset + d - 1) % 7;
    int32_t row = (d - 1 + dayofweekoffset) / 7;
    cvs.DrawText(Object(d).AsString(), (column + 0.5) * boxw, (row + 0.5) * boxh + vcorrection, font, daysinmonthcolor,
                 "CENTER");
  }
  cvsbackground.Invalidate();
  cvs.Invalidate();
  return "";
}

String tm_datetemplate::_drawbox(const Canvas& canvas, int32_t color, int32_t column, int32_t row) {
  double left = column * static_cast<double>(boxw);
  double top = row * static_cast<double>(boxh);
  canvas.DrawRect(Rect(static_cast<float>(left), static_cast<float>(top), static_cast<float>(left + boxw),
                       static_cast<float>(top + boxh)),
                  color, true, 1);
  return "";
}

String tm_datetemplate::_handlemouse(double x, double y, bool moving) {
  // A grid without size has no cells to touch.
  if (boxw <= 0 || boxh <= 0) return "";
  int32_t column = Truncate(x / boxw);
  int32_t row = Truncate(y / boxh);
  // A point beside or below the grid is no cell: without this, column 7 would be the next
  // row's first day. (Just left of or above the grid truncates to column or row 0.)
  bool ingrid = column >= 0 && column <= 6 && row >= 0 && row <= 5;
  int32_t day = ingrid ? row * 7 + column + 1 - dayofweekoffset : 0;
  bool valid = ingrid && day >= 1 && day <= daysinmonth;
  if (moving) {
    if (day == tempselectedday) return "";
    cvsbackground.ClearRect(cvsbackground.TargetRect());
    tempselectedday = day;
    if (valid) _drawbox(cvsbackground, highlightedcolor, column, row);
  } else {
    cvsbackground.ClearRect(cvsbackground.TargetRect());
    // The highlight is gone: the next touch highlights whatever day it lands on, even the one
    // this touch ended on.
    tempselectedday = 0;
    if (valid) {
      _selectday(day);
      _hide();
    }
  }
  cvsbackground.Invalidate();
  return "";
}

String tm_datetemplate::_setyearsbuttonstate() {
  btnyearleft.setEnabled(year > minyear);
  btnyearright.setEnabled(year < maxyear);
  return "";
}

String tm_datetemplate::_hide() {
  if (mdialog) mdialog->_close(tm_dialog::DialogResponse_Positive);
  return "";
}

int32_t tm_datetemplate::stepOf(const View& button) {
  Object tag = button.Tag();
  return tag.IsNumber() || tag.IsText() ? Truncate(tag.AsDouble()) : 0;
}

String tm_datetemplate::_btnmonth_click() {
  View sender = View::FromObject(c->Sender());
  // The year stays when the month wraps between December and January.
  month = Truncate(month + 11 + stepOf(sender)) % 12 + 1;
  _drawdays();
  return "";
}

String tm_datetemplate::_btnyear_click() {
  View sender = View::FromObject(c->Sender());
  year = Truncate(year + stepOf(sender));
  _drawdays();
  return "";
}

String tm_datetemplate::_dayspanefg_touch(int32_t action, double x, double y) {
  if (action == UiLayer::TOUCH_ACTION_CANCEL) {
    // The touch was taken away: the highlight goes and no day is picked.
    tempselectedday = 0;
    cvsbackground.ClearRect(cvsbackground.TargetRect());
    cvsbackground.Invalidate();
    return "";
  }
  _handlemouse(x, y, action != UiLayer::TOUCH_ACTION_UP);
  return "";
}

}  // namespace tmr
