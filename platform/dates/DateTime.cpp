#include "platform/dates/DateTime.h"

#include <unicode/fieldpos.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/utypes.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <string_view>
#include <unordered_map>

#include "platform/core/Runtime.h"
#include "platform/dates/DateTextReader.h"
#include "platform/dates/IcuDates.h"

namespace tmr {

using dates::FromIcu;
using dates::MakeCalendar;
using dates::ToIcu;
using dates::ToTicks;

RuntimeError DateRangeError(std::string_view what) { return RuntimeError("Date out of range: " + std::string(what)); }

namespace {

std::string Utf8(const icu::UnicodeString& u) {
  std::string s;
  u.toUTF8String(s);
  return s;
}

// A year far enough past kMaxTicks that every legitimate intermediate year of Add stays below it,
// and close enough that the calendar's 32-bit field arithmetic cannot overflow.
constexpr int64_t kYearLimit = 300'000;

// Days in a month (0 = January) of the proleptic Gregorian calendar; years are signed.
int32_t DaysInMonth(int64_t year, int32_t month) {
  static constexpr int32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return month == 1 && leap ? 29 : kDays[month];
}

std::string GetEnv(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

}  // namespace

struct DateTime::Impl {
  icu::Locale locale{"en_US"};
  std::unique_ptr<icu::TimeZone> zone{icu::TimeZone::createTimeZone("UTC")};
  // Device zone, lenient: fields, arithmetic and formatting.
  std::unique_ptr<icu::GregorianCalendar> local;
  std::unordered_map<std::u16string, std::unique_ptr<icu::SimpleDateFormat>> formats;
  // Reads texts as the formatters write them, in the same zone and locale.
  std::unique_ptr<DateTextReader> reader;

  void rebuild() {
    local = MakeCalendar(*zone, locale, true);
    formats.clear();
    reader = std::make_unique<DateTextReader>(
        locale, *zone, [this](const String& pattern) -> icu::SimpleDateFormat& { return format(pattern); });
  }

  static void CheckTicks(int64_t ticks) {
    if (ticks < -kMaxTicks || ticks > kMaxTicks) throw DateRangeError(std::to_string(ticks));
  }

  icu::SimpleDateFormat& format(const String& pattern) {
    auto it = formats.find(pattern.units());
    if (it != formats.end()) return *it->second;
    UErrorCode st = U_ZERO_ERROR;
    auto f = std::make_unique<icu::SimpleDateFormat>(ToIcu(pattern), locale, st);
    if (U_FAILURE(st)) throw RuntimeError("Invalid date format: " + pattern.str());
    f->setCalendar(*local);  // Gregorian whatever the locale's own calendar is
    // Strict reading: no skipped spaces, no partial literals, no other patterns tried.
    f->setLenient(false);
    f->setBooleanAttribute(UDAT_PARSE_ALLOW_WHITESPACE, false, st);
    f->setBooleanAttribute(UDAT_PARSE_ALLOW_NUMERIC, false, st);
    f->setBooleanAttribute(UDAT_PARSE_PARTIAL_LITERAL_MATCH, false, st);
    f->setBooleanAttribute(UDAT_PARSE_MULTIPLE_PATTERNS_FOR_MATCH, false, st);
    if (formats.size() >= 64) formats.clear();  // patterns come from code: a handful in practice
    return *formats.emplace(pattern.units(), std::move(f)).first->second;
  }

  icu::GregorianCalendar& at(int64_t ticks) {
    CheckTicks(ticks);
    UErrorCode st = U_ZERO_ERROR;
    local->setTime(static_cast<UDate>(ticks), st);
    if (U_FAILURE(st)) throw DateRangeError(std::to_string(ticks));
    return *local;
  }

  int32_t field(int64_t ticks, UCalendarDateFields f) {
    auto& cal = at(ticks);
    UErrorCode st = U_ZERO_ERROR;
    int32_t v = cal.get(f, st);
    if (U_FAILURE(st)) throw DateRangeError(std::to_string(ticks));
    return v;
  }

