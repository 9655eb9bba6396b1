#include "platform/dates/DateTime.h"

#include <gtest/gtest.h>

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>

#include <array>
#include <climits>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Runtime.h"
#include "tests/platform/dates/CivilTime.h"
#include "tests/support/ErrorOf.h"

namespace tmr {
namespace {

using test::CivilTicks;

class DateTimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dt.setTimeZone("UTC");
    dt.setLocale("en_US");
  }

  // Reads text with the date format: as the moment ticks, or, without one, refused.
  void ExpectDateParse(const char* text, std::optional<int64_t> ticks, const std::string& where) {
    if (!ticks) {
      EXPECT_EQ(ErrorOf([&] { dt.DateParse(text); }), std::string("Cannot parse: ") + text) << where;
      return;
    }
    try {
      EXPECT_EQ(dt.DateParse(text), *ticks) << where << ": " << text;
    } catch (const RuntimeError& e) {
      ADD_FAILURE() << where << ": " << e.what();
    }
  }

  Runtime rt;
  DateTime& dt = rt.service<DateTime>();
};

TEST_F(DateTimeTest, StartsWithMonthDayYearAndTwentyFourHourFormats) {
  EXPECT_EQ(dt.DateFormat(), String("MM/dd/yyyy"));
  EXPECT_EQ(dt.TimeFormat(), String("HH:mm:ss"));
  int64_t t = CivilTicks(2020, 3, 5, 14, 7, 9);
  EXPECT_EQ(dt.Date(t), String("03/05/2020"));
  EXPECT_EQ(dt.Time(t), String("14:07:09"));
}

TEST_F(DateTimeTest, FormatsInTheDevicesZoneAndLocale) {
  struct Case {
    const char* zone;
    const char* locale;
    int64_t ticks;
    const char* pattern;
    const char* text;
  };
  const int64_t t = CivilTicks(2020, 3, 5, 23, 7, 9);
  const std::vector<Case> cases = {
      {"UTC", "en_US", t, "yyyy-MM-dd HH:mm:ss", "2020-03-05 23:07:09"},
      {"Europe/Berlin", "en_US", t, "yyyy-MM-dd HH:mm:ss", "2020-03-06 00:07:09"},
      {"America/New_York", "en_US", t, "yyyy-MM-dd HH:mm:ss", "2020-03-05 18:07:09"},
      {"UTC", "en_US", t, "EEEE", "Thursday"},
      {"Europe/Berlin", "en_US", t, "EEEE", "Friday"},
      {"UTC", "en_US", t, "MMMM", "March"},
      {"UTC", "de_DE", t, "EEEE", "Donnerstag"},
      {"UTC", "de_DE", t, "MMMM", "März"},
      {"UTC", "en_US", t, "GGyyyyMMdd", "AD20200305"},
      {"UTC", "en_US", -137628808000000, "GG", "BC"},
      {"UTC", "en_US", CivilTicks(0, 6, 1), "GGyyyy", "BC0001"},
      {"Asia/Kolkata", "en_US", t, "HHmmssz", "043709GMT+5:30"},
  };
  for (const auto& c : cases) {
    dt.setTimeZone(c.zone);
    dt.setLocale(c.locale);
    dt.setDateFormat(c.pattern);
    EXPECT_EQ(dt.Date(c.ticks).str(), c.text) << c.zone << " " << c.locale << " " << c.pattern;
  }
}

TEST_F(DateTimeTest, ParsesWhatItFormats) {
  const std::vector<const char*> patterns = {"MM/dd/yyyy HH:mm:ss", "GGyyyyMMddHHmmss", "yyyy-MM-dd'T'HH:mm:ss",
                                             "GGyyyyMMddHHmmssz", "EEEE, MMMM d, yyyy 'at' h:mm:ss a"};
  const std::vector<int64_t> moments = {CivilTicks(2020, 2, 29, 12, 0, 1), CivilTicks(1999, 12, 31, 23, 59, 59),
                                        CivilTicks(1, 1, 1), CivilTicks(9999, 12, 30, 23, 59, 59)};
  for (const char* zone : {"UTC", "Europe/Berlin", "Asia/Kolkata"}) {
    dt.setTimeZone(zone);
    for (const char* p : patterns) {
      dt.setDateFormat(p);
      for (int64_t t : moments) EXPECT_EQ(dt.DateParse(dt.Date(t)), t) << zone << " " << p << " " << dt.Date(t);
    }
  }
}

// In every installed locale, a text the service writes reads back as the same moment, 29 February
// among them, with patterns whose names may begin with a digit or hold a blank before one (months
// "3月", quarters "1-й кв.", zones "GMT -5"), a quarter after the month, a quoted blank first,
// names holding digits beside numbers side by side (quarters "𞤐𞥑"), the zone before the date,
// the date utilities' own, and the locale's own time and date-time patterns. And a blank
// that the pattern lacks before a number field is refused there: each refused text is one
// written with the pattern plus that blank, also with the zone written without a blank of its
// own ("GMT-5" for "GMT -5").
TEST_F(DateTimeTest, ReadsBackWhatItWritesInEveryLocale) {
  struct RoundTrip {
    const char* date;
    const char* time;  // read with DateTimeParse when set
    bool era, hasDate, hasTime;
  };
  const RoundTrip roundTrips[] = {
      {"d MMM yyyy", nullptr, false, true, false},
      {"yyyy QQQ dd MM", nullptr, false, true, false},
      {"ccc LLL d yyyy", nullptr, false, true, false},
      {"EEEE, MMMM d, yyyy 'at' h:mm:ss a", nullptr, false, true, true},
      {"HH:mm z", nullptr, false, false, true},
      {"MM/dd/yyyy", "HH:mm:ss", false, true, true},
      {"GGyyyyMMdd", "HHmmss", true, true, true},
      {"GGyyyyMMddHHmmssz", nullptr, true, true, true},
      {"GGyyyyMMddHHmmss'GMT'xxxxx", nullptr, true, true, true},
      {"yyyyMMdd QQQ HH:mm", nullptr, false, true, true},
      {"' 'd LLLL yyyy qqqq QQ", nullptr, false, true, false},
      {"QQQ yyyyMMdd HHmm", nullptr, false, true, true},
      {"h:mm a z 'on' MMMM d, yyyy", nullptr, false, true, true},
      {"zzzz d MMMM yyyy QQQ", nullptr, false, true, false},
  };
  const std::pair<const char*, const char*> refused[] = {
      {"MM/dd/yyyy", "MM/' 'dd/yyyy"},         {"d MMM,yyyy", "d MMM,' 'yyyy"},    {"MMMd yyyy", "MMM' 'd yyyy"},
      {"yyyy QQQ dd.MM", "yyyy QQQ dd.' 'MM"}, {"HH:mm z", "HH:' 'mm z"},          {"GGyyyyMMdd", "GGyyyy' 'MMdd"},
      {"ccc LLL d,yyyy", "ccc LLL d,' 'yyyy"}, {"HH:mm z", "HH:' 'mm 'GMT'xxxxx"},
  };
  // Zones whose names are offsets in many locales, one before UTC and one after it by a fraction.
  const std::pair<const char*, int> zones[] = {{"America/New_York", -300}, {"Asia/Kolkata", 330}};
  int32_t count = 0;
  const icu::Locale* locales = icu::Locale::getAvailableLocales(count);
  ASSERT_GT(count, 100);
  for (int32_t i = 0; i < count; ++i) {
    const auto& [zone, offsetMinutes] = zones[i % 2];
    dt.setTimeZone(zone);
    dt.setLocale(locales[i].getName());
    // And the locale's own time and date-time patterns, in each of its four lengths.
    std::vector<std::string> standard;
    for (auto style : {icu::DateFormat::kFull, icu::DateFormat::kLong, icu::DateFormat::kMedium, icu::DateFormat::kShort}) {
      for (auto* format : {icu::DateFormat::createTimeInstance(style, locales[i]),
                           icu::DateFormat::createDateTimeInstance(style, style, locales[i])}) {
        const std::unique_ptr<icu::DateFormat> owned(format);
        icu::UnicodeString pattern;
        auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format);
        if (simple) simple->toPattern(pattern).toUTF8String(standard.emplace_back());
      }
    }
    std::vector<RoundTrip> all(std::begin(roundTrips), std::end(roundTrips));
    for (size_t k = 0; k < standard.size(); ++k) all.push_back({standard[k].c_str(), nullptr, false, k % 2 == 1, true});
    for (const auto& r : all) {
      std::vector<int64_t> moments;
      for (auto [y, mo, d] :
           {std::array{2020, 3, 4}, std::array{2021, 11, 25}, std::array{2024, 2, 29}, std::array{-43, 3, 15}}) {
        if (y < 1 && !r.era) continue;
        if (!r.hasDate) y = 1970, mo = 1, d = 1;
        moments.push_back(
            CivilTicks(y, mo, d, r.hasTime ? 19 : 0, r.hasTime ? 7 : 0, r.hasTime && r.time ? 9 : 0, offsetMinutes));
        if (!r.hasDate) break;
      }
      dt.setDateFormat(r.date);
      if (r.time) dt.setTimeFormat(r.time);
      for (int64_t t : moments) {
        const String date = dt.Date(t);
        const String time = r.time ? dt.Time(t) : String();
        try {
          EXPECT_EQ(r.time ? dt.DateTimeParse(date, time) : dt.DateParse(date), t)
              << locales[i].getName() << " " << zone << " " << r.date << ": " << date.str() << " " << time.str();
        } catch (const RuntimeError& e) {
          ADD_FAILURE() << locales[i].getName() << " " << zone << " " << r.date << ": " << e.what();
        }
      }
    }
    const int64_t t = CivilTicks(2020, 3, 4, 19, 7, 0, offsetMinutes);
    for (const auto& [pattern, withBlank] : refused) {
      dt.setDateFormat(withBlank);
      const String text = dt.Date(t);
      dt.setDateFormat(pattern);
      EXPECT_EQ(ErrorOf([&] { dt.DateParse(text); }), "Cannot parse: " + text.str())
          << locales[i].getName() << " " << zone << " " << pattern << ": " << text.str();
    }
  }
}

