#pragma once
// The runtime's date and time service: one process-wide date format and time format, formatting
// and parsing with those patterns, calendar fields and calendar arithmetic in the device's time
// zone and locale, and the current time from the main loop's clock. Reached as
// rt.service<DateTime>(); main thread only.
//
// Moments are ticks: milliseconds since 1970-01-01 UTC. The calendar is the proleptic Gregorian
// one (the same rules before 1582 as after), and years are signed: 1 BC is year 0, 2 BC is -1.
//
// Parsing is strict: the whole text must match the pattern and every field must be in range
// (month 13, day 0, 30 February, hour 24 and year 0 of an era are rejected); any failure raises
// "Cannot parse: <text>". A blank that starts the text or comes before a number is read only
// where the pattern has one, or inside a name that holds one. A weekday that disagrees with the
// date moves nothing, and neither does a quarter where the pattern has a month; without one, a
// quarter gives its first month. Each name reads in the width that the formatter writes for its
// field's count (E and EE the abbreviated weekday, B and BB the abbreviated day period, ccccc the
// narrow stand-alone weekday; a narrow month only where it is written like a wider one), and a
// day period gives the half of the day that the formatter writes it for. A local time that the
// clock skips (a daylight-saving gap) is moved forward by the length of the gap. A local time that
// the device's clock or the text's zone shows twice reads as the moment that the service writes as
// the text (the first occurrence where it writes both alike); a text that it writes for no moment
// gives the occurrence that its zone names (standard or daylight time, or the offset), or else the
// first. Ticks outside ±kMaxTicks, or results that would leave that range, raise DateRangeError.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/core/RuntimeError.h"
#include "platform/core/String.h"

namespace tmr {

class Runtime;

// The range error of date conversions: "Date out of range: <what>".
[[nodiscard]] RuntimeError DateRangeError(std::string_view what);

class DateTime {
 public:
  explicit DateTime(Runtime& rt);
  ~DateTime();
  DateTime(const DateTime&) = delete;
  DateTime& operator=(const DateTime&) = delete;

  static constexpr int64_t TicksPerSecond = 1000;
  static constexpr int64_t TicksPerMinute = 60 * TicksPerSecond;
  static constexpr int64_t TicksPerHour = 60 * TicksPerMinute;
  static constexpr int64_t TicksPerDay = 24 * TicksPerHour;
  // The moments the calendar handles: 100,000,000 days either side of 1970 (about 273,790 years).
  static constexpr int64_t kMaxTicks = 100'000'000 * TicksPerDay;

  // The current time of the main loop's clock.
  int64_t Now() const;

  // The process-wide patterns; defaults "MM/dd/yyyy" and "HH:mm:ss". Setting a pattern that the
  // formatter cannot use raises an error and keeps the previous one.
  const String& DateFormat() const { return dateFormat_; }
  void setDateFormat(const String& pattern);
  const String& TimeFormat() const { return timeFormat_; }
  void setTimeFormat(const String& pattern);

  // Text of a moment in the date format / the time format, in the device's zone and locale.
  String Date(int64_t ticks);
  String Time(int64_t ticks);

  // Text in the date format -> ticks. A pattern with a zone field takes the zone from the text;
  // otherwise the text is a local time of the device's zone.
  int64_t DateParse(const String& text);
  // Text in the time format -> that local time of day on today's date.
  int64_t TimeParse(const String& text);
  // Local date (date format) at the local time of day (time format).
  int64_t DateTimeParse(const String& dateText, const String& timeText);

  // Adds years, then months, then days to the local date in the device's zone (a day past the
  // end of a month becoming the month's last day, and a day that the zone skipped still counting
  // as one), then sets the local time of day once on the day reached: a time that the clock skips
  // that day moves forward by that gap's length; one that it repeats is its first occurrence. No
  // step's time of day moves the next, so adding nothing gives the moment back.
  int64_t Add(int64_t ticks, int32_t years, int32_t months, int32_t days);

  // Calendar fields of a moment in the device's zone.
  int32_t GetYear(int64_t ticks);        // signed: 1 BC is 0
  int32_t GetMonth(int64_t ticks);       // 1 … 12
  int32_t GetDayOfMonth(int64_t ticks);  // 1 … 31
  int32_t GetDayOfWeek(int64_t ticks);   // 1 = Sunday … 7 = Saturday
  int32_t GetHour(int64_t ticks);        // 0 … 23
  int32_t GetMinute(int64_t ticks);
  int32_t GetSecond(int64_t ticks);

  // Offset of the device's zone from UTC in hours, now / at a moment (daylight saving included).
  double TimeZoneOffset();
  double GetTimeZoneOffsetAt(int64_t ticks);

  // The device's time zone (an IANA id such as "Europe/Berlin") and locale ("en_US"). Both are
  // read from the environment (TZ; LC_ALL, LC_TIME, LANG) when the service starts; UTC and en_US
  // when absent. Tests set them here instead of changing the process environment.
  std::string TimeZoneId() const;
  void setTimeZone(std::string_view id);  // an unknown id raises an error
  std::string LocaleId() const;
  void setLocale(std::string_view id);

  // The locale id of a POSIX locale value ("de_DE.UTF-8@euro" -> "de_DE"); "", "C" and "POSIX"
  // give "en_US".
  static std::string LocaleIdFromPosix(std::string_view value);

 private:
  struct Impl;
  Runtime& rt_;
  std::unique_ptr<Impl> impl_;
  String dateFormat_ = "MM/dd/yyyy";
  String timeFormat_ = "HH:mm:ss";
};

}  // namespace tmr
