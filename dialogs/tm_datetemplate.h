#pragma once
// A dialog template showing a month calendar: month and year labels with arrow buttons, a row
// of two-letter weekday names and a grid of 7 columns by 6 rows of day numbers. A finger moving
// over the grid highlights the day under it; lifting it on a day chooses that day and closes
// the dialog with the positive result. _getdate gives the start of the chosen day in ticks.
//
// Years are the runtime's, astronomical (0 is 1 BC, -1 is 2 BC), throughout: shown, drawn,
// chosen and returned. The date utilities build the days of the years 1-9999; a day of any
// other year is built in the year a whole number of 400-year cycles away in 1-400, whose
// calendar is the same, and moved there by the runtime's calendar.
//
// The grid is two canvases: the highlight is drawn on dayspanebg, below dayspanefg, which holds
// the numbers and the chosen day's cell and takes the touches. The arrow buttons carry their
// step in their Tag as the text "-1" or "1" (a number Tag would pass for a dialog button).
#include <cstdint>
#include <memory>

#include "platform/core/List.h"
#include "platform/layout/FieldTable.h"
#include "platform/views/Canvas.h"
#include "platform/views/View.h"
#include "views/input/ViewClassModule.h"

namespace tmr {

class ResumableSub;
class tm_dialog;

class tm_datetemplate : public ViewClassModule, public LayoutFields {
 public:
  std::string_view className() const override { return "tm_datetemplate"; }
  const SubTable& subTable() const override;
  const FieldTable& fieldTable() const override;

  // Loads the layout into a 320 × 300 panel and chooses today.
  String _initialize(const std::shared_ptr<Dispatcher>& ba);

  // --- Template protocol.
  View _getpanel(Object dialog);
  std::shared_ptr<ResumableSub> _show(Object dialog);
  String _dialogclosed(int32_t result);

  // The chosen day's start in ticks.
  int64_t _getdate();
  // Chooses the day of the moment and displays its month (the grid is drawn by the next
  // showing or month change). Any year is accepted; a moment whose day's start the calendar
  // cannot hold raises its range error and changes nothing.
  String _setdate(int64_t ticks);
  // Chooses a day of the displayed month.
  String _selectday(int32_t day);
  String _drawdays();
  String _drawbox(const Canvas& canvas, int32_t color, int32_t column, int32_t row);
  // A touch at (x, y) of the grid: moving highlights, lifting chooses a valid day and closes.
  String _handlemouse(double x, double y, bool moving);
  String _setyearsbuttonstate();
  String _hide();

  // --- Events.
  String _btnmonth_click();
  String _btnyear_click();
  String _dayspanefg_touch(int32_t action, double x, double y);

  // The grid column of weekday i (Sunday 0) for the first-day setting; firstday outside 0 … 6
  // counts modulo 7.
  int32_t normalisedfirstday() const;

  int32_t month = 0;
  int32_t year = 0;
  float boxw = 0;
  float boxh = 0;
  float vcorrection = 0;
  int32_t tempselectedday = 0;
  int32_t dayofweekoffset = 0;
  int32_t daysinmonth = 0;
  View dayspanebg;
  View dayspanefg;
  Canvas cvs;
  Canvas cvsbackground;
  int64_t selecteddate = 0;
  int32_t selectedyear = 0;
  int32_t selectedmonth = 0;
  int32_t selectedday = 0;
  int32_t highlightedcolor = static_cast<int32_t>(0xFF001BBD);
  int32_t selectedcolor = static_cast<int32_t>(0xFF0BA29B);
  int32_t daysinmonthcolor = UiLayer::Color_White;
  int32_t daysinweekcolor = static_cast<int32_t>(0xFF888888);
  Canvas cvsdays;
  View daystitlespane;
  int32_t firstday = 0;
  int32_t minyear = 1970;
  int32_t maxyear = 2030;
  View btnmonthleft;
  View btnmonthright;
  View btnyearleft;
  View btnyearright;
  View lblmonth;
  View lblyear;
  View pnldialog;
  List months;
  std::shared_ptr<tm_dialog> mdialog;

 protected:
  void _class_globals() override;

 private:
  // The step carried by an arrow button's Tag.
  static int32_t stepOf(const View& button);
  // The year with the same calendar that the date utilities take: y itself in 1-9999, else the
  // one in 1-400 that is a whole number of 400-year cycles away.
  static int32_t samecalendaryear(int32_t y);
  // Ticks of the start of day d of month m of year y.
  int64_t startofday(int32_t y, int32_t m, int32_t d);
};

}  // namespace tmr
