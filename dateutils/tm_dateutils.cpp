#include "dateutils/tm_dateutils.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/core/Common.h"
#include "platform/core/Object.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/dates/DateFormatGuard.h"
#include "platform/dates/DateTime.h"

namespace tmr {

namespace {

// A moment far enough before the current era for every calendar to name the era before it.
constexpr int64_t kBeforeCurrentEra = -137628808000000;

// |n| as an Int: the largest Int for the one value whose magnitude has none.
int32_t AbsInt(int32_t n) {
  int64_t a = std::llabs(static_cast<int64_t>(n));
  return a > INT32_MAX ? INT32_MAX : static_cast<int32_t>(a);
}

int32_t Truncate(double x) { return Object(x).AsInt(); }

}  // namespace

void tm_dateutils::_process_globals() {
  dayslist = List();
  monthslist = List();
  ad = "";
  bc = "";
}

DateTime& tm_dateutils::dates() const { return c->runtime().service<DateTime>(); }

void tm_dateutils::invalidDate(const String& text) const {
  c->Log(String("Error: Invalid value: ") + text);
  // The runtime's own conversion error, as converting that text to a number raises it.
  ParseNumber(String("invalid date"));
  throw CannotParse("invalid date");
}

String tm_dateutils::_format(int32_t Number, int32_t Length) {
  return Common::NumberFormat2(Number, Length, 0, 0, false);
}

String tm_dateutils::_getera(bool BC) {
  String& cached = BC ? bc : ad;
  if (cached.empty()) {
    DateTime& dt = dates();
    DateFormatGuard guard(dt);
    dt.setDateFormat("GG");
    cached = dt.Date(BC ? kBeforeCurrentEra : 0);
  }
  return cached;
}

int64_t tm_dateutils::_setdate(int32_t Years, int32_t Months, int32_t Days) {
  return _setdateandtime(Years, Months, Days, 0, 0, 0);
}

int64_t tm_dateutils::_setdateandtime(int32_t Years, int32_t Months, int32_t Days, int32_t Hours, int32_t Minutes,
                                      int32_t Seconds) {
  DateTime& dt = dates();
  DateFormatGuard guard(dt);
  dt.setDateFormat("GGyyyyMMdd");
  dt.setTimeFormat("HHmmss");
  String date = _getera(Years < 0) + _format(AbsInt(Years), 4) + _format(Months, 2) + _format(Days, 2);
  String time = _format(Hours, 2) + _format(Minutes, 2) + _format(Seconds, 2);
  try {
    return dt.DateTimeParse(date, time);
  } catch (const RuntimeError&) {
    guard.restore();
    invalidDate(date + " " + time);
  }
}

int64_t tm_dateutils::_setdateandtime2(int32_t Years, int32_t Months, int32_t Days, int32_t Hours, int32_t Minutes,
                                       int32_t Seconds, double TimeZone) {
  DateTime& dt = dates();
  DateFormatGuard guard(dt);
  // "GMT" and then the offset in ISO form, which reads the same in every locale (a zone field "z"
  // reads the locale's own form, "GMT+5.30" in some).
  dt.setDateFormat("GGyyyyMMddHHmmss'GMT'xxxxx");
  String text = _getera(Years < 0) + _format(AbsInt(Years), 4) + _format(Months, 2) + _format(Days, 2);
  int32_t total = Truncate(std::fabs(TimeZone * 60));  // minutes
  int32_t hours = total / 60;
  String sign = TimeZone < 0 ? "-" : "+";
  text = text + _format(Hours, 2) + _format(Minutes, 2) + _format(Seconds, 2) + "GMT" + sign + _format(hours, 2) + ":" +
         _format(total % 60, 2);
  try {
    return dt.DateParse(text);
  } catch (const RuntimeError&) {
    guard.restore();
    invalidDate(text);
  }
}

std::shared_ptr<_period> tm_dateutils::_periodbetween(int64_t Start, int64_t EndTime) {
  return period(Start, EndTime, false);
}

std::shared_ptr<_period> tm_dateutils::_periodbetweenindays(int64_t Start, int64_t EndTime) {
  return period(Start, EndTime, true);
}

namespace {

// The searches below try step counts one by one until a step passes the end. Every count below
// the one these return is known not to pass it, whatever the zone: n calendar days last n days
// give or take the changes of the zone's offset in between, which add up to less than two days
// (daylight saving moves clocks by hours, the largest change in history was one day), and a
// month is at most 31 days. So a search may start there, and finds what it would have found
// from its first count.
int32_t FirstDayToTry(int64_t ticksLeft) {
  return static_cast<int32_t>(std::max<int64_t>(1, ticksLeft / DateTime::TicksPerDay - 2));
}
int32_t FirstMonthToTry(int64_t ticksLeft) {
  return static_cast<int32_t>(std::max<int64_t>(1, (ticksLeft / DateTime::TicksPerDay - 2) / 31));
}

}  // namespace

// Each count is the largest number of calendar steps that does not pass EndTime, taken in the
// order years, months, days, each step counted from Start together with the counts before it
// (as adding the period adds them); what is left is split into hours, minutes and seconds. Stepping
// through the calendar (rather than dividing) is what makes month ends, leap days and
// daylight-saving changes come out right.
std::shared_ptr<_period> tm_dateutils::period(int64_t Start, int64_t EndTime, bool daysOnly) {
  for (int64_t t : {Start, EndTime}) {
    if (t < -DateTime::kMaxTicks || t > DateTime::kMaxTicks) throw DateRangeError(std::to_string(t));
  }
  DateTime& dt = dates();
  auto P = std::make_shared<_period>();
  P->Initialize();
  int64_t t = Start;
  int32_t g = 0;
  // A step that would leave the supported range lies past EndTime, which is inside it: the
  // search takes it as one step too far instead of failing.
  const bool forward = EndTime > Start;
  auto step = [&dt, forward](int64_t from, int32_t years, int32_t months, int32_t days) {
    try {
      return dt.Add(from, years, months, days);
    } catch (const RuntimeError&) {
      return forward ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    }
  };
  if (EndTime > Start) {
    if (!daysOnly) {
      int32_t years = dt.GetYear(EndTime) - dt.GetYear(Start);
      t = step(Start, years, 0, 0);
      P->Years = t <= EndTime ? years : years - 1;
      t = dt.Add(Start, P->Years, 0, 0);
      for (int32_t m = FirstMonthToTry(EndTime - t); m <= 13; ++m) {
        if (step(Start, P->Years, m, 0) > EndTime) {
          P->Months = m - 1;
          break;
        }
      }
      t = dt.Add(Start, P->Years, P->Months, 0);
    } else {
      // Three days short of the estimate, so that daylight-saving hours cannot make it overshoot.
      g = Truncate(static_cast<double>(EndTime - Start) / DateTime::TicksPerDay - 3.0);
    }
    for (int32_t d = std::max(g + 1, FirstDayToTry(EndTime - t)); d <= g + 32; ++d) {
      if (step(Start, P->Years, P->Months, d) > EndTime) {
        P->Days = d - 1;
        break;
      }
    }
    t = dt.Add(Start, P->Years, P->Months, P->Days);
    int64_t r = EndTime - t;
    P->Hours = Truncate(static_cast<double>(r) / DateTime::TicksPerHour);
    P->Minutes = Truncate(static_cast<double>(r % DateTime::TicksPerHour) / DateTime::TicksPerMinute);
    P->Seconds = Truncate(static_cast<double>(r % DateTime::TicksPerMinute) / DateTime::TicksPerSecond);
  } else {
    if (!daysOnly) {
      int32_t years = dt.GetYear(EndTime) - dt.GetYear(Start);
      t = step(Start, years, 0, 0);
      P->Years = EndTime <= t ? years : years + 1;
      t = dt.Add(Start, P->Years, 0, 0);
      for (int32_t m = -FirstMonthToTry(t - EndTime); m >= -13; --m) {
        if (step(Start, P->Years, m, 0) < EndTime) {
          P->Months = m + 1;
          break;
        }
      }
      t = dt.Add(Start, P->Years, P->Months, 0);
    } else {
      g = Truncate(static_cast<double>(EndTime - Start) / DateTime::TicksPerDay + 3.0);
    }
    for (int32_t d = std::min(g - 1, -FirstDayToTry(t - EndTime)); d >= g - 32; --d) {
      if (step(Start, P->Years, P->Months, d) < EndTime) {
        P->Days = d + 1;
        break;
      }
    }
    t = dt.Add(Start, P->Years, P->Months, P->Days);
    int64_t r = t - EndTime;
    P->Hours = -Truncate(static_cast<double>(r) / DateTime::TicksPerHour);
    P->Minutes = -Truncate(static_cast<double>(r % DateTime::TicksPerHour) / DateTime::TicksPerMinute);
    P->Seconds = -Truncate(static_cast<double>(r % DateTime::TicksPerMinute) / DateTime::TicksPerSecond);
  }
  return P;
}

int64_t tm_dateutils::_addperiod(int64_t Ticks, std::shared_ptr<_period> Per) {
  if (!Per) throw NotInitialized("_period");
  int64_t t = dates().Add(Ticks, Per->Years, Per->Months, Per->Days);
  // Each product is below 2^53 and t is within the calendar's range, so the sum cannot overflow.
  return t + int64_t{Per->Hours} * DateTime::TicksPerHour + int64_t{Per->Minutes} * DateTime::TicksPerMinute +
         int64_t{Per->Seconds} * DateTime::TicksPerSecond;
}

int32_t tm_dateutils::_numberofdaysinmonth(int32_t Month, int32_t Year) {
  int64_t first = _setdate(Year, Month, 1);
  int64_t next = dates().Add(first, 0, 1, 0);
  // Rounded, so that a daylight-saving change inside the month does not change the count.
  return static_cast<int32_t>(Common::Round(static_cast<double>(next - first) / DateTime::TicksPerDay));
}

bool tm_dateutils::_issameday(int64_t Ticks1, int64_t Ticks2) {
  DateTime& dt = dates();
  return dt.GetYear(Ticks1) == dt.GetYear(Ticks2) && dt.GetMonth(Ticks1) == dt.GetMonth(Ticks2) &&
         dt.GetDayOfMonth(Ticks1) == dt.GetDayOfMonth(Ticks2);
}

String tm_dateutils::_tickstostring(int64_t Ticks) {
  DateTime& dt = dates();
  return dt.Date(Ticks) + " " + dt.Time(Ticks);
}

int64_t tm_dateutils::_tickstounixtime(int64_t Ticks) {
  // Integer division truncates toward zero like the double division would, and stays exact
  // where a double no longer holds every millisecond.
  return Ticks / DateTime::TicksPerSecond;
}

int64_t tm_dateutils::_unixtimetoticks(int64_t UnixTime) {
  int64_t ticks = 0;
  if (__builtin_mul_overflow(UnixTime, DateTime::TicksPerSecond, &ticks)) {
    throw DateRangeError(std::to_string(UnixTime) + " s");
  }
  return ticks;
}

List tm_dateutils::_getdaysnames() {
  if (!dayslist.IsInitialized()) {
    // Filled aside and stored only when complete, so a failure leaves no half-filled cache.
    List names;
    names.Initialize();
    DateTime& dt = dates();
    DateFormatGuard guard(dt);
    dt.setDateFormat("EEEE");
    int64_t now = dt.Now();
    int64_t day = dt.Add(now, 0, 0, 1 - dt.GetDayOfWeek(now));  // the Sunday of this week
    for (int i = 0; i < 7; ++i) {
      names.Add(dt.Date(day));
      day = dt.Add(day, 0, 0, 1);
    }
    dayslist = names;
  }
  return dayslist;
}

List tm_dateutils::_getmonthsnames() {
  if (!monthslist.IsInitialized()) {
    List names;
    names.Initialize();
    DateTime& dt = dates();
    DateFormatGuard guard(dt);
    dt.setDateFormat("MMMM");
    int64_t now = dt.Now();
    // January of this year; the calendar clamps the day, which keeps every step in its month.
    int64_t month = dt.Add(now, 0, 1 - dt.GetMonth(now), 0);
    for (int i = 0; i < 12; ++i) {
      names.Add(dt.Date(month));
      month = dt.Add(month, 0, 1, 0);
    }
    monthslist = names;
  }
  return monthslist;
}

String tm_dateutils::_getdayofweekname(int64_t Ticks) {
  DateTime& dt = dates();
  DateFormatGuard guard(dt);
  dt.setDateFormat("EEEE");
  return dt.Date(Ticks);
}

String tm_dateutils::_getmonthname(int64_t Ticks) {
  DateTime& dt = dates();
  DateFormatGuard guard(dt);
  dt.setDateFormat("MMMM");
  return dt.Date(Ticks);
}

const SubTable& tm_dateutils::subTable() const {
  static const SubTable table{
      sub<&tm_dateutils::_setdate>("_setdate:::"),
      sub<&tm_dateutils::_setdateandtime>("_setdateandtime::::::"),
      sub<&tm_dateutils::_setdateandtime2>("_setdateandtime2:::::::"),
      sub<&tm_dateutils::_periodbetween>("_periodbetween::"),
      sub<&tm_dateutils::_periodbetweenindays>("_periodbetweenindays::"),
      sub<&tm_dateutils::_addperiod>("_addperiod::"),
      sub<&tm_dateutils::_numberofdaysinmonth>("_numberofdaysinmonth::"),
      sub<&tm_dateutils::_issameday>("_issameday::"),
      sub<&tm_dateutils::_tickstostring>("_tickstostring:"),
      sub<&tm_dateutils::_tickstounixtime>("_tickstounixtime:"),
      sub<&tm_dateutils::_unixtimetoticks>("_unixtimetoticks:"),
      sub<&tm_dateutils::_getdaysnames>("_getdaysnames"),
      sub<&tm_dateutils::_getmonthsnames>("_getmonthsnames"),
      sub<&tm_dateutils::_getdayofweekname>("_getdayofweekname:"),
      sub<&tm_dateutils::_getmonthname>("_getmonthname:"),
      sub<&tm_dateutils::_getera>("_getera:"),
      sub<&tm_dateutils::_format>("_format::"),
  };
  return table;
}

}  // namespace tmr
