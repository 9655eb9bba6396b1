// Date and time parsing: any date and time patterns, and any texts to parse with them. A
// pattern the formatter cannot use and a text that does not match are RuntimeErrors; a parsed
// moment is one the calendar handles, and its fields and texts follow without harm.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "fuzz/FuzzInput.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/core/String.h"
#include "platform/dates/DateTime.h"

namespace {

void UseMoment(tmr::DateTime& dt, int64_t ticks, tmr::FuzzInput& in) {
  if (ticks < -tmr::DateTime::kMaxTicks || ticks > tmr::DateTime::kMaxTicks) std::abort();
  dt.Date(ticks);
  dt.Time(ticks);
  dt.GetYear(ticks);
  dt.GetDayOfWeek(ticks);
  dt.GetTimeZoneOffsetAt(ticks);
  try {
    dt.Add(ticks, in.int32(), in.int32(), in.int32());
  } catch (const tmr::RuntimeError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static tmr::Runtime rt;
  auto& dt = rt.service<tmr::DateTime>();
  tmr::FuzzInput in(data, size);
  static const char* const kZones[] = {"UTC", "Europe/Berlin", "America/New_York", "Australia/Lord_Howe"};
  static const char* const kLocales[] = {"en_US", "de_DE", "ar_EG", "th_TH"};
  dt.setTimeZone(kZones[in.byte() % 4]);
  dt.setLocale(kLocales[in.byte() % 4]);
  for (bool date : {true, false}) {
    auto pattern = tmr::String(in.text(40));
    try {
      date ? dt.setDateFormat(pattern) : dt.setTimeFormat(pattern);
    } catch (const tmr::RuntimeError&) {
    }
  }
  const tmr::String dateText(in.text(60));
  const tmr::String timeText(in.text(60));
  std::optional<int64_t> moments[3];
  try {
    moments[0] = dt.DateParse(dateText);
  } catch (const tmr::RuntimeError&) {
  }
  try {
    moments[1] = dt.TimeParse(timeText);
  } catch (const tmr::RuntimeError&) {
  }
  try {
    moments[2] = dt.DateTimeParse(dateText, timeText);
  } catch (const tmr::RuntimeError&) {
  }
  for (const auto& m : moments)
    if (m) UseMoment(dt, *m, in);
  UseMoment(dt, in.int32() * int64_t{1000}, in);
  return 0;
}