// A quarter sets the month only where the pattern has none (it then gives the quarter's first
// month); beside a month it moves nothing, wherever it stands, as a weekday that disagrees with the
// date moves nothing. A numeric quarter must be 1 to 4 all the same.
TEST_F(DateTimeTest, AQuarterGivesTheMonthOnlyWhereThePatternHasNone) {
  struct Case {
    const char* pattern;
    const char* text;
    std::optional<int64_t> ticks;  // none: refused
  };
  const int64_t march4 = CivilTicks(2020, 3, 4);
  const Case cases[] = {
      {"yyyy-MM-dd QQQ", "2020-03-04 Q3", march4},
      {"QQQ yyyy-MM-dd", "Q3 2020-03-04", march4},
      {"LLL d yyyy qqqq", "Mar 4 2020 4th quarter", march4},
      {"yyyyMMQdd", "202003404", march4},
      {"yyyy QQQ dd", "2020 Q2 15", CivilTicks(2020, 4, 15)},
      {"yyyy QQQQ DDD", "2020 3rd quarter 064", march4},
      {"Q yyyy-MM-dd", "5 2020-03-04", std::nullopt},
      {"yyyy-MM-dd QQ", "2020-03-04 00", std::nullopt},
      {"yyyyMMQdd", "202003504", std::nullopt},
      {"yyyy-MM-dd Q", "2020-13-04 1", std::nullopt},
  };
  for (const auto& c : cases) {
    dt.setDateFormat(c.pattern);
    if (c.ticks) {
      EXPECT_EQ(dt.DateParse(c.text), *c.ticks) << c.pattern << " " << c.text;
    } else {
      EXPECT_EQ(ErrorOf([&] { dt.DateParse(c.text); }), std::string("Cannot parse: ") + c.text) << c.pattern;
    }
  }
}

