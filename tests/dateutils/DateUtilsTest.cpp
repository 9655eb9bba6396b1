#include "dateutils/tm_dateutils.h"

#include <gtest/gtest.h>

#include <unicode/locid.h>

#include <climits>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/dates/DateTime.h"
#include "tests/platform/dates/CivilTime.h"
#include "tests/support/ErrorOf.h"

namespace tmr {
namespace {

using test::CivilTicks;

constexpr int64_t kHour = DateTime::TicksPerHour;

class DateUtilsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt.setLogSink([this](std::string_view line) { log.emplace_back(line); });
    dt.setTimeZone("UTC");
    dt.setLocale("en_US");
    du->initializeModule();
  }
  // Years, months, days, hours, minutes, seconds of a period.
  static std::vector<int> Counts(const std::shared_ptr<_period>& p) {
    return {p->Years, p->Months, p->Days, p->Hours, p->Minutes, p->Seconds};
  }

  Runtime rt;
  DateTime& dt = rt.service<DateTime>();
  std::shared_ptr<tm_dateutils> du = rt.codeModule<tm_dateutils>();
  std::vector<std::string> log;
};

TEST_F(DateUtilsTest, BuildsLocalMoments) {
  struct Case {
    const char* zone;
    int y, mo, d, h, mi, s;
    int64_t ticks;
  };
  const std::vector<Case> cases = {
      {"UTC", 2020, 3, 5, 0, 0, 0, CivilTicks(2020, 3, 5)},
      {"UTC", 2020, 3, 5, 14, 7, 9, CivilTicks(2020, 3, 5, 14, 7, 9)},
      {"UTC", 2020, 2, 29, 23, 59, 59, CivilTicks(2020, 2, 29, 23, 59, 59)},
      {"UTC", 33, 4, 3, 15, 0, 0, CivilTicks(33, 4, 3, 15)},
      {"UTC", -1, 6, 1, 0, 0, 0, CivilTicks(0, 6, 1)},       // 1 BC
      {"UTC", -44, 3, 15, 0, 0, 0, CivilTicks(-43, 3, 15)},  // 44 BC
      {"Europe/Berlin", 2020, 3, 5, 14, 7, 9, CivilTicks(2020, 3, 5, 14, 7, 9, 60)},
      {"Europe/Berlin", 2020, 7, 5, 14, 7, 9, CivilTicks(2020, 7, 5, 14, 7, 9, 120)},
      {"Europe/Berlin", 2024, 3, 31, 2, 30, 0, CivilTicks(2024, 3, 31, 3, 30, 0, 120)},  // skipped: +1 h
      {"America/New_York", 2021, 12, 31, 19, 0, 0, CivilTicks(2022, 1, 1, 0)},
      {"America/Asuncion", 2023, 10, 1, 0, 0, 0, CivilTicks(2023, 10, 1, 1, 0, 0, -180)},  // midnight skipped
  };
  for (const auto& c : cases) {
    dt.setTimeZone(c.zone);
    EXPECT_EQ(du->_setdateandtime(c.y, c.mo, c.d, c.h, c.mi, c.s), c.ticks) << c.zone << " " << c.y << "-" << c.mo;
    if (c.h == 0 && c.mi == 0 && c.s == 0) {
      EXPECT_EQ(du->_setdate(c.y, c.mo, c.d), c.ticks);
    }
  }
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(dt.DateFormat(), String("MM/dd/yyyy"));
  EXPECT_EQ(dt.TimeFormat(), String("HH:mm:ss"));
}

TEST_F(DateUtilsTest, BuildsMomentsAtAGivenOffset) {
  struct Case {
    double zone;
    int offsetMinutes;
  };
  const std::vector<Case> cases = {{5.5, 330}, {-3, -180}, {-3.5, -210}, {0, 0}, {12.75, 765}, {-0.5, -30}};
  dt.setTimeZone("Europe/Berlin");  // the device's zone plays no part, nor its locale
  int32_t count = 0;
  const icu::Locale* locales = icu::Locale::getAvailableLocales(count);
  ASSERT_GT(count, 100);
  for (int32_t i = 0; i < count; ++i) {
    dt.setLocale(locales[i].getName());
    du->initializeModule();  // the era names are the locale's
    auto built = [&](int32_t year, int32_t month, int32_t day, int32_t hour, double zone) {
      try {
        return std::to_string(du->_setdateandtime2(year, month, day, hour, 7, 9, zone));
      } catch (const RuntimeError& e) {
        return std::string(e.what());
      }
    };
    for (const auto& c : cases) {
      EXPECT_EQ(built(2020, 3, 5, 14, c.zone), std::to_string(CivilTicks(2020, 3, 5, 14, 7, 9, c.offsetMinutes)))
          << locales[i].getName() << " " << c.zone;
    }
    EXPECT_EQ(built(-1, 1, 1, 0, 2), std::to_string(CivilTicks(0, 1, 1, 0, 7, 9, 120))) << locales[i].getName();
  }
  EXPECT_TRUE(log.empty());
}