  String formatAt(const String& pattern, int64_t ticks) {
    auto& f = format(pattern);
    auto& cal = at(ticks);
    icu::UnicodeString out;
    icu::FieldPosition fp;
    f.format(cal, out, fp);
    if (out.isBogus()) throw RuntimeError("Invalid date format: " + pattern.str());
    return FromIcu(out);
  }
};

DateTime::DateTime(Runtime& rt) : rt_(rt), impl_(std::make_unique<Impl>()) {
  std::string loc = GetEnv("LC_ALL");
  if (loc.empty()) loc = GetEnv("LC_TIME");
  if (loc.empty()) loc = GetEnv("LANG");
  impl_->locale = icu::Locale(LocaleIdFromPosix(loc).c_str());

  std::string tz = GetEnv("TZ");
  if (!tz.empty() && tz.front() == ':') tz.erase(0, 1);
  std::unique_ptr<icu::TimeZone> zone;
  if (tz.empty()) {
    zone.reset(icu::TimeZone::detectHostTimeZone());
  } else {
    zone.reset(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(tz)));
  }
  if (zone && *zone != icu::TimeZone::getUnknown()) impl_->zone = std::move(zone);
  impl_->rebuild();
}

DateTime::~DateTime() = default;

int64_t DateTime::Now() const { return rt_.Now(); }

void DateTime::setDateFormat(const String& pattern) {
  impl_->format(pattern);
  dateFormat_ = pattern;
}

void DateTime::setTimeFormat(const String& pattern) {
  impl_->format(pattern);
  timeFormat_ = pattern;
}

String DateTime::Date(int64_t ticks) { return impl_->formatAt(dateFormat_, ticks); }
String DateTime::Time(int64_t ticks) { return impl_->formatAt(timeFormat_, ticks); }

int64_t DateTime::DateParse(const String& text) {
  auto w = impl_->reader->read(dateFormat_, text);
  return impl_->reader->compose(w, w, w.zone ? &w : nullptr);
}

int64_t DateTime::TimeParse(const String& text) {
  auto time = impl_->reader->read(timeFormat_, text);
  auto& cal = impl_->at(Now());
  UErrorCode st = U_ZERO_ERROR;
  DateTextReader::WallTime today;
  today.year = cal.get(UCAL_EXTENDED_YEAR, st);
  today.month = cal.get(UCAL_MONTH, st);
  today.day = cal.get(UCAL_DATE, st);
  return impl_->reader->compose(today, time, time.zone ? &time : nullptr);
}

int64_t DateTime::DateTimeParse(const String& dateText, const String& timeText) {
  auto date = impl_->reader->read(dateFormat_, dateText);
  auto time = impl_->reader->read(timeFormat_, timeText);
  const DateTextReader::WallTime* zoned = time.zone ? &time : date.zone ? &date : nullptr;
  return impl_->reader->compose(date, time, zoned);
}

int64_t DateTime::Add(int64_t ticks, int32_t years, int32_t months, int32_t days) {
  auto& cal = impl_->at(ticks);
  UErrorCode st = U_ZERO_ERROR;
  // Each step must keep the year within the calendar's reach, or its field arithmetic overflows.
  int64_t year = cal.get(UCAL_EXTENDED_YEAR, st);
  int64_t afterYears = year + years;
  int64_t afterMonths = afterYears + months / 12;
  int64_t afterDays = afterMonths + days / 366;
  for (int64_t y : {afterYears, afterMonths, afterDays}) {
    if (y > kYearLimit || y < -kYearLimit) {
      throw DateRangeError(std::to_string(ticks) + " + " + std::to_string(y - year) + " years");
    }
  }
  if (years == 0 && months == 0 && days == 0) return ticks;
  // The date first, each step on the date alone, so that no step's time of day can move the next.
  int32_t day = cal.get(UCAL_DATE, st);
  const int32_t startMonth = cal.get(UCAL_MONTH, st);
  day = std::min(day, DaysInMonth(afterYears, startMonth));
  const int64_t toMonth = afterYears * 12 + startMonth + months;
  const int64_t toYear = toMonth >= 0 ? toMonth / 12 : -((-toMonth + 11) / 12);
  const auto month = static_cast<int32_t>(toMonth - toYear * 12);
  day = std::min(day, DaysInMonth(toYear, month));
  const int32_t fields[] = {UCAL_HOUR_OF_DAY, UCAL_MINUTE, UCAL_SECOND, UCAL_MILLISECOND};
  int32_t timeOfDay[4];
  for (size_t i = 0; i < 4; ++i) timeOfDay[i] = cal.get(static_cast<UCalendarDateFields>(fields[i]), st);
  // Then the time of day, once, on the day reached; the lenient calendar counts the days on from
  // the month's and resolves a time that the clock skips or repeats that day.
  cal.clear();
  cal.set(UCAL_EXTENDED_YEAR, static_cast<int32_t>(toYear));
  cal.set(UCAL_MONTH, month);
  cal.set(UCAL_DATE, day + days);
  for (size_t i = 0; i < 4; ++i) cal.set(static_cast<UCalendarDateFields>(fields[i]), timeOfDay[i]);
  UDate d = cal.getTime(st);
  if (U_FAILURE(st)) throw DateRangeError(std::to_string(ticks));
  return ToTicks(d);
}

int32_t DateTime::GetYear(int64_t ticks) { return impl_->field(ticks, UCAL_EXTENDED_YEAR); }
int32_t DateTime::GetMonth(int64_t ticks) { return impl_->field(ticks, UCAL_MONTH) + 1; }
int32_t DateTime::GetDayOfMonth(int64_t ticks) { return impl_->field(ticks, UCAL_DATE); }
int32_t DateTime::GetDayOfWeek(int64_t ticks) { return impl_->field(ticks, UCAL_DAY_OF_WEEK); }
int32_t DateTime::GetHour(int64_t ticks) { return impl_->field(ticks, UCAL_HOUR_OF_DAY); }
int32_t DateTime::GetMinute(int64_t ticks) { return impl_->field(ticks, UCAL_MINUTE); }
int32_t DateTime::GetSecond(int64_t ticks) { return impl_->field(ticks, UCAL_SECOND); }

double DateTime::TimeZoneOffset() { return GetTimeZoneOffsetAt(Now()); }

double DateTime::GetTimeZoneOffsetAt(int64_t ticks) {
  Impl::CheckTicks(ticks);
  int32_t raw = 0;
  int32_t dst = 0;
  UErrorCode st = U_ZERO_ERROR;
  impl_->zone->getOffset(static_cast<UDate>(ticks), false, raw, dst, st);
  if (U_FAILURE(st)) throw DateRangeError(std::to_string(ticks));
  return static_cast<double>(raw + dst) / static_cast<double>(TicksPerHour);
}

std::string DateTime::TimeZoneId() const {
  icu::UnicodeString id;
  impl_->zone->getID(id);
  return Utf8(id);
}

void DateTime::setTimeZone(std::string_view id) {
  std::unique_ptr<icu::TimeZone> tz(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(id)));
  if (!tz || *tz == icu::TimeZone::getUnknown()) throw RuntimeError("Unknown time zone: " + std::string(id));
  impl_->zone = std::move(tz);
  impl_->rebuild();
}

std::string DateTime::LocaleId() const { return impl_->locale.getName(); }

void DateTime::setLocale(std::string_view id) {
  icu::Locale loc(std::string(id).c_str());
  if (loc.isBogus()) throw RuntimeError("Unknown locale: " + std::string(id));
  impl_->locale = loc;
  impl_->rebuild();
}

std::string DateTime::LocaleIdFromPosix(std::string_view value) {
  auto cut = value.find_first_of(".@");
  std::string_view id = value.substr(0, cut);
  if (id.empty() || id == "C" || id == "POSIX") return "en_US";
  return std::string(id);
}

}  // namespace tmr