// Each name reads in the width that the service writes for its field's count: E and EE the
// abbreviated weekday, B and BB (b and bb) the abbreviated day period, ccccc the narrow stand-alone
// weekday, and a narrow month where it is written like the abbreviated one. A day period's name
// gives the half of the day in which the service writes it, also where two periods share it ("du
// mat." before and after 4:00). A name of another width than the count's, a narrow month that
// stands for several ("J"), blanks the pattern lacks and dates that do not exist stay refused.
TEST_F(DateTimeTest, ANameReadsInTheWidthThatItsCountWrites) {
  struct Case {
    const char* locale;
    const char* zone;
    const char* pattern;
    const char* text;
    std::optional<int64_t> ticks;  // none: refused
  };
  const int pdt = -420, cet = 60;
  const int64_t leapDay = CivilTicks(2024, 2, 29), july4 = CivilTicks(2001, 7, 4);
  auto at = [](int hour, int minute) { return CivilTicks(1970, 1, 1, hour, minute); };
  const Case cases[] = {
      {"en_US", "America/Los_Angeles", "E MMM d HH:mm:ss z yyyy", "Wed Jul 4 12:08:56 PDT 2001",
       CivilTicks(2001, 7, 4, 12, 8, 56, pdt)},
      {"en_US", "UTC", "E dd MMM yyyy", "Wed 04 Jul 2001", july4},
      {"en_US", "UTC", "E dd MMM yyyy", "wed 04 jul 2001", july4},
      {"en_US", "UTC", "E dd MMM yyyy", "Fri 04 Jul 2001", july4},  // a weekday moves nothing
      {"de_DE", "Europe/Berlin", "E yyyy-MM-dd", "Do. 2024-02-29", CivilTicks(2024, 2, 29, 0, 0, 0, cet)},
      {"de_DE", "UTC", "EE, d. MMM yyyy", "Do., 29. Feb. 2024", leapDay},
      {"en_US", "Europe/Berlin", "yyyy-MM-dd HH:mm:ss.SSS B", "2024-02-29 15:45:00.000 in the afternoon",
       CivilTicks(2024, 2, 29, 15, 45, 0, cet)},
      {"en_US", "UTC", "h:mm BB", "3:45 in the afternoon", at(15, 45)},
      {"zh_Hant", "UTC", "y/M/d Bh:mm", "2024/2/29 下午3:45", CivilTicks(2024, 2, 29, 15, 45)},
      {"zh_Hant_TW", "UTC", "y/M/d Bh:mm", "2024/2/29 凌晨1:05", CivilTicks(2024, 2, 29, 1, 5)},
      {"fr_CA", "UTC", "y/M/d Bh:mm", "2024/2/29 du mat.1:15", CivilTicks(2024, 2, 29, 1, 15)},
      {"fr_CA", "UTC", "y/M/d Bh:mm", "2024/2/29 du mat.12:15", CivilTicks(2024, 2, 29, 0, 15)},
      {"fr_CA", "UTC", "yyyy-MM-dd HH:mm B", "2024-02-29 01:15 du mat.", CivilTicks(2024, 2, 29, 1, 15)},
      {"fr_FR", "UTC", "h:mm BBBB", "12:00 du matin", at(0, 0)},
      {"ms_MY", "UTC", "h:mm B", "6:30 pagi", at(6, 30)},
      {"ms_MY", "UTC", "h:mm B", "6:30 petang", at(18, 30)},
      {"en_US", "UTC", "h:mm b", "12:00 noon", at(12, 0)},
      {"ja_JP", "UTC", "h:mm bbbb", "12:00 正午", at(12, 0)},
      {"ja_JP", "UTC", "ccccc yyyy-MM-dd", "木 2024-02-29", leapDay},
      {"ru_RU", "UTC", "ccccc d MMM yyyy", "Ч 29 февр. 2024", leapDay},
      {"en_US", "UTC", "ccccc yyyy-MM-dd", "T 2024-02-29", leapDay},
      {"th_TH", "UTC", "MMMMM yyyy", "ก.พ. 2024", CivilTicks(2024, 2, 1)},
      {"th_TH", "UTC", "d LLLLL yyyy", "29 ก.พ. 2024", leapDay},
      {"ko_KR", "UTC", "MMMMM yyyy", "2월 2024", CivilTicks(2024, 2, 1)},
      {"en_US", "UTC", "EEEE dd MMM yyyy", "Wed 04 Jul 2001", std::nullopt},
      {"en_US", "UTC", "E dd MMM yyyy", "Wednesday 04 Jul 2001", std::nullopt},
      {"en_US", "UTC", "E dd MMM yyyy", " Wed 04 Jul 2001", std::nullopt},
      {"en_US", "UTC", "E dd MMM yyyy", "Wed 04 Jul 2001 ", std::nullopt},
      {"en_US", "UTC", "E dd MMM yyyy", "Wed 30 Feb 2001", std::nullopt},
      {"de_DE", "UTC", "E yyyy-MM-dd", "Do. 2023-02-29", std::nullopt},
      {"en_US", "UTC", "h:mm B", "3:45 afternoon", std::nullopt},
      {"en_US", "UTC", "ccccc yyyy-MM-dd", "Thu 2024-02-29", std::nullopt},
      {"en_US", "UTC", "MMMMM yyyy", "J 2024", std::nullopt},
      {"en_US", "UTC", "MMMMM yyyy", "F 2024", std::nullopt},
      {"th_TH", "UTC", "MMMMM yyyy", "กุมภาพันธ์ 2024", std::nullopt},
  };
  for (const auto& c : cases) {
    dt.setLocale(c.locale);
    dt.setTimeZone(c.zone);
    dt.setDateFormat(c.pattern);
    ExpectDateParse(c.text, c.ticks, std::string(c.locale) + " " + c.pattern);
  }
}

// A date that 1970 lacks reads as its neighbour does: 29 February of a leap year as 28 February,
// with the zone before the date, as written, in lower case or with a blank doubled, and with a
// quarter; a day in May as one in June in a zone whose 1970 calendar skips the first hour of 1
// May. Dates that do not exist stay refused, and so does a month or quarter out of range that a
// later quarter would otherwise hide.
TEST_F(DateTimeTest, ADateThatNineteenSeventyLacksReadsAsItsNeighbourDoes) {
  struct Case {
    const char* locale;
    const char* pattern;
    const char* text;
    std::optional<int64_t> ticks;  // none: refused
  };
  const int est = -300, khartoum = 120;
  const char* const onDay = "h:mm a z 'on' MMMM d, yyyy";
  const char* const vietnamese = "HH:mm:ss z d MMM, y";
  const char* const withQuarter = "zzzz d MMMM yyyy QQQ";
  const char* const zoneIdFirst = "VV yyyy-MM-dd QQQ";
  const char* const numericQuarterLast = "VV yyyy-MM-dd Q";
  const Case cases[] = {
      {"en_US", onDay, "9:45 AM EST on February 28, 2024", CivilTicks(2024, 2, 28, 9, 45, 0, est)},
      {"en_US", onDay, "9:45 AM EST on February 29, 2024", CivilTicks(2024, 2, 29, 9, 45, 0, est)},
      {"en_US", onDay, "9:45 am est on february 28, 2024", CivilTicks(2024, 2, 28, 9, 45, 0, est)},
      {"en_US", onDay, "9:45 am est on february 29, 2024", CivilTicks(2024, 2, 29, 9, 45, 0, est)},
      {"en_US", onDay, "9:45 AM EST on February  29, 2024", CivilTicks(2024, 2, 29, 9, 45, 0, est)},
      {"en_US", onDay, "9:45 AM EST on February 29,  2024", CivilTicks(2024, 2, 29, 9, 45, 0, est)},
      {"en_US", onDay, "9:45 AM EST on March 1, 2024", CivilTicks(2024, 3, 1, 9, 45, 0, est)},
      {"en_US", onDay, "9:45 AM EST on February 29, 2023", std::nullopt},
      {"en_US", onDay, "9:45 am EST on February 29, 2023", std::nullopt},
      {"en_US", onDay, "9:45 AM EST on February 30, 2024", std::nullopt},
      {"en_US", onDay, "9:45 AM EST on February 29 , 2024", std::nullopt},
      {"en_US", onDay, "9:45 AM EST on February 29, 2024 ", std::nullopt},
      {"vi_VN", vietnamese, "04:45:00 EST 28 thg 2, 2024", CivilTicks(2024, 2, 28, 4, 45, 0, est)},
      {"vi_VN", vietnamese, "04:45:00 EST  29 thg 2, 2024", CivilTicks(2024, 2, 29, 4, 45, 0, est)},
      {"vi_VN", vietnamese, "04:45:00 EST 29 thg 2, 2023", std::nullopt},
      {"en_US", withQuarter, "Eastern Standard Time 28 February 2024 Q1", CivilTicks(2024, 2, 28, 0, 0, 0, est)},
      {"en_US", withQuarter, "Eastern Standard Time 29 February 2024 Q1", CivilTicks(2024, 2, 29, 0, 0, 0, est)},
      {"en_US", withQuarter, "eastern standard time 29 february 2024 q1", CivilTicks(2024, 2, 29, 0, 0, 0, est)},
      {"en_US", withQuarter, "Eastern Standard Time 29 February 2024 Q4", CivilTicks(2024, 2, 29, 0, 0, 0, est)},
      {"en_US", withQuarter, "Eastern Standard Time 29 February 2023 Q1", std::nullopt},
      {"en_US", withQuarter, "Eastern Standard Time 30 February 2024 Q1", std::nullopt},
      {"en_US", zoneIdFirst, "Africa/Khartoum 2020-06-10 Q2", CivilTicks(2020, 6, 10, 0, 0, 0, khartoum)},
      {"en_US", zoneIdFirst, "Africa/Khartoum 2020-05-10 Q2", CivilTicks(2020, 5, 10, 0, 0, 0, khartoum)},
      {"en_US", zoneIdFirst, "Africa/Khartoum 2024-02-29 Q1", CivilTicks(2024, 2, 29, 0, 0, 0, khartoum)},
      {"en_US", zoneIdFirst, "Africa/Khartoum 2023-02-29 Q1", std::nullopt},
      {"en_US", zoneIdFirst, "Africa/Khartoum 2020-13-10 Q2", std::nullopt},
      {"en_US", numericQuarterLast, "Africa/Khartoum 2020-12-10 4", CivilTicks(2020, 12, 10, 0, 0, 0, khartoum)},
      {"en_US", numericQuarterLast, "Africa/Khartoum 2020-05-10 1", CivilTicks(2020, 5, 10, 0, 0, 0, khartoum)},
      {"en_US", numericQuarterLast, "Africa/Khartoum 2020-13-10 4", std::nullopt},
      {"en_US", numericQuarterLast, "Africa/Khartoum 2020-00-10 1", std::nullopt},
      {"en_US", numericQuarterLast, "Africa/Khartoum 2020-05-10 5", std::nullopt},
      {"en_US", numericQuarterLast, "Africa/Khartoum 2020-05-10 0", std::nullopt},
  };
  for (const char* zone : {"UTC", "America/New_York", "Africa/Khartoum"}) {
    dt.setTimeZone(zone);
    for (const auto& c : cases) {
      dt.setLocale(c.locale);
      dt.setDateFormat(c.pattern);
      ExpectDateParse(c.text, c.ticks, std::string(zone) + " " + c.pattern);
    }
  }
}