TEST_F(DateUtilsTest, InvalidDateLogsRestoresFormatsAndFails) {
  struct Case {
    std::function<void()> call;
    const char* logged;
  };
  const std::vector<Case> cases = {
      {[&] { du->_setdate(2020, 13, 1); }, "AD20201301 000000"},
      {[&] { du->_setdate(2020, 1, 0); }, "AD20200100 000000"},
      {[&] { du->_setdate(2021, 2, 29); }, "AD20210229 000000"},
      {[&] { du->_setdate(2020, 4, 31); }, "AD20200431 000000"},
      {[&] { du->_setdate(0, 1, 1); }, "AD00000101 000000"},
      {[&] { du->_setdate(10000, 1, 1); }, "AD100000101 000000"},  // five year digits do not fit "yyyy"
      {[&] { du->_setdate(2020, -1, 1); }, "AD2020-0101 000000"},
      {[&] { du->_setdateandtime(2020, 1, 1, 24, 0, 0); }, "AD20200101 240000"},
      {[&] { du->_setdateandtime(2020, 1, 1, 23, 60, 0); }, "AD20200101 236000"},
      {[&] { du->_setdateandtime2(2020, 13, 1, 0, 0, 0, 5.5); }, "AD20201301000000GMT+05:30"},
      {[&] { du->_setdateandtime2(2020, 2, 30, 10, 0, 0, -3); }, "AD20200230100000GMT-03:00"},
      {[&] { du->_setdateandtime2(2020, 1, 1, 0, 0, 0, 99); }, "AD20200101000000GMT+99:00"},
  };
  dt.setDateFormat("yyyy-MM-dd");
  dt.setTimeFormat("HH.mm");
  for (const auto& c : cases) {
    log.clear();
    EXPECT_EQ(ErrorOf(c.call), "Cannot parse: invalid date") << c.logged;
    EXPECT_EQ(log, std::vector<std::string>{std::string("Error: Invalid value: ") + c.logged});
    EXPECT_EQ(dt.DateFormat(), String("yyyy-MM-dd"));
    EXPECT_EQ(dt.TimeFormat(), String("HH.mm"));
  }
}

