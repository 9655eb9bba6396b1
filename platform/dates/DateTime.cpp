#include "platform/dates/DateTime.h"

#include <unicode/dtfmtsym.h>
#include <unicode/fieldpos.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/parsepos.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/uchar.h>
#include <unicode/utf16.h>
#include <unicode/utypes.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string_view>
#include <unordered_map>

#include "platform/core/Object.h"
#include "platform/core/Runtime.h"

namespace tmr {

RuntimeError DateRangeError(std::string_view what) { return RuntimeError("Date out of range: " + std::string(what)); }

namespace {

icu::UnicodeString ToIcu(const String& s) { return icu::UnicodeString(s.units().data(), s.Length()); }

String FromIcu(const icu::UnicodeString& u) { return String(std::u16string(u.getBuffer(), u.length())); }

std::string Utf8(const icu::UnicodeString& u) {
  std::string s;
  u.toUTF8String(s);
  return s;
}

// Whether a pattern has an unquoted time-zone field, so that its texts name their own zone.
bool HasZoneField(const String& pattern) {
  bool quoted = false;
  for (char16_t ch : pattern.units()) {
    if (ch == u'\'') {
      quoted = !quoted;
    } else if (!quoted &&
               (ch == u'z' || ch == u'Z' || ch == u'O' || ch == u'v' || ch == u'V' || ch == u'X' || ch == u'x')) {
      return true;
    }
  }
  return false;
}

bool IsBlank(char16_t ch) { return u_isUWhiteSpace(ch); }
// A decimal digit of any script, or a sign.
bool StartsNumber(UChar32 c) { return u_isdigit(c) || c == u'+' || c == u'-' || c == 0x2212; }
// Fields whose text starts with a letter (names, eras, AM/PM, zone names); the others are read
// as numbers (or, for the zone offsets Z, X and x, may be).
bool IsNameField(char16_t letter, int count) {
  if (std::u16string_view(u"GEabBzvVO").find(letter) != std::u16string_view::npos) return true;
  return count >= 3 && std::u16string_view(u"MLQqec").find(letter) != std::u16string_view::npos;
}

// True when text holds more than 30 decimal digits (of any script) in a row. No date or time
// field is that long, even several numeric fields written without separators, and the
// formatter's fraction-of-a-second field divides by zero on such a run.
bool HasOverlongDigitRun(const String& text) {
  const auto& t = text.units();
  int run = 0;
  for (size_t i = 0; i < t.size();) {
    UChar32 c;
    U16_NEXT(t.data(), i, t.size(), c);
    run = u_isdigit(c) ? run + 1 : 0;
    if (run > 30) return true;
  }
  return false;
}

// Runs of blanks followed by a number in a text.
int BlankRunsBeforeNumbers(const String& text) {
  const auto& t = text.units();
  int runs = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    if (!IsBlank(t[i]) || i + 1 == t.size()) continue;
    UChar32 next;
    U16_GET(t.data(), 0, i + 1, t.size(), next);
    if (StartsNumber(next)) ++runs;
  }
  return runs;
}

// The reader skips blanks before every field, however strict it is told to be, so it would take
// " 03/05/2020" or "03/ 05/2020" for "MM/dd/yyyy". The whole text must match the pattern: a text
// may not start with a blank unless its pattern does, nor have more runs of blanks before a
// number than its pattern has before its number fields and literal digits. Names may hold such
// runs too, or begin with a digit after a blank of the pattern (a month "3月", a quarter "1-й кв.",
// a zone "GMT -5"): the text may then have as many runs as the formatter writes for the fields
// read, which written() gives.
bool HasBlanksThePatternLacks(const String& pattern, const String& text, const std::function<String()>& written) {
  const auto& t = text.units();
  const auto& p = pattern.units();
  if (t.empty()) return false;
  const int textRuns = BlankRunsBeforeNumbers(text);
  // The pattern's literal blanks, with what follows each run: a field or a literal character.
  int patternRuns = 0;
  bool startsWithBlank = false;
  bool quoted = false;
  bool inBlanks = false;  // a run of literal blanks is open
  for (size_t i = 0; i < p.size(); ++i) {
    char16_t ch = p[i];
    if (ch == u'\'') {
      if (i + 1 < p.size() && p[i + 1] == u'\'') {
        ++i;  // '' is a literal quote
        inBlanks = false;
      } else {
        quoted = !quoted;
      }
      continue;
    }
    bool field = !quoted && ((ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z'));
    if (!field && IsBlank(ch)) {
      if (i == 0) startsWithBlank = true;
      inBlanks = true;
      continue;
    }
    if (inBlanks) {
      int count = 1;
      while (field && i + count < p.size() && p[i + count] == ch) ++count;
      if (field ? !IsNameField(ch, count) : StartsNumber(ch)) ++patternRuns;
      inBlanks = false;
    }
  }
  if (IsBlank(t[0]) && !startsWithBlank) return true;
  return textRuns > patternRuns && textRuns > BlankRunsBeforeNumbers(written());
}

// The reader counts the digits of numbers written side by side ("yyyyMMdd") in UTF-16 units, so
// it cuts the digits of scripts beyond the BMP (Chakma, Adlam) in half. It reads ASCII digits in
// every locale: the text with those digits made ASCII, or "" when it has none. (Names may hold
// such digits too, a quarter "𞤐𞥑": the text is read as it is first.)
icu::UnicodeString WithAsciiDigits(const icu::UnicodeString& u) {
  icu::UnicodeString out;
  bool changed = false;
  for (int32_t i = 0; i < u.length(); i = u.moveIndex32(i, 1)) {
    const UChar32 c = u.char32At(i);
    const bool wide = c > 0xFFFF && u_isdigit(c);
    changed = changed || wide;
    out.append(wide ? static_cast<UChar32>(u'0' + u_charDigitValue(c)) : c);
  }
  return changed ? out : icu::UnicodeString();
}

// A year far enough past kMaxTicks that every legitimate intermediate year of Add stays below it,
// and close enough that the calendar's 32-bit field arithmetic cannot overflow.
constexpr int64_t kYearLimit = 300'000;

std::string GetEnv(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

}  // namespace

struct DateTime::Impl {
  icu::Locale locale{"en_US"};
  std::unique_ptr<icu::TimeZone> zone{icu::TimeZone::createTimeZone("UTC")};
  const std::unique_ptr<icu::TimeZone> gmt{icu::TimeZone::createTimeZone("UTC")};
  // Device zone, lenient: fields, arithmetic, and turning local wall times into moments.
  std::unique_ptr<icu::GregorianCalendar> local;
  // Always in UTC, strict: reading a text validates every field, with no daylight-saving gaps
  // to confuse a missing local time with an invalid one.
  std::unique_ptr<icu::GregorianCalendar> parser;
  bool parserZoneChanged = false;
  std::unordered_map<std::u16string, std::unique_ptr<icu::SimpleDateFormat>> formats;
  // Lenient calendars of the zones that texts named, by zone id: a text with a zone field is
  // turned into a moment in its own zone, and making a calendar costs far more than using one.
  std::unordered_map<std::u16string, std::unique_ptr<icu::GregorianCalendar>> zoned;

  // The wall-clock fields of a text, as written; zone is set when the text named one.
  struct WallTime {
    int32_t year = 1970, month = 0, day = 1, hour = 0, minute = 0, second = 0, millis = 0;
    std::unique_ptr<icu::TimeZone> zone;
  };

  static std::unique_ptr<icu::GregorianCalendar> MakeCalendar(const icu::TimeZone& tz, const icu::Locale& loc,
                                                              bool lenient) {
    UErrorCode st = U_ZERO_ERROR;
    auto cal = std::make_unique<icu::GregorianCalendar>(tz, loc, st);
    if (U_FAILURE(st)) throw RuntimeError("Date service: cannot create a calendar");
    // One rule for all years, so that day counts and periods are uniform across history.
    cal->setGregorianChange(U_DATE_MIN, st);
    cal->setLenient(lenient);
    cal->setSkippedWallTimeOption(UCAL_WALLTIME_LAST);    // a skipped time moves forward by the gap
    cal->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);  // a repeated time is its first occurrence
    return cal;
  }

  void rebuild() {
    local = MakeCalendar(*zone, locale, true);
    parser = MakeCalendar(*gmt, locale, false);
    parserZoneChanged = false;
    formats.clear();
    zoned.clear();
  }

  icu::GregorianCalendar& calendarIn(const icu::TimeZone& tz) {
    icu::UnicodeString id;
    tz.getID(id);
    std::u16string key(id.getBuffer(), static_cast<size_t>(id.length()));
    auto it = zoned.find(key);
    if (it != zoned.end() && it->second->getTimeZone() == tz) return *it->second;
    if (zoned.size() >= 64) zoned.clear();  // zones come from texts: a handful in practice
    auto& cal = zoned[key];
    cal = MakeCalendar(tz, locale, true);
    return *cal;
  }

  static void CheckTicks(int64_t ticks) {
    if (ticks < -kMaxTicks || ticks > kMaxTicks) throw DateRangeError(std::to_string(ticks));
  }

  static int64_t ToTicks(UDate d) {
    if (!(d >= static_cast<double>(-kMaxTicks) && d <= static_cast<double>(kMaxTicks))) {
      throw DateRangeError(NumberToString(d).str());
    }
    return static_cast<int64_t>(std::floor(d));
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

  // The commonest patterns of numbers written side by side ("GGyyyyMMdd", "HHmmss"): an era of
  // "G" to "GGG" first, if any, then only the fields yyyy, MM, dd, HH, mm and ss. A text of such a
  // pattern that is the era's name as the formatter writes it and then ASCII digits, exactly as
  // many as the fields take, is read here: its fields go into the parsing calendar as the
  // formatter's parser would put them, without its copying of a number parser for each field.
  // Returns false, having set nothing, for any other pattern or text: the formatter reads those,
  // among them patterns that repeat a field ("yyyyMMddMM"), whose reader checks the range of
  // every value it reads, even of one that a later value of the field replaces.
  bool readFixedWidth(const icu::SimpleDateFormat& f, const String& pattern, const String& text) {
    const auto& p = pattern.units();
    const auto& t = text.units();
    size_t i = 0, at = 0;
    int32_t era = -1;
    if (!p.empty() && p[0] == u'G') {
      while (i < p.size() && p[i] == u'G') ++i;
      if (i > 3) return false;
      int32_t count = 0;
      const icu::UnicodeString* eras = f.getDateFormatSymbols()->getEras(count);
      for (int32_t e = 0; e < count && e < 2 && era < 0; ++e) {
        const auto n = static_cast<size_t>(eras[e].length());
        if (n > 0 && n <= t.size() && eras[e].compare(0, eras[e].length(), t.data(), 0, static_cast<int32_t>(n)) == 0) {
          era = e;
          at = n;
        }
      }
      if (era < 0) return false;
    }
    struct Field {
      UCalendarDateFields field;
      int32_t value;
    };
    Field fields[6];
    size_t nFields = 0;
    unsigned seen = 0;  // bit per calendar field
    while (i < p.size()) {
      const char16_t letter = p[i];
      size_t width = 0;
      while (i + width < p.size() && p[i + width] == letter) ++width;
      UCalendarDateFields field;
      if (letter == u'y' && width == 4)
        field = UCAL_YEAR;
      else if (letter == u'M' && width == 2)
        field = UCAL_MONTH;
      else if (letter == u'd' && width == 2)
        field = UCAL_DATE;
      else if (letter == u'H' && width == 2)
        field = UCAL_HOUR_OF_DAY;
      else if (letter == u'm' && width == 2)
        field = UCAL_MINUTE;
      else if (letter == u's' && width == 2)
        field = UCAL_SECOND;
      else
        return false;
      if (nFields == 6 || at + width > t.size() || (seen & 1u << field)) return false;
      seen |= 1u << field;
      int32_t value = 0;
      for (size_t k = 0; k < width; ++k) {
        const char16_t c = t[at + k];
        if (c < u'0' || c > u'9') return false;
        value = value * 10 + (c - u'0');
      }
      fields[nFields++] = {field, field == UCAL_MONTH ? value - 1 : value};
      i += width;
      at += width;
    }
    if (at != t.size() || nFields == 0) return false;
    if (era >= 0) parser->set(UCAL_ERA, era);
    for (size_t k = 0; k < nFields; ++k) parser->set(fields[k].field, fields[k].value);
    return true;
  }

  // Reads text with pattern: the whole text must match and every field must be in range.
  WallTime read(const String& pattern, const String& text) {
    auto& f = format(pattern);
    bool zoned = HasZoneField(pattern);
    if (parserZoneChanged) {  // a text with a zone, possibly one that failed, set it
      parser->setTimeZone(*gmt);
      parserZoneChanged = false;
    }
    parserZoneChanged = zoned;
    parser->clear();
    if (HasOverlongDigitRun(text)) throw CannotParse(text.str());
    const bool fixedWidth = readFixedWidth(f, pattern, text);
    if (!fixedWidth) {
      auto reads = [&](const icu::UnicodeString& u) {
        icu::ParsePosition pos(0);
        parser->clear();
        f.parse(u, *parser, pos);
        return pos.getErrorIndex() == -1 && pos.getIndex() == u.length();
      };
      const icu::UnicodeString u = ToIcu(text);
      if (!reads(u)) {
        const icu::UnicodeString ascii = WithAsciiDigits(u);
        if (ascii.isEmpty() || !reads(ascii)) throw CannotParse(text.str());
      }
    }
    UErrorCode st = U_ZERO_ERROR;
    parser->getTime(st);  // validates the fields (strict calendar)
    WallTime w;
    w.year = parser->get(UCAL_EXTENDED_YEAR, st);
    w.month = parser->get(UCAL_MONTH, st);
    w.day = parser->get(UCAL_DATE, st);
    w.hour = parser->get(UCAL_HOUR_OF_DAY, st);
    w.minute = parser->get(UCAL_MINUTE, st);
    w.second = parser->get(UCAL_SECOND, st);
    w.millis = parser->get(UCAL_MILLISECOND, st);
    if (zoned) w.zone.reset(parser->getTimeZone().clone());
    if (U_FAILURE(st)) throw CannotParse(text.str());
    // The fields as the formatter writes them, in the zone the text named.
    auto written = [&] {
      icu::UnicodeString out;
      icu::FieldPosition fp;
      f.format(*parser, out, fp);
      return FromIcu(out);
    };
    if (!fixedWidth && HasBlanksThePatternLacks(pattern, text, written)) throw CannotParse(text.str());
    return w;
  }

  // The moment of a local date and time of day, in zone (the device's zone when null).
  int64_t compose(const WallTime& date, const WallTime& time, const icu::TimeZone* in) {
    icu::GregorianCalendar* cal = in ? &calendarIn(*in) : local.get();
    cal->clear();
    cal->set(UCAL_EXTENDED_YEAR, date.year);
    cal->set(UCAL_MONTH, date.month);
    cal->set(UCAL_DATE, date.day);
    cal->set(UCAL_HOUR_OF_DAY, time.hour);
    cal->set(UCAL_MINUTE, time.minute);
    cal->set(UCAL_SECOND, time.second);
    cal->set(UCAL_MILLISECOND, time.millis);
    UErrorCode st = U_ZERO_ERROR;
    UDate d = cal->getTime(st);
    if (U_FAILURE(st)) throw DateRangeError(std::to_string(date.year));
    return ToTicks(d);
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
  auto w = impl_->read(dateFormat_, text);
  return impl_->compose(w, w, w.zone.get());
}

int64_t DateTime::TimeParse(const String& text) {
  auto time = impl_->read(timeFormat_, text);
  auto& cal = impl_->at(Now());
  UErrorCode st = U_ZERO_ERROR;
  Impl::WallTime today;
  today.year = cal.get(UCAL_EXTENDED_YEAR, st);
  today.month = cal.get(UCAL_MONTH, st);
  today.day = cal.get(UCAL_DATE, st);
  return impl_->compose(today, time, time.zone.get());
}

int64_t DateTime::DateTimeParse(const String& dateText, const String& timeText) {
  auto date = impl_->read(dateFormat_, dateText);
  auto time = impl_->read(timeFormat_, timeText);
  const icu::TimeZone* zone = time.zone ? time.zone.get() : date.zone.get();
  return impl_->compose(date, time, zone);
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
  if (years != 0) cal.add(UCAL_EXTENDED_YEAR, years, st);
  if (months != 0) cal.add(UCAL_MONTH, months, st);
  if (days != 0) cal.add(UCAL_DATE, days, st);
  UDate d = cal.getTime(st);
  if (U_FAILURE(st)) throw DateRangeError(std::to_string(ticks));
  return Impl::ToTicks(d);
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