TEST_F(DateTimeTest, ParsingFailsUnlessTheWholeTextIsAValidDate) {
  struct Case {
    const char* pattern;
    const char* text;
  };
  const std::vector<Case> cases = {
      {"MM/dd/yyyy", "13/01/2020"},
      {"MM/dd/yyyy", "00/10/2020"},
      {"MM/dd/yyyy", "02/30/2020"},
      {"MM/dd/yyyy", "02/29/2021"},
      {"MM/dd/yyyy", "04/31/2020"},
      {"MM/dd/yyyy", "01/00/2020"},
      {"MM/dd/yyyy", "01/01/2020 "},
      {"MM/dd/yyyy", "01/01/2020x"},
      {"MM/dd/yyyy", "01/01"},
      {"MM/dd/yyyy", ""},
      {"MM/dd/yyyy", "1-1-2020"},
      {"GGyyyyMMdd", "AD20201305"},
      {"GGyyyyMMdd", "AD20200230"},
      {"GGyyyyMMdd", "AD00000101"},
      {"GGyyyyMMdd", "XX20200101"},
      {"GGyyyyMMdd", "AD2020010"},
      {"HH:mm:ss", "24:00:00"},
      {"HH:mm:ss", "12:60:00"},
      {"HH:mm:ss", "12:00:60"},
      {"HHmmss", "240000"},
      // Blanks where the pattern has none.
      {"MM/dd/yyyy", " 03/05/2020"},
      {"MM/dd/yyyy", "03/ 05/2020"},
      {"MM/dd/yyyy", "03/05/\t2020"},
      {"GGyyyyMMdd", "AD 20200101"},
      {"HH:mm:ss", "12: 00:00"},
      {"MMM d, yyyy", " Mar 5, 2020"},
      // Digits beyond any field, in ASCII and in Arabic-Indic digits: the fraction field must
      // not divide by zero on them.
      {"S", "7777777777777777777777777777777777777777777777777777777"},
      {"yyyyS",
       "٢٠٢٠٧٧٧٧٧٧٧٧٧٧٧٧٧٧"
       "٧٧٧٧٧٧٧٧٧٧٧٧٧٧٧٧٧٧"},
  };
  for (const auto& c : cases) {
    dt.setDateFormat(c.pattern);
    EXPECT_EQ(ErrorOf([&] { dt.DateParse(c.text); }), std::string("Cannot parse: ") + c.text) << c.pattern;
  }
}

TEST_F(DateTimeTest, AcceptsTheEdgesOfTheValidRange) {
  struct Case {
    const char* pattern;
    const char* text;
    int64_t ticks;
  };
  const std::vector<Case> cases = {
      {"MM/dd/yyyy", "02/29/2020", CivilTicks(2020, 2, 29)},
      {"MM/dd/yyyy", "02/29/2000", CivilTicks(2000, 2, 29)},
      {"MM/dd/yyyy", "12/31/2020", CivilTicks(2020, 12, 31)},
      {"HH:mm:ss", "23:59:59", CivilTicks(1970, 1, 1, 23, 59, 59)},
      {"GGyyyyMMdd", "BC00010101", CivilTicks(0, 1, 1)},
      {"GGyyyyMMdd", "BC00050101", CivilTicks(-4, 1, 1)},
      {"GGyyyyMMddHHmmssz", "AD20200305140709GMT+05:30", CivilTicks(2020, 3, 5, 14, 7, 9, 330)},
      {"GGyyyyMMddHHmmssz", "AD20200305140709GMT-03:30", CivilTicks(2020, 3, 5, 14, 7, 9, -210)},
      {"GGyyyyMMddHHmmssz", "AD20200305140709GMT+00:00", CivilTicks(2020, 3, 5, 14, 7, 9)},
  };
  for (const auto& c : cases) {
    dt.setTimeZone("UTC");
    dt.setDateFormat(c.pattern);
    EXPECT_EQ(dt.DateParse(c.text), c.ticks) << c.pattern << " " << c.text;
    if (std::string(c.pattern).find('z') != std::string::npos) {
      dt.setTimeZone("Europe/Berlin");  // a zone in the text wins over the device's
      EXPECT_EQ(dt.DateParse(c.text), c.ticks) << c.pattern << " " << c.text;
    }
  }
}

TEST_F(DateTimeTest, DateTimeParseTakesTheLocalDateAtTheLocalTimeOfDay) {
  dt.setDateFormat("yyyyMMdd");
  dt.setTimeFormat("HHmmss");
  EXPECT_EQ(dt.DateTimeParse("20200305", "140709"), CivilTicks(2020, 3, 5, 14, 7, 9));
  dt.setTimeZone("Europe/Berlin");
  EXPECT_EQ(dt.DateTimeParse("20200305", "140709"), CivilTicks(2020, 3, 5, 14, 7, 9, 60));
  EXPECT_EQ(dt.DateTimeParse("20200705", "140709"), CivilTicks(2020, 7, 5, 14, 7, 9, 120));
  EXPECT_EQ(ErrorOf([&] { dt.DateTimeParse("20200305", "250709"); }), "Cannot parse: 250709");
  EXPECT_EQ(ErrorOf([&] { dt.DateTimeParse("20201305", "140709"); }), "Cannot parse: 20201305");
}

