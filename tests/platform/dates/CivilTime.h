#pragma once
// An oracle for date tests, independent of the date service: ticks of a proleptic Gregorian
// wall time at a fixed UTC offset, from the standard library's civil calendar.
#include <chrono>
#include <cstdint>

namespace tmr::test {

// Year is astronomical (0 is 1 BC); offsetMinutes is east of UTC.
inline int64_t CivilTicks(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                          int offsetMinutes = 0) {
  using namespace std::chrono;
  auto days = sys_days{std::chrono::year{year} / month / day};
  auto t = days + hours{hour} + minutes{minute} + seconds{second} - minutes{offsetMinutes};
  return duration_cast<milliseconds>(t.time_since_epoch()).count();
}

inline int DaysInMonth(int year, int month) {
  using namespace std::chrono;
  return static_cast<int>(
      static_cast<unsigned>(year_month_day_last{std::chrono::year{year} / std::chrono::month(month) / last}.day()));
}

// 1 = Sunday … 7 = Saturday, of the UTC day of ticks.
inline int DayOfWeek(int64_t ticks) {
  using namespace std::chrono;
  auto day = floor<days>(sys_time<milliseconds>(milliseconds(ticks)));
  return static_cast<int>(weekday(day).c_encoding()) + 1;
}

}  // namespace tmr::test
