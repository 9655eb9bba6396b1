// Cost per call of the date utilities' main operations: building a moment from its parts, the
// period between two moments, and adding a period back; and of the date service's reading of a text
// and adding to a moment.
#include <benchmark/benchmark.h>

#include "dateutils/tm_dateutils.h"
#include "platform/core/Runtime.h"
#include "platform/dates/DateTime.h"

namespace {

struct Fixture {
  explicit Fixture(const char* zone) {
    dt.setTimeZone(zone);
    dt.setLocale("en_US");
    du->initializeModule();
  }
  tmr::Runtime rt;
  tmr::DateTime& dt = rt.service<tmr::DateTime>();
  std::shared_ptr<tmr::tm_dateutils> du = rt.codeModule<tmr::tm_dateutils>();
};

const char* ZoneOf(const benchmark::State& state) { return state.range(0) == 0 ? "UTC" : "Europe/Berlin"; }

void BM_SetDateAndTime(benchmark::State& state) {
  Fixture f(ZoneOf(state));
  int day = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f.du->_setdateandtime(2020, 3, 1 + day, 14, 7, 9));
    day = (day + 1) % 28;
  }
}
BENCHMARK(BM_SetDateAndTime)->Arg(0)->Arg(1);

void BM_PeriodBetween(benchmark::State& state) {
  Fixture f(ZoneOf(state));
  int64_t start = f.du->_setdateandtime(2020, 1, 31, 10, 0, 0);
  int64_t end = f.du->_setdateandtime(2023, 11, 17, 9, 30, 15);
  for (auto _ : state) benchmark::DoNotOptimize(f.du->_periodbetween(start, end));
}
BENCHMARK(BM_PeriodBetween)->Arg(0)->Arg(1);

void BM_PeriodBetweenInDays(benchmark::State& state) {
  Fixture f(ZoneOf(state));
  int64_t start = f.du->_setdateandtime(2020, 1, 31, 10, 0, 0);
  int64_t end = f.du->_setdateandtime(2023, 11, 17, 9, 30, 15);
  for (auto _ : state) benchmark::DoNotOptimize(f.du->_periodbetweenindays(start, end));
}
BENCHMARK(BM_PeriodBetweenInDays)->Arg(0)->Arg(1);

void BM_AddPeriod(benchmark::State& state) {
  Fixture f(ZoneOf(state));
  int64_t start = f.du->_setdateandtime(2020, 1, 31, 10, 0, 0);
  auto period = f.du->_periodbetween(start, f.du->_setdateandtime(2023, 11, 17, 9, 30, 15));
  for (auto _ : state) benchmark::DoNotOptimize(f.du->_addperiod(start, period));
}
BENCHMARK(BM_AddPeriod)->Arg(0)->Arg(1);

// Reading a date: the service's own text, and the same text as typed in lower case, whose blanks
// the service checks part by part. The zone comes before the date, on a leap day.
void BM_DateParse(benchmark::State& state) {
  Fixture f("America/New_York");
  f.dt.setDateFormat("h:mm a z 'on' MMMM d, yyyy");
  const tmr::String text =
      state.range(0) == 0 ? "9:45 AM EST on February 29, 2024" : "9:45 am est on february 29, 2024";
  for (auto _ : state) benchmark::DoNotOptimize(f.dt.DateParse(text));
}
BENCHMARK(BM_DateParse)->ArgName("typed")->Arg(0)->Arg(1);

// Reading texts with names in the widths that short counts write: a weekday and a zone name, and
// a day period, whose half of the day is checked by writing the time read.
void BM_DateParseNames(benchmark::State& state) {
  Fixture f("America/Los_Angeles");
  if (state.range(0) == 0) {
    f.dt.setDateFormat("E MMM d HH:mm:ss z yyyy");
  } else {
    f.dt.setLocale("zh_Hant");
    f.dt.setDateFormat("y/M/d Bh:mm");
  }
  const tmr::String text = state.range(0) == 0 ? "Wed Jul 4 12:08:56 PDT 2001" : "2024/2/29 下午3:45";
  for (auto _ : state) benchmark::DoNotOptimize(f.dt.DateParse(text));
}
BENCHMARK(BM_DateParseNames)->ArgName("dayPeriod")->Arg(0)->Arg(1);

// Reading the service's own text with a generic zone name, which does not name the occurrence of
// a repeated hour: at 00:30 that day, and in the repeated hour, whose texts are checked against
// the texts of both occurrences.
void BM_DateParseRepeatedHour(benchmark::State& state) {
  Fixture f("America/New_York");
  f.dt.setLocale("en_CA");
  f.dt.setDateFormat("yyyy-MM-dd HH:mm:ss v");
  const tmr::String text = state.range(0) == 0 ? "2023-11-05 00:30:00 ET" : "2023-11-05 01:30:00 ET";
  for (auto _ : state) benchmark::DoNotOptimize(f.dt.DateParse(text));
}
BENCHMARK(BM_DateParseRepeatedHour)->ArgName("repeated")->Arg(0)->Arg(1);

// Adding years, months and days to a moment: in UTC, and across daylight-saving changes.
void BM_Add(benchmark::State& state) {
  Fixture f(ZoneOf(state));
  const int64_t start = f.du->_setdateandtime(2020, 1, 31, 2, 30, 0);
  int days = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f.dt.Add(start, 1, 2, days));
    days = (days + 1) % 400;
  }
}
BENCHMARK(BM_Add)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