// Numbers written side by side ("GGyyyyMMdd", "HHmmss") read exactly as the same numbers with
// separators, valid or not, in zones with daylight saving and in locales with other era names.
TEST_F(DateTimeTest, NumbersSideBySideReadAsWithSeparators) {
  struct Day {
    bool bc;
    int y, m, d;
  };
  const Day days[] = {{false, 2020, 3, 5},  {false, 2020, 2, 29}, {false, 2019, 2, 29}, {false, 2020, 13, 1},
                      {false, 2020, 0, 1},  {false, 2020, 1, 0},  {false, 2020, 4, 31}, {false, 0, 1, 1},
                      {false, 1, 1, 1},     {true, 1, 1, 1},      {true, 44, 3, 15},    {false, 9999, 12, 31},
                      {false, 2020, 3, 29}, {false, 2020, 10, 25}};
  const int times[][3] = {{0, 0, 0}, {23, 59, 59}, {24, 0, 0}, {12, 60, 0}, {12, 0, 60}, {2, 30, 0}};
  auto two = [](int v) { return std::string(v < 10 ? "0" : "") + std::to_string(v); };
  auto four = [&](int v) { return two(v / 100) + two(v % 100); };
  for (const char* zone : {"UTC", "Europe/Berlin"})
    for (const char* locale : {"en_US", "de_DE"}) {
      dt.setTimeZone(zone);
      dt.setLocale(locale);
      dt.setDateFormat("GG");
      const std::string eras[] = {dt.Date(CivilTicks(-100, 1, 1)).str(), dt.Date(0).str()};
      for (const Day& d : days)
        for (const auto& t : times) {
          const std::string era = eras[d.bc ? 0 : 1];
          auto read = [&](const char* datePattern, const std::string& date, const char* timePattern,
                          const std::string& time) {
            dt.setDateFormat(datePattern);
            dt.setTimeFormat(timePattern);
            try {
              return std::to_string(dt.DateTimeParse(date, time));
            } catch (const RuntimeError&) {
              return std::string("refused");
            }
          };
          const std::string plain =
              read("GGyyyyMMdd", era + four(d.y) + two(d.m) + two(d.d), "HHmmss", two(t[0]) + two(t[1]) + two(t[2]));
          const std::string separated = read("GGyyyy/MM/dd", era + four(d.y) + "/" + two(d.m) + "/" + two(d.d),
                                             "HH:mm:ss", two(t[0]) + ":" + two(t[1]) + ":" + two(t[2]));
          EXPECT_EQ(plain, separated) << zone << " " << locale << " " << era << d.y << "-" << d.m << "-" << d.d << " "
                                      << t[0] << ":" << t[1] << ":" << t[2];
        }
    }
  // A field written twice: each of its values must be in range, as with separators.
  struct Repeated {
    const char* plainPattern;
    const char* plain;
    const char* separatedPattern;
    const char* separated;
  };
  const Repeated repeated[] = {
      {"yyyyMMddMM", "2026130103", "yyyy/MM/dd/MM", "2026/13/01/03"},
      {"yyyyMMddMM", "2026010103", "yyyy/MM/dd/MM", "2026/01/01/03"},
      {"yyyyMMddMM", "2026030113", "yyyy/MM/dd/MM", "2026/03/01/13"},
      {"HHmmssHH", "24000003", "HH:mm:ss:HH", "24:00:00:03"},
      {"HHmmssHH", "03000024", "HH:mm:ss:HH", "03:00:00:24"},
      {"ddMMyyyydd", "3104202001", "dd/MM/yyyy/dd", "31/04/2020/01"},
      {"ddMMyyyydd", "0004202001", "dd/MM/yyyy/dd", "00/04/2020/01"},
      {"GGyyyyMMddyyyy", "AD000001010019", "GGyyyy/MM/dd/yyyy", "AD0000/01/01/0019"},
  };
  dt.setTimeZone("UTC");
  dt.setLocale("en_US");
  auto read = [&](const char* pattern, const char* text) {
    dt.setDateFormat(pattern);
    try {
      return std::to_string(dt.DateParse(text));
    } catch (const RuntimeError&) {
      return std::string("refused");
    }
  };
  for (const auto& r : repeated)
    EXPECT_EQ(read(r.plainPattern, r.plain), read(r.separatedPattern, r.separated)) << r.plainPattern << " " << r.plain;
}

TEST_F(DateTimeTest, SkippedLocalTimeMovesForwardByTheGap) {
  dt.setDateFormat("yyyy-MM-dd");
  dt.setTimeFormat("HH:mm");
  dt.setTimeZone("Europe/Berlin");  // 2024-03-31: 02:00 CET jumps to 03:00 CEST
  int64_t t = dt.DateTimeParse("2024-03-31", "02:30");
  EXPECT_EQ(t, CivilTicks(2024, 3, 31, 3, 30, 0, 120));
  EXPECT_EQ(dt.GetHour(t), 3);
  // Where midnight itself is skipped, the day still has a start: 2018-11-04 begins at 01:00.
  dt.setTimeZone("America/Sao_Paulo");
  t = dt.DateTimeParse("2018-11-04", "00:00");
  EXPECT_EQ(t, CivilTicks(2018, 11, 4, 1, 0, 0, -120));
  EXPECT_EQ(dt.GetDayOfMonth(t), 4);
}

TEST_F(DateTimeTest, AZoneReadFromOneTextDoesNotCarryOverToTheNext) {
  dt.setDateFormat("yyyy-MM-dd HH:mm VV");
  EXPECT_EQ(dt.DateParse("2024-03-31 01:00 Europe/Berlin"), CivilTicks(2024, 3, 31, 1, 0, 0, 60));
  EXPECT_NE(ErrorOf([&] { dt.DateParse("2024-03-31 01:00 Europe/Berlin!"); }), "");
  dt.setDateFormat("yyyy-MM-dd HH:mm");
  EXPECT_EQ(dt.DateParse("2024-03-31 02:30"), CivilTicks(2024, 3, 31, 2, 30));  // no gap in UTC
}

TEST_F(DateTimeTest, RepeatedLocalTimeIsItsFirstOccurrence) {
  dt.setDateFormat("yyyy-MM-dd");
  dt.setTimeFormat("HH:mm");
  dt.setTimeZone("Europe/Berlin");  // 2024-10-27: 03:00 CEST falls back to 02:00 CET
  EXPECT_EQ(dt.DateTimeParse("2024-10-27", "02:30"), CivilTicks(2024, 10, 27, 2, 30, 0, 120));
}

