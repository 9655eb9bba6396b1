#pragma once
// Reads texts of the date service's patterns into wall times, and wall times into moments, for
// one zone and locale of the device (the service makes a new reader when either changes). A text
// reads as the service's formatter writes it:
// - strictly: the whole text must match, every field must be in range (month 13, 30 February, hour
//   24), and a blank that starts the text or comes before a number only where the pattern has one
//   or inside a name that holds one;
// - each name in the width that the formatter writes for its field's count (E and EE the
//   abbreviated weekday, B and BB the abbreviated day period, ccccc the narrow stand-alone weekday,
//   a narrow month only where it is written like a wider one), a day period as the half of the day
//   it is written for, a weekday that disagrees with the date moving nothing, and a quarter moving
//   nothing where the pattern has a month and giving its first month where it has none;
// - numbers side by side ("GGyyyyMMdd") also in digits of scripts beyond the BMP.
// A text that fails raises "Cannot parse: <text>". A wall time becomes a moment in the zone its text
// named, or else the device's: a time that the clock skips moves forward by the gap's length. In an
// hour that the device's clocks or the text's zone repeat, texts read as the moment that the service
// writes as them, the first occurrence where it writes both alike. Texts that it writes for no
// moment (typed ones, another zone's) give the occurrence that their zone names (standard or
// daylight time, or the offset), or else the first.
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/core/String.h"

namespace tmr {

class DateTextReader {
 public:
  // The service's formatter of a pattern, which writes its texts in the device's zone and locale.
  using Writers = std::function<icu::SimpleDateFormat&(const String& pattern)>;

  // The wall-clock fields of a text, as written; zone is set when the text named one, and
  // savings when its zone named standard (0) or daylight time (the daylight saving it stands for).
  struct WallTime {
    int32_t year = 1970, month = 0, day = 1, hour = 0, minute = 0, second = 0, millis = 0;
    std::unique_ptr<icu::TimeZone> zone;
    std::optional<int32_t> savings;
    // The text read and its pattern; none for a wall time that no text gave (today's date).
    struct Source {
      String pattern, text;
    };
    std::optional<Source> source;
  };

  DateTextReader(const icu::Locale& locale, const icu::TimeZone& deviceZone, Writers writers);
  ~DateTextReader();
  DateTextReader(const DateTextReader&) = delete;
  DateTextReader& operator=(const DateTextReader&) = delete;

  // Reads text with pattern (one that writers accepts).
  WallTime read(const String& pattern, const String& text);

  // The moment of a local date and time of day (the same wall time for a text of both), in the
  // zone that the text zoned named (the device's zone when null). Raises DateRangeError beyond the
  // calendar's reach.
  int64_t compose(const WallTime& date, const WallTime& time, const WallTime* zoned);

 private:
  struct PatternLayout;
  class PatternStartReader;
  class ReadingCalendar;
  // How texts of a pattern are read (see reading()).
  struct ReadingFormat {
    String pattern;
    std::unique_ptr<icu::SimpleDateFormat> own;  // null: the pattern's own formatter reads
  };
  struct Reading {
    const String& pattern;
    icu::SimpleDateFormat& format;
  };

  Reading reading(const String& pattern);
  ReadingFormat readingFormat(const icu::SimpleDateFormat& writer, const String& pattern);
  bool dayPeriodsWrittenAlike(const icu::SimpleDateFormat& writer);
  PatternStartReader partReader(icu::SimpleDateFormat& f, const String& pattern);
  icu::GregorianCalendar& calendarIn(const icu::TimeZone& tz);

  // The steps of read().
  bool readFixedWidth(const icu::SimpleDateFormat& f, const String& pattern, const String& text);
  std::optional<icu::UnicodeString> withAsciiDigitsSideBySide(icu::SimpleDateFormat& f, const String& pattern,
                                                              icu::UnicodeString text);
  std::optional<int32_t> monthGivenBy(PatternStartReader& reader, const PatternLayout& layout, const String& pattern,
                                      size_t j, const icu::UnicodeString& text);
  bool keepTheMonthOfTheMonthField(icu::SimpleDateFormat& f, const String& pattern, const icu::UnicodeString& text);
  bool hasBlanksThePatternLacks(icu::SimpleDateFormat& f, const String& pattern, const String& text,
                                const icu::UnicodeString& read);
  void takeTheHalfOfTheDayThatTheTextNames(icu::SimpleDateFormat& f, const String& text, WallTime& w);
  // The step of compose() in an hour that the device's clocks or the text's zone repeat.
  std::optional<int64_t> occurrenceWrittenAs(const WallTime& date, const WallTime& time, const icu::TimeZone& textZone);

  const icu::Locale locale_;
  const Writers writers_;
  const std::unique_ptr<icu::TimeZone> gmt_;
  // Device zone, lenient: turning local wall times into moments.
  const std::unique_ptr<icu::GregorianCalendar> local_;
  // Always in UTC, strict: reading a text validates every field, with no daylight-saving gaps
  // to confuse a missing local time with an invalid one.
  const std::unique_ptr<ReadingCalendar> parser_;
  bool parserZoneChanged_ = false;
  // In UTC and lenient, for reading parts of a text (PatternStartReader) beside what parser_ holds.
  const std::unique_ptr<icu::GregorianCalendar> partParser_;
  // How texts of a pattern are read, by pattern.
  std::unordered_map<std::u16string, ReadingFormat> readings_;
  // Lenient calendars of the zones that texts named, by zone id: a text with a zone field is
  // turned into a moment in its own zone, and making a calendar costs far more than using one.
  std::unordered_map<std::u16string, std::unique_ptr<icu::GregorianCalendar>> zoneCalendars_;
};

}  // namespace tmr
