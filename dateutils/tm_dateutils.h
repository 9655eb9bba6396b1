#pragma once
// Calendar helpers on the runtime's date and time service: moments built from their parts
// (optionally in a given UTC offset), the period between two moments and adding one back, days in
// a month, same-day tests, Unix time, and the locale's day, month and era names.
//
// A code module: one instance per runtime, rt.codeModule<tm_dateutils>(), set up by
// _process_globals. Moments are ticks (ms since 1970 UTC); calendar fields are those of the
// device's calendar and zone. Subs that change the service's date or time format put it back
// before they return, on failures too.
#include <cstdint>
#include <memory>

#include "dateutils/_period.h"
#include "platform/core/List.h"
#include "platform/core/Module.h"
#include "platform/core/String.h"

namespace tmr {

class DateTime;

class tm_dateutils : public StaticModule {
 public:
  // Ticks of that local day at 00:00:00.
  int64_t _setdate(int32_t Years, int32_t Months, int32_t Days);
  // Ticks of that local date and time. A negative year is that many years before the current
  // era (-1 is 1 BC). A date the parser rejects logs "Error: Invalid value: <date> <time>" and
  // fails with "Cannot parse: invalid date".
  int64_t _setdateandtime(int32_t Years, int32_t Months, int32_t Days, int32_t Hours, int32_t Minutes, int32_t Seconds);
  // The same at a fixed offset of TimeZone hours east of GMT (5.5 is GMT+05:30).
  int64_t _setdateandtime2(int32_t Years, int32_t Months, int32_t Days, int32_t Hours, int32_t Minutes, int32_t Seconds,
                           double TimeZone);

  // The largest whole numbers of years, months and days, then hours, minutes and seconds, that
  // lead from Start towards EndTime without passing it (negative counts when it lies before).
  std::shared_ptr<_period> _periodbetween(int64_t Start, int64_t EndTime);
  // The same in days, hours, minutes and seconds only.
  std::shared_ptr<_period> _periodbetweenindays(int64_t Start, int64_t EndTime);
  // Ticks plus the period: calendar parts first (years, months, days), then the fixed ones.
  int64_t _addperiod(int64_t Ticks, std::shared_ptr<_period> Per);

  int32_t _numberofdaysinmonth(int32_t Month, int32_t Year);
  bool _issameday(int64_t Ticks1, int64_t Ticks2);
  // Date and time text in the service's current formats, separated by a space.
  String _tickstostring(int64_t Ticks);
  int64_t _tickstounixtime(int64_t Ticks);
  int64_t _unixtimetoticks(int64_t UnixTime);  // a result past 64 bits is a range error

  // The cached lists (the module's own objects): 7 day names from Sunday, 12 month names.
  List _getdaysnames();
  List _getmonthsnames();
  String _getdayofweekname(int64_t Ticks);
  String _getmonthname(int64_t Ticks);
  // The era name of the current era, or of the one before it (cached).
  String _getera(bool BC);
  // Number with at least Length digits (leading zeros), a minus sign when negative.
  String _format(int32_t Number, int32_t Length);

  void _process_globals() override;
  std::string_view className() const override { return "tm_dateutils"; }
  const SubTable& subTable() const override;

  List dayslist;
  List monthslist;
  String ad;
  String bc;

 private:
  DateTime& dates() const;
  std::shared_ptr<_period> period(int64_t Start, int64_t EndTime, bool daysOnly);
  [[noreturn]] void invalidDate(const String& text) const;
};

}  // namespace tmr
