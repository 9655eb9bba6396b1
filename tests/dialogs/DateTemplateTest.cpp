#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include "dateutils/tm_dateutils.h"
#include "dialogs/tm_datetemplate.h"
#include "platform/dates/DateTime.h"
#include "platform/graphics/Bitmap.h"
#include "platform/views/ViewSystem.h"
#include "tests/dialogs/DialogHarness.h"
#include "tests/platform/dates/CivilTime.h"
#include "tests/support/ErrorOf.h"

namespace tmr {
namespace {

constexpr int32_t kPositive = tm_dialog::DialogResponse_Positive;
constexpr int32_t kCancel = tm_dialog::DialogResponse_Cancel;
constexpr uint32_t kHighlight = 0xFF001BBD;
constexpr uint32_t kSelected = 0xFF0BA29B;

// The ARGB value of a pixel (premultiplied bytes R, G, B, A; exact for opaque and clear pixels).
uint32_t PixelAt(const std::shared_ptr<Bitmap>& b, int x, int y) {
  const uint8_t* p = &b->pixels()[(static_cast<size_t>(y) * static_cast<size_t>(b->pixelWidth()) + x) * 4];
  return (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

// A date template over the dialog harness's screen, on the virtual clock (2026-01-01, a
// Thursday) in UTC and en_US.
struct DateHarness : DialogHarness {
  DateHarness() {
    dates().setTimeZone("UTC");
    dates().setLocale("en_US");
    t->_initialize(owner->bi);
  }
  DateTime& dates() { return rt.service<DateTime>(); }
  int64_t day(int32_t y, int32_t m, int32_t d) { return rt.codeModule<tm_dateutils>()->_setdate(y, m, d); }
  // Shows the template with only a cancel button; the frame stands afterwards.
  std::shared_ptr<ResumableSub_dialogowner_Ask> show() {
    auto a = ask([this] { return dialog->_showtemplate(Object(t), Object(""), Object(""), Object("Cancel")); });
    settle();
    return a;
  }
  // The centre of a grid cell in the screen's coordinates.
  void cell(int32_t column, int32_t row, double& x, double& y) {
    Finger f = hand();
    f.centreOf(t->dayspanefg, x, y);
    x += -t->dayspanefg.Width() / 2 + (column + 0.5) * t->boxw;
    y += -t->dayspanefg.Height() / 2 + (row + 0.5) * t->boxh;
  }
  // The colour of a cell away from its number (3 points inside its top-left corner).
  uint32_t cellColour(const Canvas& cv, int32_t column, int32_t row) {
    return PixelAt(cv.CreateBitmap(), static_cast<int>(column * t->boxw) + 3, static_cast<int>(row * t->boxh) + 3);
  }
  std::shared_ptr<tm_datetemplate> t = std::make_shared<tm_datetemplate>();
};

TEST(DateTemplate, StartsOnTodayWithTheLayoutBoundAndTheGridInSevenBySix) {
  DateHarness h;
  EXPECT_EQ(h.t->_getdate(), h.day(2026, 1, 1));
  EXPECT_EQ(h.t->lblmonth.Text(), String("January"));
  EXPECT_EQ(h.t->lblyear.Text(), String("2026"));
  EXPECT_EQ(h.t->pnldialog.Width(), 320);
  EXPECT_EQ(h.t->pnldialog.Height(), 300);
  EXPECT_EQ(h.t->pnldialog.Tag().As<tm_datetemplate>(), h.t);
  EXPECT_FLOAT_EQ(h.t->boxw, static_cast<float>(h.t->dayspanefg.Width() / 7));
  EXPECT_FLOAT_EQ(h.t->boxh, static_cast<float>(h.t->dayspanefg.Height() / 6));
  EXPECT_EQ(h.t->dayspanefg.Parent(), h.t->dayspanebg.Parent());
  EXPECT_EQ(h.t->dayspanefg.Left(), h.t->dayspanebg.Left());
  EXPECT_EQ(h.t->dayspanefg.Top(), h.t->dayspanebg.Top());
  EXPECT_GE(h.t->daystitlespane.Height(), 25) << "room for names on the base line 20";
}

// Where the 1st of a month stands and how long the month is, for the first weekday setting.
TEST(DateTemplate, TheFirstOfTheMonthStandsInItsWeekdaysColumn) {
  struct Case {
    int32_t year, month, firstday, offset, days;
  } cases[] = {
      {2026, 1, 0, 4, 31},   // a Thursday
      {2026, 8, 0, 6, 31},   // a Saturday: the 30th and 31st in the sixth row
      {2026, 2, 0, 0, 28},   // a Sunday
      {2026, 2, 1, 6, 28},   // a Sunday with Monday first: the last column
      {2026, 6, 1, 0, 30},   // a Monday with Monday first
      {2028, 2, 0, 2, 29},   // a leap February, on a Tuesday
      {2026, 2, 8, 6, 28},   // a first day of 8 counts as Monday
      {2026, 2, -1, 1, 28},  // and -1 as Saturday
  };
  for (const Case& c : cases) {
    DateHarness h;
    h.t->firstday = c.firstday;
    h.t->_setdate(h.day(c.year, c.month, 15));
    auto a = h.show();
    EXPECT_EQ(h.t->dayofweekoffset, c.offset) << c.year << "-" << c.month << " first " << c.firstday;
    EXPECT_EQ(h.t->daysinmonth, c.days) << c.year << "-" << c.month;
    // The last day's cell chooses it.
    int32_t last = c.offset + c.days - 1;
    double x, y;
    h.cell(last % 7, last / 7, x, y);
    Finger f = h.hand();
    f.pressAt(x, y);
    f.release();
    h.wait(200);
    ASSERT_TRUE(a->done) << c.year << "-" << c.month;
    EXPECT_EQ(a->result, kPositive);
    EXPECT_EQ(h.t->_getdate(), h.day(c.year, c.month, c.days)) << c.year << "-" << c.month;
  }
}

TEST(DateTemplate, AFingerHighlightsTheDayUnderItAndChoosesWhereItLifts) {
  DateHarness h;
  auto a = h.show();
  // January 2026 starts in column 4: the 10th is at (6, 1), the 12th at (1, 2).
  double x10, y10, x12, y12;
  h.cell(6, 1, x10, y10);
  h.cell(1, 2, x12, y12);
  Finger f = h.hand();
  f.pressAt(x10, y10);
  EXPECT_EQ(h.t->tempselectedday, 10);
  EXPECT_EQ(h.cellColour(h.t->cvsbackground, 6, 1), kHighlight);
  f.moveTo(x12, y12);
  EXPECT_EQ(h.cellColour(h.t->cvsbackground, 6, 1), 0u) << "the old highlight is gone";
  EXPECT_EQ(h.cellColour(h.t->cvsbackground, 1, 2), kHighlight);
  EXPECT_EQ(h.t->_getdate(), h.day(2026, 1, 1)) << "nothing chosen before lifting";
  f.release();
  EXPECT_EQ(h.cellColour(h.t->cvsbackground, 1, 2), 0u);
  EXPECT_EQ(h.t->_getdate(), h.day(2026, 1, 12));
  EXPECT_EQ(h.t->selectedday, 12);
  EXPECT_FALSE(a->done) << "the dialog closes on the next turn";
  h.wait(200);
  ASSERT_TRUE(a->done);
  EXPECT_EQ(a->result, kPositive);

  // The next showing marks the chosen day, and a touch on that same day highlights it again.
  auto b = h.show();
  EXPECT_EQ(h.cellColour(h.t->cvs, 1, 2), kSelected);
  EXPECT_EQ(h.cellColour(h.t->cvs, 6, 1), 0u);
  f.pressAt(x12, y12);
  EXPECT_EQ(h.cellColour(h.t->cvsbackground, 1, 2), kHighlight);
  f.release();
  h.wait(200);
  EXPECT_TRUE(b->done);
}

TEST(DateTemplate, LiftingOnABlankCellOnlyClearsTheHighlight) {
  DateHarness h;
  auto a = h.show();
  double x, y;
  h.cell(5, 1, x, y);
  Finger f = h.hand();
  f.pressAt(x, y);
  h.cell(1, 0, x, y);  // before the 1st
  f.moveTo(x, y);
  EXPECT_EQ(h.cellColour(h.t->cvsbackground, 5, 1), 0u);
  EXPECT_EQ(h.cellColour(h.t->cvsbackground, 1, 0), 0u) << "a blank cell is not highlighted";
  f.release();
  h.wait(500);
  EXPECT_FALSE(a->done);
  EXPECT_TRUE(h.dialog->_getvisible());
  EXPECT_EQ(h.t->_getdate(), h.day(2026, 1, 1));
  h.hand().tap(h.button(kCancel));
  h.wait(200);
  ASSERT_TRUE(a->done);
  EXPECT_EQ(a->result, kCancel);
  EXPECT_EQ(h.t->_getdate(), h.day(2026, 1, 1));
}

TEST(DateTemplate, ACancelledTouchChoosesNothing) {
  DateHarness h;
  auto a = h.show();
  double x, y;
  h.cell(5, 1, x, y);
  Finger f = h.hand();
  f.pressAt(x, y);
  EXPECT_NE(h.cellColour(h.t->cvsbackground, 5, 1), 0u) << "highlighted";
  ViewSystem::of(h.rt).touches().cancel();  // the window lost the pointer
  f.release();
  h.wait(500);
  EXPECT_FALSE(a->done);
  EXPECT_EQ(h.cellColour(h.t->cvsbackground, 5, 1), 0u);
  EXPECT_EQ(h.t->_getdate(), h.day(2026, 1, 1));
}

// Points of the grid's own coordinates: just left of or above the grid counts as its first
// column or row; beside, below or further out is no cell.
TEST(DateTemplate, TouchesOutsideTheGridChooseNothing) {
  struct Case {
    double x, y;  // in cells
    int32_t day;  // 0: nothing chosen
  } cases[] = {
      {-0.5, 1.5, 4},                 // left of the 4th (column 0, row 1)
      {0.5, -0.3, 0},                 // above a blank cell
      {4.5, -0.3, 1},                 // above the 1st
      {-1.5, 1.5, 0},                 // a column further left
      {7.5, 0.5, 0},                  // right of the 3rd: would be the 4th in the next row
      {9.5, 1.5, 0},  {3.5, 6.5, 0},  // below the grid
      {6.5, 4.5, 31},                 // the last day
  };
  for (const Case& c : cases) {
    DateHarness h;
    auto a = h.show();
    h.t->_handlemouse(c.x * h.t->boxw, c.y * h.t->boxh, true);
    h.t->_handlemouse(c.x * h.t->boxw, c.y * h.t->boxh, false);
    h.wait(200);
    EXPECT_EQ(a->done, c.day != 0) << c.x << "," << c.y;
    EXPECT_EQ(h.t->_getdate(), h.day(2026, 1, c.day == 0 ? 1 : c.day)) << c.x << "," << c.y;
    if (c.day == 0) {
      EXPECT_EQ(h.t->selectedday, 1);
    }
  }
}

// A grid without size (a layout that gave it none) takes no touches.
TEST(DateTemplate, AGridWithoutSizeChoosesNothing) {
  DateHarness h;
  auto a = h.show();
  h.t->boxw = 0;
  h.t->_handlemouse(10, 10, true);
  h.t->_handlemouse(10, 10, false);
  h.wait(200);
  EXPECT_FALSE(a->done);
  EXPECT_EQ(h.t->_getdate(), h.day(2026, 1, 1));
}

// The arrows carry their steps as texts, so the dialog does not take the left arrow (step -1)
// for a missing positive button.
TEST(DateTemplate, ArrowsAreNotTakenForDialogButtons) {
  DateHarness h;
  auto a = h.show();
  EXPECT_FALSE(h.button(kPositive).IsInitialized());
  EXPECT_TRUE(h.button(kCancel).IsInitialized());
  h.dialog->_setbuttonstate(kPositive, false);
  EXPECT_TRUE(h.t->btnmonthleft.Enabled());
}

TEST(DateTemplate, MovingWithinOneCellDoesNotRedraw) {
  DateHarness h;
  auto a = h.show();
  h.t->_handlemouse(5.2 * h.t->boxw, 1.2 * h.t->boxh, true);
  // A mark that a redraw would wipe.
  h.t->cvsbackground.DrawRect(Rect(300, 200, 310, 210), UiLayer::Color_Black, true, 0);
  h.t->_handlemouse(5.8 * h.t->boxw, 1.8 * h.t->boxh, true);
  EXPECT_EQ(PixelAt(h.t->cvsbackground.CreateBitmap(), 305, 205), 0xFF000000u);
  h.t->_handlemouse(6.2 * h.t->boxw, 1.2 * h.t->boxh, true);
  EXPECT_EQ(PixelAt(h.t->cvsbackground.CreateBitmap(), 305, 205), 0u);
  EXPECT_EQ(h.cellColour(h.t->cvsbackground, 6, 1), kHighlight);
}

TEST(DateTemplate, MonthArrowsWrapWithinTheYear) {
  DateHarness h;
  auto a = h.show();
  Finger f = h.hand();
  f.tap(h.t->btnmonthleft);
  EXPECT_EQ(h.t->month, 12);
  EXPECT_EQ(h.t->year, 2026) << "the year stays when the month wraps";
  EXPECT_EQ(h.t->lblmonth.Text(), String("December"));
  EXPECT_EQ(h.t->lblyear.Text(), String("2026"));
  EXPECT_EQ(h.t->dayofweekoffset, 2) << "December 2026 starts on a Tuesday";
  EXPECT_EQ(h.cellColour(h.t->cvs, 4, 0), 0u) << "the chosen day belongs to another month";
  f.tap(h.t->btnmonthright);
  f.tap(h.t->btnmonthright);
  EXPECT_EQ(h.t->month, 2);
  EXPECT_EQ(h.t->lblmonth.Text(), String("February"));
  // A day chosen now is of the displayed month.
  double x, y;
  h.cell(6, 1, x, y);  // February 2026 starts on a Sunday: the 14th
  f.pressAt(x, y);
  f.release();
  h.wait(200);
  ASSERT_TRUE(a->done);
  EXPECT_EQ(h.t->_getdate(), h.day(2026, 2, 14));
  // The displayed month stays for the next showing.
  auto b = h.show();
  EXPECT_EQ(h.t->lblmonth.Text(), String("February"));
}

TEST(DateTemplate, YearArrowsStopAtTheLimits) {
  DateHarness h;
  h.t->_setdate(h.day(2029, 3, 3));
  auto a = h.show();
  EXPECT_TRUE(h.t->btnyearleft.Enabled());
  EXPECT_TRUE(h.t->btnyearright.Enabled());
  Finger f = h.hand();
  f.tap(h.t->btnyearright);
  EXPECT_EQ(h.t->year, 2030);
  EXPECT_EQ(h.t->lblyear.Text(), String("2030"));
  EXPECT_FALSE(h.t->btnyearright.Enabled());
  f.tap(h.t->btnyearright);
  EXPECT_EQ(h.t->year, 2030) << "a disabled arrow does nothing";
  f.tap(h.t->btnyearleft);
  EXPECT_EQ(h.t->year, 2029);
  EXPECT_EQ(h.t->month, 3);
  h.dialog->_close(kCancel);
  h.wait(200);
  ASSERT_TRUE(a->done);

  // At the lowest year the left arrow is disabled once the frame stands (building it enables
  // every view); _setdate itself takes any year.
  h.t->minyear = 1990;
  h.t->_setdate(h.day(1990, 5, 5));
  auto b = h.show();
  EXPECT_FALSE(h.t->btnyearleft.Enabled());
  EXPECT_TRUE(h.t->btnyearright.Enabled());
  h.t->_setdate(h.day(1900, 1, 1));
  EXPECT_EQ(h.t->year, 1900);
  EXPECT_EQ(h.t->_getdate(), h.day(1900, 1, 1));
}

// Years are the runtime's (0 is 1 BC, -1 is 2 BC): a date of any year, before 1 and after 9999
// too, is shown, drawn and chosen in that year. February shows it best: -4, 0 and 10000 are
// leap years, -1, 1 and 9999 are not. Checked against a proleptic Gregorian calendar of the
// standard library.
TEST(DateTemplate, AnyYearIsShownDrawnAndChosenAsThatYear) {
  struct Case {
    const char* zone;
    int32_t offsetMinutes;  // east of UTC
    int32_t year;
  } cases[] = {
      {"UTC", 0, -4},    {"UTC", 0, -1},        {"UTC", 0, 0},           {"UTC", 0, 1},
      {"UTC", 0, 9999},  {"UTC", 0, 10000},     {"UTC", 0, -9999},       {"UTC", 0, -30000},
      {"UTC", 0, 30000}, {"Etc/GMT-5", 300, 0}, {"Etc/GMT+3", -180, -1}, {"Etc/GMT+3", -180, 10000},
  };
  for (const Case& c : cases) {
    DateHarness h;
    h.dates().setTimeZone(c.zone);
    const std::string label = std::string(c.zone) + " " + std::to_string(c.year);
    h.t->_setdate(test::CivilTicks(c.year, 2, 10, 13, 30, 0, c.offsetMinutes));
    EXPECT_EQ(h.t->year, c.year) << label;
    EXPECT_EQ(h.t->month, 2) << label;
    EXPECT_EQ(h.t->lblyear.Text(), String(std::to_string(c.year))) << label;
    EXPECT_EQ(h.t->_getdate(), test::CivilTicks(c.year, 2, 10, 0, 0, 0, c.offsetMinutes)) << label;
    auto a = h.show();
    const int32_t first = test::DayOfWeek(test::CivilTicks(c.year, 2, 1)) - 1;
    const int32_t days = test::DaysInMonth(c.year, 2);
    EXPECT_EQ(h.t->dayofweekoffset, first) << label;
    EXPECT_EQ(h.t->daysinmonth, days) << label;
    EXPECT_EQ(h.cellColour(h.t->cvs, (first + 9) % 7, (first + 9) / 7), kSelected) << label << ": the 10th is marked";
    // The last day (the 29th of a leap February) is chosen by a finger.
    double x, y;
    h.cell((first + days - 1) % 7, (first + days - 1) / 7, x, y);
    Finger f = h.hand();
    f.pressAt(x, y);
    f.release();
    h.wait(200);
    ASSERT_TRUE(a->done) << label;
    EXPECT_EQ(h.t->_getdate(), test::CivilTicks(c.year, 2, days, 0, 0, 0, c.offsetMinutes)) << label;
    EXPECT_EQ(h.dates().GetYear(h.t->_getdate()), c.year) << label;
    EXPECT_EQ(h.t->selectedyear, c.year) << label;
  }
}

// A moment whose day the calendar cannot build (its start lies before the first moment the
// calendar holds) or that lies outside the calendar is refused with the calendar's error, and
// the displayed month and the chosen date stay as they were.
TEST(DateTemplate, AMomentTheCalendarCannotHoldIsRefusedAndChangesNothing) {
  DateHarness h;
  h.dates().setTimeZone("Etc/GMT-5");
  h.t->_setdate(h.day(2026, 3, 4));
  for (int64_t ticks : {-DateTime::kMaxTicks, DateTime::kMaxTicks + 1, std::numeric_limits<int64_t>::min()}) {
    EXPECT_EQ(ErrorOf([&] { h.t->_setdate(ticks); }).rfind("Date out of range", 0), 0u) << ticks;
    EXPECT_EQ(h.t->year, 2026) << ticks;
    EXPECT_EQ(h.t->month, 3) << ticks;
    EXPECT_EQ(h.t->lblyear.Text(), String("2026")) << ticks;
    EXPECT_EQ(h.t->_getdate(), h.day(2026, 3, 4)) << ticks;
    EXPECT_EQ(h.t->selectedyear, 2026) << ticks;
  }
}

// The weekday names are the first two letters of the locale's names, from the first day on.
TEST(DateTemplate, WeekdayNamesStartWithTheFirstDay) {
  struct Case {
    int32_t firstday;
    const char* names[7];
  } cases[] = {
      {0, {"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"}},
      {1, {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"}},
  };
  for (const Case& c : cases) {
    DateHarness h;
    h.t->firstday = c.firstday;
    auto a = h.show();
    Canvas expected;
    expected.Initialize(h.t->daystitlespane);
    Font font = h.ui.CreateDefaultBoldFont(14);
    for (int i = 0; i < 7; ++i) {
      expected.DrawText(String(c.names[i]), (i + 0.5) * h.t->boxw, 20, font, static_cast<int32_t>(0xFF888888),
                        "CENTER");
    }
    auto want = expected.CreateBitmap();
    auto got = h.t->cvsdays.CreateBitmap();
    ASSERT_EQ(want->pixelWidth(), got->pixelWidth());
    EXPECT_TRUE(std::equal(want->pixels().begin(), want->pixels().end(), got->pixels().begin()))
        << "first day " << c.firstday;
  }
}

}  // namespace
}  // namespace tmr