TEST_F(DateUtilsTest, PeriodBetweenMoments) {
  struct Case {
    int64_t start, end;
    std::vector<int> counts;  // years, months, days, hours, minutes, seconds
  };
  const std::vector<Case> cases = {
      // Jan 31 + 1 month is Feb 29, not past Mar 1 09:00; + 2 months is Mar 31, which is.
      {CivilTicks(2020, 1, 31, 10), CivilTicks(2020, 3, 1, 9), {0, 1, 0, 23, 0, 0}},
      {CivilTicks(2020, 1, 1), CivilTicks(2020, 1, 1), {0, 0, 0, 0, 0, 0}},
      {CivilTicks(2020, 5, 10, 12), CivilTicks(2020, 5, 9, 10), {0, 0, -1, -2, 0, 0}},
      {CivilTicks(2020, 1, 1), CivilTicks(2021, 3, 4, 5, 6, 7), {1, 2, 3, 5, 6, 7}},
      {CivilTicks(2021, 3, 4, 5, 6, 7), CivilTicks(2020, 1, 1), {-1, -2, -3, -5, -6, -7}},
      {CivilTicks(2020, 2, 29), CivilTicks(2021, 2, 28), {1, 0, 0, 0, 0, 0}},
      {CivilTicks(2020, 2, 29), CivilTicks(2024, 2, 29), {4, 0, 0, 0, 0, 0}},
      {CivilTicks(2019, 3, 1), CivilTicks(2020, 2, 29), {0, 11, 28, 0, 0, 0}},
      {CivilTicks(2021, 1, 30), CivilTicks(2021, 3, 1), {0, 1, 1, 0, 0, 0}},
      {CivilTicks(2020, 3, 31), CivilTicks(2020, 2, 29), {0, -1, 0, 0, 0, 0}},
      {CivilTicks(2020, 12, 31, 23, 59, 59), CivilTicks(2021, 1, 1), {0, 0, 0, 0, 0, 1}},
      {CivilTicks(2021, 6, 15, 12), CivilTicks(2020, 6, 15, 13), {0, -11, -29, -23, 0, 0}},
      {CivilTicks(-4, 1, 1), CivilTicks(5, 1, 1), {9, 0, 0, 0, 0, 0}},  // 5 BC to AD 5
      {CivilTicks(5, 1, 1), CivilTicks(-4, 7, 1), {-8, -6, 0, 0, 0, 0}},
      {CivilTicks(0, 12, 31), CivilTicks(1, 1, 1), {0, 0, 1, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    auto p = du->_periodbetween(c.start, c.end);
    EXPECT_TRUE(p->IsInitialized);
    EXPECT_EQ(Counts(p), c.counts) << c.start << " -> " << c.end;
  }
}

TEST_F(DateUtilsTest, PeriodBetweenInDaysOnly) {
  struct Case {
    int64_t start, end;
    std::vector<int> counts;
  };
  const int64_t s = CivilTicks(2020, 1, 1);
  const std::vector<Case> cases = {
      {s, CivilTicks(2021, 2, 4, 3, 4, 5), {0, 0, 400, 3, 4, 5}},
      {CivilTicks(2021, 2, 4, 3, 4, 5), s, {0, 0, -400, -3, -4, -5}},
      {s, CivilTicks(2020, 1, 2, 2), {0, 0, 1, 2, 0, 0}},
      {CivilTicks(2020, 1, 2, 2), s, {0, 0, -1, -2, 0, 0}},
      {s, s + 5000, {0, 0, 0, 0, 0, 5}},
      {s, s, {0, 0, 0, 0, 0, 0}},
      {CivilTicks(2020, 2, 28), CivilTicks(2021, 2, 28), {0, 0, 366, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Counts(du->_periodbetweenindays(c.start, c.end)), c.counts) << c.start << " -> " << c.end;
  }
  // Across the spring change, 47 hours from one midnight to the next but one are two days.
  dt.setTimeZone("Europe/Berlin");
  int64_t from = du->_setdate(2024, 3, 30);
  EXPECT_EQ(Counts(du->_periodbetweenindays(from, from + 47 * kHour)), (std::vector<int>{0, 0, 2, 0, 0, 0}));
  EXPECT_EQ(Counts(du->_periodbetweenindays(from, from + 48 * kHour)), (std::vector<int>{0, 0, 2, 1, 0, 0}));
}

TEST_F(DateUtilsTest, AddingThePeriodGivesBackTheEnd) {
  const std::vector<std::pair<int64_t, int64_t>> pairs = {
      {CivilTicks(2020, 1, 31, 10), CivilTicks(2020, 3, 1, 9)},
      {CivilTicks(2020, 2, 29, 6, 30), CivilTicks(2023, 3, 1, 5, 29, 59)},
      {CivilTicks(2019, 12, 31), CivilTicks(2020, 2, 29, 12)},
      {CivilTicks(2021, 3, 4, 5, 6, 7), CivilTicks(2020, 1, 1)},
      {CivilTicks(2020, 3, 31), CivilTicks(2019, 2, 28, 1)},
      {CivilTicks(-4, 2, 29), CivilTicks(3, 3, 1)},
      {CivilTicks(2024, 3, 30, 2, 30, 0, 60), CivilTicks(2024, 11, 2, 2, 30, 0, 60)},
      // The two ends of the supported range: the search must not step past them.
      {-DateTime::kMaxTicks, DateTime::kMaxTicks},
      {DateTime::kMaxTicks, -DateTime::kMaxTicks},
  };
  for (const char* zone : {"UTC", "Europe/Berlin", "America/Sao_Paulo"}) {
    dt.setTimeZone(zone);
    for (auto [s, e] : pairs) {
      EXPECT_EQ(du->_addperiod(s, du->_periodbetween(s, e)), e) << zone << " " << s << " -> " << e;
      EXPECT_EQ(du->_addperiod(s, du->_periodbetweenindays(s, e)), e) << zone << " days " << s << " -> " << e;
    }
  }
}

// The period's rule, tried count by count from zero: the largest number of years, then months,
// then days whose step from the start does not pass the end (towards it, either way).
TEST_F(DateUtilsTest, PeriodsAreTheLargestStepsThatDoNotPassTheEnd) {
  auto reference = [&](int64_t start, int64_t end, bool daysOnly) {
    const int dir = end >= start ? 1 : -1;
    auto within = [&](int64_t t) { return dir > 0 ? t <= end : t >= end; };
    int y = 0, m = 0, d = 0;
    if (!daysOnly) {
      while (within(dt.Add(start, y + dir, 0, 0))) y += dir;
      while (within(dt.Add(start, y, m + dir, 0))) m += dir;
    }
    while (within(dt.Add(start, y, m, d + dir))) d += dir;
    const int64_t r = end - dt.Add(start, y, m, d);
    return std::vector<int>{
        y, m, d, static_cast<int>(r / kHour), static_cast<int>(r % kHour / 60000), static_cast<int>(r % 60000 / 1000)};
  };
  std::mt19937_64 random(7);
  for (const char* zone : {"Europe/Berlin", "America/Asuncion", "Australia/Lord_Howe", "Pacific/Apia"}) {
    dt.setTimeZone(zone);
    for (int i = 0; i < 60; ++i) {
      // Starts on month ends and around clock changes as often as anywhere, spans of an hour to 30 years.
      const int64_t start =
          CivilTicks(1995 + static_cast<int>(random() % 25), 1 + static_cast<int>(random() % 12),
                     i % 3 ? 1 + static_cast<int>(random() % 31) : 31, static_cast<int>(random() % 24));
      const int64_t span = static_cast<int64_t>(random() % (i % 2 ? 30 * 366 : 70)) * 86400000 +
                           static_cast<int64_t>(random() % 86400) * 1000;
      const int64_t end = i % 4 == 3 ? start - span : start + span;
      EXPECT_EQ(Counts(du->_periodbetween(start, end)), reference(start, end, false))
          << zone << " " << start << " " << end;
      EXPECT_EQ(Counts(du->_periodbetweenindays(start, end)), reference(start, end, true))
          << zone << " days " << start << " " << end;
    }
  }
}

TEST_F(DateUtilsTest, AddPeriodAddsCalendarPartsBeforeFixedOnes) {
  auto p = std::make_shared<_period>();
  p->Initialize();
  p->Months = 1;
  p->Hours = 30;
  p->Minutes = -1;
  p->Seconds = 2;
  // Jan 31 + 1 month clamps to Feb 29 before the 30 hours are added.
  EXPECT_EQ(du->_addperiod(CivilTicks(2020, 1, 31), p), CivilTicks(2020, 3, 1, 5, 59, 2));
  EXPECT_EQ(ErrorOf([&] { du->_addperiod(0, nullptr); }), "Object not initialized (_period)");
}

TEST_F(DateUtilsTest, DaysInEveryMonth) {
  for (const char* zone : {"UTC", "Europe/Berlin", "America/Asuncion", "Australia/Lord_Howe"}) {
    dt.setTimeZone(zone);
    for (int year : {1900, 2000, 2018, 2023, 2024, 2100}) {
      for (int month = 1; month <= 12; ++month) {
        EXPECT_EQ(du->_numberofdaysinmonth(month, year), test::DaysInMonth(year, month))
            << zone << " " << year << "-" << month;
      }
    }
  }
  EXPECT_TRUE(log.empty());
}

TEST_F(DateUtilsTest, SameDayInTheDevicesZone) {
  struct Case {
    const char* zone;
    int64_t a, b;
    bool same;
  };
  const std::vector<Case> cases = {
      {"UTC", CivilTicks(2020, 3, 5), CivilTicks(2020, 3, 5, 23, 59, 59), true},
      {"UTC", CivilTicks(2020, 3, 5, 23, 30), CivilTicks(2020, 3, 6, 0, 10), false},
      {"Europe/Berlin", CivilTicks(2020, 3, 5, 23, 30), CivilTicks(2020, 3, 6, 0, 10), true},
      {"UTC", CivilTicks(2020, 3, 5), CivilTicks(2021, 3, 5), false},
      {"UTC", CivilTicks(2020, 3, 5), CivilTicks(2020, 4, 5), false},
      {"UTC", CivilTicks(0, 1, 1), CivilTicks(1, 1, 1), false},
  };
  for (const auto& c : cases) {
    dt.setTimeZone(c.zone);
    EXPECT_EQ(du->_issameday(c.a, c.b), c.same) << c.zone << " " << c.a << " " << c.b;
  }
}

TEST_F(DateUtilsTest, DayAndMonthNames) {
  // Late in a 31-day month, so that stepping back to January must clamp.
  rt.loop().advanceTo(CivilTicks(2026, 3, 31, 22));
  dt.setDateFormat("yyyy");
  const std::vector<std::string> days = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  const std::vector<std::string> months = {"January", "February", "March",     "April",   "May",      "June",
                                           "July",    "August",   "September", "October", "November", "December"};
  for (const auto& [list, expected] :
       {std::pair{du->_getdaysnames(), days}, std::pair{du->_getmonthsnames(), months}}) {
    std::vector<std::string> names;
    for (const Object& o : list) names.push_back(o.AsString().str());
    EXPECT_EQ(names, expected);
  }
  EXPECT_EQ(du->_getdaysnames(), du->dayslist);
  EXPECT_EQ(du->_getdaysnames(), du->_getdaysnames());  // the cache object itself
  EXPECT_EQ(du->_getmonthsnames(), du->monthslist);
  EXPECT_EQ(du->_getdayofweekname(CivilTicks(2024, 3, 3)), String("Sunday"));
  EXPECT_EQ(du->_getmonthname(CivilTicks(2024, 3, 3)), String("March"));
  EXPECT_EQ(du->_getera(false), String("AD"));
  EXPECT_EQ(du->_getera(true), String("BC"));
  EXPECT_EQ(dt.DateFormat(), String("yyyy"));
  dt.setLocale("de_DE");
  EXPECT_EQ(du->_getdayofweekname(CivilTicks(2024, 3, 3)), String("Sonntag"));
  EXPECT_EQ(du->_getmonthname(CivilTicks(2024, 3, 3)), String("März"));
}

TEST_F(DateUtilsTest, UnixTimeConversions) {
  const std::vector<std::pair<int64_t, int64_t>> toUnix = {{1999, 1},
                                                           {-1999, -1},
                                                           {-1500, -1},
                                                           {999, 0},
                                                           {0, 0},
                                                           {1583366400000, 1583366400},
                                                           {INT64_MAX, INT64_MAX / 1000}};
  for (auto [ticks, seconds] : toUnix) EXPECT_EQ(du->_tickstounixtime(ticks), seconds) << ticks;
  EXPECT_EQ(du->_unixtimetoticks(1583366400), 1583366400000);
  EXPECT_EQ(du->_unixtimetoticks(-5), -5000);
  EXPECT_EQ(du->_unixtimetoticks(INT64_MAX / 1000), INT64_MAX / 1000 * 1000);
  for (int64_t seconds : {INT64_MAX / 1000 + 1, INT64_MIN / 1000 - 1, INT64_MAX, INT64_MIN}) {
    EXPECT_EQ(ErrorOf([&] { du->_unixtimetoticks(seconds); }), "Date out of range: " + std::to_string(seconds) + " s");
  }
}

TEST_F(DateUtilsTest, TextOfAMomentAndNumberText) {
  int64_t t = CivilTicks(2020, 3, 5, 14, 7, 9);
  EXPECT_EQ(du->_tickstostring(t), String("03/05/2020 14:07:09"));
  dt.setDateFormat("yyyy-MM-dd");
  EXPECT_EQ(du->_tickstostring(t), String("2020-03-05 14:07:09"));
  const std::vector<std::tuple<int, int, const char*>> numbers = {
      {7, 4, "0007"}, {33, 4, "0033"}, {-7, 2, "-07"}, {12345, 2, "12345"}, {0, 2, "00"}};
  for (auto [n, len, text] : numbers) EXPECT_EQ(du->_format(n, len), String(text));
}

TEST_F(DateUtilsTest, PeriodRecordAndCallsByName) {
  auto p = du->_periodbetween(CivilTicks(2020, 1, 1), CivilTicks(2021, 3, 4, 5, 6, 7));
  EXPECT_EQ(p->description(), "[IsInitialized=true, Years=1, Months=2, Days=3, Hours=5, Minutes=6, Seconds=7]");
  EXPECT_EQ(_period().description(), "Not initialized");

  Object m(std::static_pointer_cast<Module>(du));
  EXPECT_EQ(du->c->CallSub3(m, "NumberOfDaysInMonth", 2, 2024).AsInt(), 29);
  EXPECT_TRUE(du->c->CallSub3(m, "SetDate", 2020, 3).IsNull());  // wrong arity: no such sub
  auto entry = du->subTable().find("_setdate:::");
  ASSERT_NE(entry, nullptr);
  std::vector<Object> args = {Object(2020), Object(3), Object(5)};
  EXPECT_EQ(entry->call(*du, args).AsLong(), CivilTicks(2020, 3, 5));
}

}  // namespace
}  // namespace tmr