// In an hour that the clocks repeat, a text whose zone names standard or daylight time, or the
// offset, reads as that occurrence, whether the zone comes with the date and time or with one of
// them; a zone that does not tell them apart (VV, v in en_US) or none at all gives the first. A
// daylight time named outside the repeated hour is read on its own day, not on the day the time is
// read on.
TEST_F(DateTimeTest, AnOccurrenceOfARepeatedHourReadsAsItsZoneNamesIt) {
  struct Case {
    const char* zone;
    const char* locale;
    const char* pattern;
    const char* text;
    int64_t ticks;
  };
  const char* const z = "yyyy-MM-dd HH:mm z";
  const char* const zzzz = "yyyy-MM-dd HH:mm zzzz";
  const int edt = -240, est = -300, cest = 120, cet = 60, lhdt = 660, lhst = 630;
  const int64_t ny = CivilTicks(2024, 11, 3, 1, 30, 0, edt), nyLater = CivilTicks(2024, 11, 3, 1, 30, 0, est);
  const int64_t berlin = CivilTicks(2024, 10, 27, 2, 30, 0, cest), berlinLater = CivilTicks(2024, 10, 27, 2, 30, 0, cet);
  const int64_t lordHowe = CivilTicks(2024, 4, 7, 1, 45, 0, lhdt), lordHoweLater = CivilTicks(2024, 4, 7, 1, 45, 0, lhst);
  const Case cases[] = {
      {"America/New_York", "en_US", z, "2024-11-03 01:30 EDT", ny},
      {"America/New_York", "en_US", z, "2024-11-03 01:30 EST", nyLater},
      {"America/New_York", "en_US", zzzz, "2024-11-03 01:30 Eastern Daylight Time", ny},
      {"America/New_York", "en_US", zzzz, "2024-11-03 01:30 Eastern Standard Time", nyLater},
      {"America/New_York", "en_US", "yyyy-MM-dd HH:mm xxx", "2024-11-03 01:30 -05:00", nyLater},
      {"America/New_York", "en_US", "yyyy-MM-dd HH:mm VV", "2024-11-03 01:30 America/New_York", ny},
      {"America/New_York", "en_US", "yyyy-MM-dd HH:mm v", "2024-11-03 01:30 ET", ny},
      {"America/New_York", "en_US", "yyyy-MM-dd HH:mm", "2024-11-03 01:30", ny},
      {"Europe/Berlin", "de_DE", z, "2024-10-27 02:30 MESZ", berlin},
      {"Europe/Berlin", "de_DE", z, "2024-10-27 02:30 MEZ", berlinLater},
      {"Europe/Berlin", "de_DE", zzzz, "2024-10-27 02:30 Mitteleuropäische Sommerzeit", berlin},
      {"Europe/Berlin", "de_DE", zzzz, "2024-10-27 02:30 Mitteleuropäische Normalzeit", berlinLater},
      {"Europe/Berlin", "de_DE", "yyyy-MM-dd HH:mm O", "2024-10-27 02:30 GMT+1", berlinLater},
      {"Australia/Lord_Howe", "en_AU", z, "2024-04-07 01:45 LHDT", lordHowe},
      {"Australia/Lord_Howe", "en_AU", z, "2024-04-07 01:45 LHST", lordHoweLater},
      {"Australia/Lord_Howe", "en_AU", zzzz, "2024-04-07 01:45 Lord Howe Standard Time", lordHoweLater},
      {"Australia/Lord_Howe", "en_AU", "yyyy-MM-dd HH:mm xxx", "2024-04-07 01:45 +10:30", lordHoweLater},
  };
  for (const auto& c : cases) {
    dt.setTimeZone(c.zone);
    dt.setLocale(c.locale);
    dt.setDateFormat(c.pattern);
    ExpectDateParse(c.text, c.ticks, std::string(c.zone) + " " + c.pattern);
  }
  // The date and the time read apart, the zone with either.
  struct Apart {
    const char* zone;
    const char* date;
    const char* time;
    int64_t ticks;
  };
  const Apart apart[] = {
      {"America/New_York", "2024-11-03", "01:30 EST", nyLater},
      {"America/New_York", "2024-11-03", "01:30 EDT", ny},
      {"America/New_York", "2024-07-03", "01:30 EDT", CivilTicks(2024, 7, 3, 1, 30, 0, edt)},
      {"America/New_York", "2024-01-01 EDT", "12:00", CivilTicks(2024, 1, 1, 12, 0, 0, edt)},
      {"Europe/Berlin", "2024-10-27 MEZ", "02:30", berlinLater},
  };
  for (const auto& a : apart) {
    dt.setTimeZone(a.zone);
    dt.setLocale(std::string(a.zone) == "Europe/Berlin" ? "de_DE" : "en_US");
    dt.setDateFormat(std::string(a.date).size() > 10 ? "yyyy-MM-dd z" : "yyyy-MM-dd");
    dt.setTimeFormat(std::string(a.time).size() > 5 ? "HH:mm z" : "HH:mm");
    try {
      EXPECT_EQ(dt.DateTimeParse(a.date, a.time), a.ticks) << a.zone << " " << a.date << " " << a.time;
    } catch (const RuntimeError& e) {
      ADD_FAILURE() << a.zone << " " << a.date << " " << a.time << ": " << e.what();
    }
  }
  // A time of day read on today's date, when today the clocks go back.
  rt.loop().advanceTo(CivilTicks(2026, 11, 1, 4));
  dt.setTimeZone("America/New_York");
  dt.setLocale("en_US");
  dt.setTimeFormat("HH:mm z");
  EXPECT_EQ(dt.TimeParse("01:30 EST"), CivilTicks(2026, 11, 1, 1, 30, 0, est));
  EXPECT_EQ(dt.TimeParse("01:30 EDT"), CivilTicks(2026, 11, 1, 1, 30, 0, edt));
}

// In an hour that the clocks repeat, a text reads as the occurrence that the service writes that
// way, with the zone in the date's text, in the time's, or in the one text of both: where the two
// occurrences are written differently (a generic name with or without its country or city, in
// either hemisphere), each text gives its own; where they are written alike (standard time on both
// sides of a change of the zone's offset, by an hour or by half an hour), the first. And a time
// that only the zone the text's name stands for repeats (in en_CA "CT" reads as Winnipeg's, which
// repeated 02:00-03:00 in 1985, in fi_FI the generic name as Helsinki's) is the device's one.
TEST_F(DateTimeTest, ATextOfARepeatedHourReadsAsTheOccurrenceItIsWrittenFor) {
  struct Case {
    const char* zone;
    const char* locale;
    const char* field;
    int year, month, day, hour, minute;
    int firstOffset, secondOffset;  // minutes east of UTC
    const char* firstName;          // the zone as written for each occurrence
    const char* secondName;
  };
  const Case cases[] = {
      {"America/New_York", "en_CA", "v", 2023, 11, 5, 1, 30, -240, -300, "ET (United States)", "ET"},
      {"America/New_York", "fr_CA", "vvvv", 2023, 11, 5, 1, 30, -240, -300, "heure de l’Est (États-Unis)",
       "heure de l’Est"},
      {"America/Toronto", "de_DE", "vvvv", 2023, 11, 5, 1, 30, -240, -300, "Nordamerikanische Ostküstenzeit (Kanada)",
       "Nordamerikanische Ostküstenzeit"},
      {"America/Mexico_City", "en_US", "v", 2021, 10, 31, 1, 30, -300, -360, "CT", "CT (Mexico)"},
      {"Europe/Berlin", "en_GB", "v", 2023, 10, 29, 2, 30, 120, 60, "CET (Germany)", "CET"},
      {"Europe/Lisbon", "pt_PT", "v", 2023, 10, 29, 1, 30, 60, 0, "WET (Lisboa)", "WET"},
      {"Australia/Hobart", "en_AU", "v", 2024, 4, 7, 2, 30, 660, 600, "AET (Hobart)", "AET"},
      {"Europe/Moscow", "en_US", "zzzz", 2014, 10, 26, 1, 30, 240, 180, "Moscow Standard Time", "Moscow Standard Time"},
      {"Pacific/Norfolk", "en_US", "zzzz", 2015, 10, 4, 1, 45, 690, 660, "Norfolk Island Standard Time",
       "Norfolk Island Standard Time"},
      {"Europe/Chisinau", "en_GB", "z", 1990, 5, 6, 1, 30, 240, 180, "EEST", "EEST"},
      {"America/Chicago", "en_CA", "v", 1985, 10, 27, 2, 30, -360, -360, "CT", "CT"},
      {"Europe/Kiev", "fi_FI", "vvvv", 1991, 9, 29, 3, 30, 120, 120, "Itä-Euroopan aika", "Itä-Euroopan aika"},
  };
  for (const auto& c : cases) {
    dt.setTimeZone(c.zone);
    dt.setLocale(c.locale);
    const int64_t first = CivilTicks(c.year, c.month, c.day, c.hour, c.minute, 0, c.firstOffset);
    const int64_t second = CivilTicks(c.year, c.month, c.day, c.hour, c.minute, 0, c.secondOffset);
    const bool alike = std::string(c.firstName) == c.secondName;
    char wall[32];
    std::snprintf(wall, sizeof wall, "%04d-%02d-%02d %02d:%02d ", c.year, c.month, c.day, c.hour, c.minute);
    const std::string where = std::string(c.zone) + " " + c.locale + " " + c.field;
    dt.setDateFormat("yyyy-MM-dd HH:mm " + std::string(c.field));
    EXPECT_EQ(dt.Date(first).str(), wall + std::string(c.firstName)) << where;
    EXPECT_EQ(dt.Date(second).str(), wall + std::string(c.secondName)) << where;
    ExpectDateParse((wall + std::string(c.firstName)).c_str(), first, where);
    ExpectDateParse((wall + std::string(c.secondName)).c_str(), alike ? first : second, where);
    // The zone with the time of day, and with the date.
    for (const bool zoneWithTime : {true, false}) {
      dt.setDateFormat(zoneWithTime ? "yyyy-MM-dd" : "yyyy-MM-dd " + std::string(c.field));
      dt.setTimeFormat(zoneWithTime ? "HH:mm " + std::string(c.field) : "HH:mm");
      for (const int64_t t : {first, second}) {
        const String date = dt.Date(t), time = dt.Time(t);
        try {
          EXPECT_EQ(dt.DateTimeParse(date, time), alike ? first : t)
              << where << ": " << date.str() << " " << time.str();
        } catch (const RuntimeError& e) {
          ADD_FAILURE() << where << ": " << e.what();
        }
      }
    }
  }
  // A time of day read on today's date, when today the clocks go back.
  rt.loop().setWallClock(CivilTicks(2023, 11, 5, 12));
  dt.setTimeZone("America/New_York");
  dt.setLocale("en_CA");
  dt.setTimeFormat("HH:mm v");
  EXPECT_EQ(dt.TimeParse("01:30 ET (United States)"), CivilTicks(2023, 11, 5, 1, 30, 0, -240));
  EXPECT_EQ(dt.TimeParse("01:30 ET"), CivilTicks(2023, 11, 5, 1, 30, 0, -300));
}

