#pragma once
// What the date service and its reader of texts share over ICU: texts to and from ICU's, moments
// from ICU's, and calendars set up as the service uses them.
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/core/Object.h"
#include "platform/core/RuntimeError.h"
#include "platform/core/String.h"
#include "platform/dates/DateTime.h"

namespace tmr::dates {

inline icu::UnicodeString ToIcu(const String& s) { return icu::UnicodeString(s.units().data(), s.Length()); }

inline String FromIcu(const icu::UnicodeString& u) { return String(std::u16string(u.getBuffer(), u.length())); }

// The ticks of an ICU moment, which must lie within ±kMaxTicks.
inline int64_t ToTicks(UDate d) {
  if (!(d >= static_cast<double>(-DateTime::kMaxTicks) && d <= static_cast<double>(DateTime::kMaxTicks))) {
    throw DateRangeError(NumberToString(d).str());
  }
  return static_cast<int64_t>(std::floor(d));
}

template <class Calendar = icu::GregorianCalendar>
std::unique_ptr<Calendar> MakeCalendar(const icu::TimeZone& tz, const icu::Locale& loc, bool lenient) {
  UErrorCode st = U_ZERO_ERROR;
  auto cal = std::make_unique<Calendar>(tz, loc, st);
  if (U_FAILURE(st)) throw RuntimeError("Date service: cannot create a calendar");
  // One rule for all years, so that day counts and periods are uniform across history.
  cal->setGregorianChange(U_DATE_MIN, st);
  cal->setLenient(lenient);
  cal->setSkippedWallTimeOption(UCAL_WALLTIME_LAST);    // a skipped time moves forward by the gap
  cal->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);  // a repeated time is its first occurrence
  return cal;
}

}  // namespace tmr::dates