TEST_F(DateTimeTest, TimeParseUsesTodaysLocalDate) {
  rt.loop().advanceTo(CivilTicks(2026, 1, 1, 23, 30));
  EXPECT_EQ(dt.TimeParse("13:45:10"), CivilTicks(2026, 1, 1, 13, 45, 10));
  dt.setTimeZone("Europe/Berlin");  // already 00:30 on 2 January there
  EXPECT_EQ(dt.TimeParse("13:45:10"), CivilTicks(2026, 1, 2, 13, 45, 10, 60));
  EXPECT_EQ(ErrorOf([&] { dt.TimeParse("24:00:00"); }), "Cannot parse: 24:00:00");
}

TEST_F(DateTimeTest, AddKeepsTheTimeOfDayAndClampsToTheMonthEnd) {
  struct Case {
    int64_t from;
    int years, months, days;
    int64_t to;
  };
  const std::vector<Case> cases = {
      {CivilTicks(2020, 1, 31, 10), 0, 1, 0, CivilTicks(2020, 2, 29, 10)},
      {CivilTicks(2021, 1, 31, 10), 0, 1, 0, CivilTicks(2021, 2, 28, 10)},
      {CivilTicks(2020, 3, 31), 0, -1, 0, CivilTicks(2020, 2, 29)},
      {CivilTicks(2019, 12, 31), 0, 2, 0, CivilTicks(2020, 2, 29)},
      {CivilTicks(2020, 2, 29), 1, 0, 0, CivilTicks(2021, 2, 28)},
      {CivilTicks(2020, 2, 29), 4, 0, 0, CivilTicks(2024, 2, 29)},
      {CivilTicks(2020, 2, 29), 1, 1, 0, CivilTicks(2021, 3, 28)},  // years, then months
      {CivilTicks(2020, 1, 31), 0, 1, 1, CivilTicks(2020, 3, 1)},   // months, then days
      {CivilTicks(2020, 2, 28, 5), 0, 0, 2, CivilTicks(2020, 3, 1, 5)},
      {CivilTicks(2020, 3, 1), 0, 0, -1, CivilTicks(2020, 2, 29)},
      {CivilTicks(2020, 5, 15), 0, 25, 0, CivilTicks(2022, 6, 15)},
      {CivilTicks(0, 6, 1), 1, 0, 0, CivilTicks(1, 6, 1)},  // 1 BC + 1 year = AD 1
      {CivilTicks(-4, 1, 1), 9, 0, 0, CivilTicks(5, 1, 1)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(dt.Add(c.from, c.years, c.months, c.days), c.to)
        << c.from << " + " << c.years << "y " << c.months << "m " << c.days << "d";
  }
  // Across a daylight-saving change a day is 23 hours: noon stays noon.
  dt.setTimeZone("Europe/Berlin");
  int64_t noon = CivilTicks(2024, 3, 30, 12, 0, 0, 60);
  EXPECT_EQ(dt.Add(noon, 0, 0, 1) - noon, 23 * DateTime::TicksPerHour);
  EXPECT_EQ(dt.GetHour(dt.Add(noon, 0, 0, 1)), 12);
}

// Add works out the date first and sets the time of day once, on the day reached: a step on the
// way that lands in a gap moves nothing; a day that the zone skipped still counts as a day; a time
// that the clock skips that day moves forward by that gap's length; a repeated one is its first
// occurrence, whichever step reaches it.
TEST_F(DateTimeTest, AddSetsTheTimeOfDayOnceOnTheDayReached) {
  struct Case {
    const char* zone;
    int64_t from;
    int years, months, days;
    int64_t to;
  };
  const int est = -300, edt = -240, cet = 60, cest = 120;
  const int64_t berlinSecond = CivilTicks(2024, 10, 27, 2, 30, 0, cet);
  const Case cases[] = {
      // 10 March 2024 skips 02:00-03:00 in New York.
      {"America/New_York", CivilTicks(2024, 2, 10, 2, 30, 0, est), 0, 1, 1, CivilTicks(2024, 3, 11, 2, 30, 0, edt)},
      {"America/New_York", CivilTicks(2023, 3, 13, 2, 38, 0, edt), -1, 12, 0, CivilTicks(2023, 3, 13, 2, 38, 0, edt)},
      {"America/New_York", CivilTicks(2024, 3, 9, 2, 30, 0, est), 0, 0, 1, CivilTicks(2024, 3, 10, 3, 30, 0, edt)},
      {"America/New_York", CivilTicks(2024, 3, 10, 3, 30, 0, edt), 0, 0, -1, CivilTicks(2024, 3, 9, 3, 30, 0, est)},
      // Samoa skipped 30 December 2011 whole, from -10:00 to +14:00.
      {"Pacific/Apia", CivilTicks(2011, 12, 29, 12, 0, 0, -600), 0, 0, 2, CivilTicks(2011, 12, 31, 12, 0, 0, 840)},
      {"Pacific/Apia", CivilTicks(2011, 12, 29, 12, 0, 0, -600), 0, 0, 1, CivilTicks(2011, 12, 31, 12, 0, 0, 840)},
      {"Pacific/Apia", CivilTicks(2011, 12, 31, 12, 0, 0, 840), 0, 0, -2, CivilTicks(2011, 12, 29, 12, 0, 0, -600)},
      // Lord Howe was at +10:00 in 1980; on 25 October 1981 its clocks went from 02:00 at +10:30
      // to 03:00 at +11:30. Today it moves by half an hour: 02:00 to 02:30 on 6 October 2024.
      {"Australia/Lord_Howe", CivilTicks(1980, 10, 25, 2, 30, 0, 600), 0, 0, 365, CivilTicks(1981, 10, 25, 3, 30, 0, 690)},
      {"Australia/Lord_Howe", CivilTicks(2024, 10, 5, 2, 15, 0, 630), 0, 0, 1, CivilTicks(2024, 10, 6, 2, 45, 0, 660)},
      {"Australia/Lord_Howe", CivilTicks(2024, 9, 6, 2, 15, 0, 630), 0, 1, 0, CivilTicks(2024, 10, 6, 2, 45, 0, 660)},
      // 27 October 2024 repeats 02:00-03:00 in Berlin.
      {"Europe/Berlin", CivilTicks(2024, 10, 28, 2, 30, 0, cet), 0, 0, -1, CivilTicks(2024, 10, 27, 2, 30, 0, cest)},
      {"Europe/Berlin", CivilTicks(2024, 9, 27, 2, 30, 0, cest), 0, 1, 0, CivilTicks(2024, 10, 27, 2, 30, 0, cest)},
      {"Europe/Berlin", berlinSecond, 0, 0, 0, berlinSecond},
      {"Europe/Berlin", berlinSecond, 0, 0, 1, CivilTicks(2024, 10, 28, 2, 30, 0, cet)},
  };
  for (const auto& c : cases) {
    dt.setTimeZone(c.zone);
    EXPECT_EQ(dt.Add(c.from, c.years, c.months, c.days), c.to)
        << c.zone << " " << c.from << " + " << c.years << "y " << c.months << "m " << c.days << "d";
  }
}

TEST_F(DateTimeTest, CalendarFieldsWithSignedYears) {
  struct Case {
    int64_t ticks;
    int year, month, day, hour, minute, second;
  };
  const std::vector<Case> cases = {
      {CivilTicks(2024, 3, 3, 4, 5, 6), 2024, 3, 3, 4, 5, 6},
      {CivilTicks(2024, 3, 9, 23, 59, 59), 2024, 3, 9, 23, 59, 59},
      {CivilTicks(1969, 12, 31, 23, 59, 59), 1969, 12, 31, 23, 59, 59},
      {CivilTicks(1582, 10, 10), 1582, 10, 10, 0, 0, 0},  // same calendar rules before 1582
      {CivilTicks(1, 1, 1), 1, 1, 1, 0, 0, 0},
      {CivilTicks(0, 12, 31), 0, 12, 31, 0, 0, 0},  // 1 BC
      {CivilTicks(-4, 2, 29), -4, 2, 29, 0, 0, 0},  // 5 BC, a leap year
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ticks);
    EXPECT_EQ(dt.GetYear(c.ticks), c.year);
    EXPECT_EQ(dt.GetMonth(c.ticks), c.month);
    EXPECT_EQ(dt.GetDayOfMonth(c.ticks), c.day);
    EXPECT_EQ(dt.GetDayOfWeek(c.ticks), test::DayOfWeek(c.ticks));
    EXPECT_EQ(dt.GetHour(c.ticks), c.hour);
    EXPECT_EQ(dt.GetMinute(c.ticks), c.minute);
    EXPECT_EQ(dt.GetSecond(c.ticks), c.second);
  }
  EXPECT_EQ(dt.GetDayOfWeek(CivilTicks(2024, 3, 3)), 1);  // a Sunday
  EXPECT_EQ(dt.GetDayOfWeek(CivilTicks(2024, 3, 9)), 7);  // a Saturday
  dt.setTimeZone("America/New_York");
  EXPECT_EQ(dt.GetDayOfMonth(CivilTicks(2020, 3, 1, 3)), 29);
  EXPECT_EQ(dt.GetMonth(CivilTicks(2020, 3, 1, 3)), 2);
}

TEST_F(DateTimeTest, NowIsTheMainLoopsClock) {
  EXPECT_EQ(dt.Now(), rt.Now());
  int64_t before = dt.Now();
  rt.loop().advance(1500);
  EXPECT_EQ(dt.Now(), before + 1500);
}

TEST_F(DateTimeTest, TimeZoneOffsetFollowsDaylightSaving) {
  EXPECT_EQ(dt.TimeZoneOffset(), 0.0);
  dt.setTimeZone("Europe/Berlin");
  EXPECT_EQ(dt.GetTimeZoneOffsetAt(CivilTicks(2024, 1, 15)), 1.0);
  EXPECT_EQ(dt.GetTimeZoneOffsetAt(CivilTicks(2024, 7, 15)), 2.0);
  rt.loop().advanceTo(CivilTicks(2026, 7, 1));
  EXPECT_EQ(dt.TimeZoneOffset(), 2.0);
  dt.setTimeZone("America/St_Johns");
  EXPECT_EQ(dt.GetTimeZoneOffsetAt(CivilTicks(2024, 1, 15)), -3.5);
}

TEST_F(DateTimeTest, MomentsBeyondTheCalendarsReachAreRangeErrors) {
  const int64_t max = DateTime::kMaxTicks;
  EXPECT_NO_THROW(dt.Date(max));
  EXPECT_NO_THROW(dt.Date(-max));
  const std::vector<std::function<void()>> failing = {
      [&] { dt.Date(max + 1); },
      [&] { dt.Time(-max - 1); },
      [&] { dt.GetYear(INT64_MIN); },
      [&] { dt.Add(INT64_MAX, 0, 0, 0); },
      [&] { dt.Add(max, 0, 0, 1); },
      [&] { dt.Add(-max, 0, -1, 0); },
      [&] { dt.Add(0, INT32_MAX, 0, 0); },
      [&] { dt.Add(0, 0, INT32_MIN, 0); },
      [&] { dt.Add(0, -INT32_MAX, INT32_MAX, INT32_MAX); },
      [&] { dt.GetTimeZoneOffsetAt(INT64_MAX); },
  };
  for (size_t i = 0; i < failing.size(); ++i) {
    EXPECT_EQ(ErrorOf(failing[i]).rfind("Date out of range: ", 0), 0u) << "case " << i;
  }
}

TEST_F(DateTimeTest, ZoneAndLocaleAreSettable) {
  dt.setTimeZone("Europe/Berlin");
  EXPECT_EQ(dt.TimeZoneId(), "Europe/Berlin");
  EXPECT_EQ(ErrorOf([&] { dt.setTimeZone("Mars/Olympus_Mons"); }), "Unknown time zone: Mars/Olympus_Mons");
  EXPECT_EQ(dt.TimeZoneId(), "Europe/Berlin");
  dt.setLocale("fr_FR");
  EXPECT_EQ(dt.LocaleId(), "fr_FR");
  dt.setDateFormat("MMMM");
  EXPECT_EQ(dt.Date(CivilTicks(2020, 8, 1)), String("août"));
}

TEST_F(DateTimeTest, LocaleIdFromPosixValues) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"de_DE.UTF-8", "de_DE"},
      {"fr_FR@euro", "fr_FR"},
      {"en_GB.ISO-8859-1@x", "en_GB"},
      {"C", "en_US"},
      {"C.UTF-8", "en_US"},
      {"POSIX", "en_US"},
      {"", "en_US"},
      {"ja_JP", "ja_JP"},
  };
  for (auto [in, out] : cases) EXPECT_EQ(DateTime::LocaleIdFromPosix(in), out) << in;
}

}  // namespace
}  // namespace tmr
