#include "platform/dates/DateTextReader.h"

#include <unicode/basictz.h>
#include <unicode/dtfmtsym.h>
#include <unicode/fieldpos.h>
#include <unicode/fpositer.h>
#include <unicode/parsepos.h>
#include <unicode/uchar.h>
#include <unicode/utf16.h>
#include <unicode/utypes.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/core/RuntimeError.h"
#include "platform/dates/DateTime.h"
#include "platform/dates/IcuDates.h"

namespace tmr {

using dates::FromIcu;
using dates::MakeCalendar;
using dates::ToIcu;
using dates::ToTicks;

namespace {

bool IsBlank(char16_t ch) { return u_isUWhiteSpace(ch); }
// A decimal digit of any script, or a sign.
bool StartsNumber(UChar32 c) { return u_isdigit(c) || c == u'+' || c == u'-' || c == 0x2212; }
bool IsZoneLetter(char16_t ch) { return std::u16string_view(u"zZOvVXx").find(ch) != std::u16string_view::npos; }
bool IsMonthLetter(char16_t ch) { return ch == u'M' || ch == u'L'; }
bool IsQuarterLetter(char16_t ch) { return ch == u'Q' || ch == u'q'; }
bool IsDayPeriodLetter(char16_t ch) { return ch == u'B' || ch == u'b'; }
// Whether the reader takes a field as a number, and joins it to a numeric field right before it,
// as the formatter's symbols class fields.
bool IsNumericField(char16_t letter, int32_t count) {
  if (std::u16string_view(u"ydkHmsSDFwWhKYugAr").find(letter) != std::u16string_view::npos) return true;
  return count < 3 && std::u16string_view(u"MLecQq").find(letter) != std::u16string_view::npos;
}
// The formatter's number of a field letter (UDateFormatField), as its field positions name it.
int32_t FieldKind(char16_t letter) {
  const std::u16string_view letters(icu::DateFormatSymbols::getPatternUChars());
  return static_cast<int32_t>(letters.find(letter));
}

// Whether a pattern has an unquoted field whose letter is one of these.
bool HasField(const String& pattern, bool (*isLetter)(char16_t)) {
  bool quoted = false;
  for (char16_t ch : pattern.units()) {
    if (ch == u'\'') {
      quoted = !quoted;
    } else if (!quoted && isLetter(ch)) {
      return true;
    }
  }
  return false;
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

// The starts of the runs of blanks in [begin, end) of text that come first or before a number.
std::vector<int32_t> BlankRunsBeforeNumbers(const icu::UnicodeString& text, int32_t begin, int32_t end) {
  std::vector<int32_t> runs;
  for (int32_t i = begin; i < end;) {
    if (!IsBlank(text[i])) {
      ++i;
      continue;
    }
    const int32_t start = i;
    while (i < end && IsBlank(text[i])) ++i;
    if (start == 0 || (i < end && StartsNumber(text.char32At(i)))) runs.push_back(start);
  }
  return runs;
}

// Days from 1970-01-01 to a day (month 0 = January) of the proleptic Gregorian calendar; years are
// signed. Counted in eras of 400 years from 1 March, so that the leap day ends a year.
int64_t DaysFromCivil(int64_t year, int32_t month, int32_t day) {
  const int64_t y = month < 2 ? year - 1 : year;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yearOfEra = y - era * 400;
  const int64_t dayOfYear = (153 * (month < 2 ? month + 10 : month - 2) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

}  // namespace

// A pattern as the reader walks it: literal text, single fields, and runs of numeric fields
// written side by side, which it reads as one whole (narrowing the run's first field until all of
// it fits). Reading a text with the pattern cut after any unit reads that part of the text as the
// whole pattern does, so the text's index after the cut pattern is where the unit ends in it.
struct DateTextReader::PatternLayout {
  enum class Kind { Literal, Field, NumberRun };
  struct Unit {
    Kind kind = Kind::Literal;
    int32_t end = 0;  // in the pattern
  };
  struct Field {
    char16_t letter = 0;
    int32_t begin = 0, count = 0;
    size_t unit = 0;
    bool numeric = false;
  };
  std::vector<Unit> units;
  std::vector<Field> fields;

  explicit PatternLayout(const std::u16string& p) {
    bool quoted = false;
    for (size_t i = 0; i < p.size();) {
      const char16_t ch = p[i];
      if (quoted || !((ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z'))) {
        if (ch == u'\'') quoted = !quoted;  // '' toggles twice: a literal quote
        if (units.empty() || units.back().kind != Kind::Literal) units.push_back({Kind::Literal, 0});
        units.back().end = static_cast<int32_t>(++i);
        continue;
      }
      int32_t count = 1;
      while (i + count < p.size() && p[i + count] == ch) ++count;
      const bool numeric = IsNumericField(ch, count);
      // The reader joins a numeric field to a numeric field right before it.
      if (numeric && !fields.empty() && fields.back().numeric &&
          fields.back().begin + fields.back().count == static_cast<int32_t>(i)) {
        units.back().kind = Kind::NumberRun;
      } else {
        units.push_back({Kind::Field, 0});
      }
      units.back().end = static_cast<int32_t>(i) + count;
      fields.push_back({ch, static_cast<int32_t>(i), count, units.size() - 1, numeric});
      i += count;
    }
  }
};

// Reads the start of a text with the start of a formatter's pattern, into a calendar of its own.
// The formatter takes on the shorter pattern while the reader lives, as setting a pattern costs
// far less than making a formatter, and gets its own back when it goes. A read only finds where a
// part of the text ends, so the calendar must be lenient: a start with the day and month but not
// the year reads them into 1970, and 29 February, or an hour that the text's zone skipped in 1970,
// must not make that part unreadable. The full read judges the date.
class DateTextReader::PatternStartReader {
 public:
  PatternStartReader(icu::SimpleDateFormat& format, const std::u16string& pattern, icu::Calendar& calendar,
                     const icu::TimeZone& zone)
      : format_(format), pattern_(pattern), calendar_(calendar), zone_(zone) {}
  ~PatternStartReader() {
    if (lent_) format_.applyPattern(icu::UnicodeString(pattern_.data(), static_cast<int32_t>(pattern_.size())));
  }
  PatternStartReader(const PatternStartReader&) = delete;
  PatternStartReader& operator=(const PatternStartReader&) = delete;

  // The index in text after the part that start reads, its fields in the calendar; -1 when it
  // cannot be read.
  int32_t read(const std::u16string& start, const icu::UnicodeString& text) {
    lent_ = true;
    format_.applyPattern(icu::UnicodeString(start.data(), static_cast<int32_t>(start.size())));
    calendar_.clear();
    calendar_.setTimeZone(zone_);  // not the zone that an earlier read took from its text
    icu::ParsePosition pos(0);
    format_.parse(text, calendar_, pos);
    return pos.getErrorIndex() == -1 ? pos.getIndex() : -1;
  }
  // Reads text with the pattern up to the end of its unit `unit`.
  int32_t readUpTo(const PatternLayout& layout, size_t unit, const icu::UnicodeString& text) {
    return read(pattern_.substr(0, static_cast<size_t>(layout.units[unit].end)), text);
  }

 private:
  icu::SimpleDateFormat& format_;
  const std::u16string& pattern_;
  icu::Calendar& calendar_;
  const icu::TimeZone& zone_;
  bool lent_ = false;
};

// The strict calendar that texts are read into. Where a text's zone names standard or daylight
// time ("EST", "Mitteleuropäische Sommerzeit"), the reader sets the zone's raw offset and the
// daylight saving that the name stands for, which the calendar's fields lose once it works out
// the moment; this keeps them readable.
class DateTextReader::ReadingCalendar final : public icu::GregorianCalendar {
 public:
  using icu::GregorianCalendar::GregorianCalendar;
  struct Offsets {
    int32_t raw, savings;
  };
  // The offsets that the text named, savings 0 for standard time; none where it named neither.
  // Only until the calendar works out the moment.
  std::optional<Offsets> namedOffsets() const {
    if (!isSet(UCAL_ZONE_OFFSET) || !isSet(UCAL_DST_OFFSET)) return std::nullopt;
    return Offsets{internalGet(UCAL_ZONE_OFFSET), internalGet(UCAL_DST_OFFSET)};
  }
};

DateTextReader::DateTextReader(const icu::Locale& locale, const icu::TimeZone& deviceZone, Writers writers)
    : locale_(locale),
      writers_(std::move(writers)),
      gmt_(icu::TimeZone::createTimeZone("UTC")),
      local_(MakeCalendar(deviceZone, locale, true)),
      parser_(MakeCalendar<ReadingCalendar>(*gmt_, locale, false)),
      partParser_(MakeCalendar(*gmt_, locale, true)) {}

DateTextReader::~DateTextReader() = default;

// A reader of the starts of texts with f's pattern, on the lenient calendar in UTC.
DateTextReader::PatternStartReader DateTextReader::partReader(icu::SimpleDateFormat& f, const String& pattern) {
  return {f, pattern.units(), *partParser_, *gmt_};
}

icu::GregorianCalendar& DateTextReader::calendarIn(const icu::TimeZone& tz) {
  icu::UnicodeString id;
  tz.getID(id);
  std::u16string key(id.getBuffer(), static_cast<size_t>(id.length()));
  auto it = zoneCalendars_.find(key);
  if (it != zoneCalendars_.end() && it->second->getTimeZone() == tz) return *it->second;
  if (zoneCalendars_.size() >= 64) zoneCalendars_.clear();  // zones come from texts: a handful in practice
  auto& cal = zoneCalendars_[key];
  cal = MakeCalendar(tz, locale_, true);
  return *cal;
}

// The formatter's reader takes each name only in the width that the field's count names, and
// for some counts the formatter writes a width that no count reads: E and EE write the
// abbreviated weekday, read only for EEE; B, BB, b and bb the abbreviated day period, read only
// for BBB and bbb; bbbb the wide noon and midnight and ccccc the narrow stand-alone weekday,
// never read; MMMMM and LLLLL the narrow month, never read. So a text is read with a pattern
// where such a field has a count that reads what the formatter writes: EEE, BBB, bbb (for
// bbbb only where the locale writes the two alike), and for ccccc and MMMMM (LLLLL) a width that
// the pattern leaves unused, given the narrow names. A narrow month is read only where it is
// written like the month's abbreviated or wide name ("ก.ค.", "7월"); the others ("J", which is
// three months) stay unread. Every other field reads as the pattern says, so a name of another
// width than the count names ("Wed" for EEEE) is still refused.
DateTextReader::Reading DateTextReader::reading(const String& pattern) {
  auto& writer = writers_(pattern);
  auto it = readings_.find(pattern.units());
  if (it == readings_.end()) {
    if (readings_.size() >= 64) readings_.clear();
    it = readings_.emplace(pattern.units(), readingFormat(writer, pattern)).first;
  }
  if (!it->second.own) return {pattern, writer};
  return {it->second.pattern, *it->second.own};
}

DateTextReader::ReadingFormat DateTextReader::readingFormat(const icu::SimpleDateFormat& writer,
                                                            const String& pattern) {
  using Symbols = icu::DateFormatSymbols;
  const std::u16string& p = pattern.units();
  const PatternLayout layout(p);
  // The name widths that fields of the pattern read, by letter and count.
  auto slotOf = [](char16_t letter, int32_t count) -> std::optional<std::pair<char16_t, int32_t>> {
    if (letter == u'e' && count >= 3) letter = u'E';
    if (letter == u'E' && count < 3) count = 3;
    if (std::u16string_view(u"MLEc").find(letter) == std::u16string_view::npos || count < 3 || count > 6) {
      return std::nullopt;
    }
    return std::pair(letter, count);
  };
  std::vector<std::pair<char16_t, int32_t>> used;
  for (const auto& field : layout.fields) {
    if (auto slot = slotOf(field.letter, field.count)) used.push_back(*slot);
  }
  auto isFree = [&](char16_t letter, int32_t count) {
    return std::find(used.begin(), used.end(), std::pair(letter, count)) == used.end();
  };
  // Where a narrow field's names go: the first of these widths that no field of the pattern reads.
  auto freeSlot = [&](std::initializer_list<std::pair<char16_t, int32_t>> slots) {
    for (const auto& slot : slots) {
      if (isFree(slot.first, slot.second)) {
        used.push_back(slot);
        return std::optional(slot);
      }
    }
    return std::optional<std::pair<char16_t, int32_t>>();
  };
  auto context = [](char16_t letter) {
    return letter == u'M' || letter == u'E' ? Symbols::FORMAT : Symbols::STANDALONE;
  };
  auto width = [](int32_t count) {
    return count == 3   ? Symbols::ABBREVIATED
           : count == 4 ? Symbols::WIDE
           : count == 5 ? Symbols::NARROW
                        : Symbols::SHORT;
  };
  const Symbols& written = *writer.getDateFormatSymbols();
  std::optional<Symbols> symbols;  // the reader's, where they differ
  auto names = [&] {
    if (!symbols) symbols.emplace(written);
    return &*symbols;
  };
  std::optional<std::pair<char16_t, int32_t>> narrowWeekday, narrowMonth[2];  // [0] M, [1] L
  std::u16string out;
  int32_t at = 0;
  for (const auto& field : layout.fields) {
    out.append(p, static_cast<size_t>(at), static_cast<size_t>(field.begin - at));
    at = field.begin + field.count;
    char16_t letter = field.letter;
    int32_t count = field.count;
    if ((letter == u'E' || letter == u'B' || letter == u'b') && count < 3) {
      count = 3;
    } else if (letter == u'b' && count == 4 && dayPeriodsWrittenAlike(writer)) {
      count = 3;
    } else if (letter == u'c' && count == 5) {
      if (!narrowWeekday) {
        narrowWeekday = freeSlot({{u'c', 6}, {u'E', 5}});
        if (narrowWeekday) {
          int32_t n = 0;
          const icu::UnicodeString* narrow = written.getWeekdays(n, Symbols::STANDALONE, Symbols::NARROW);
          const std::vector<icu::UnicodeString> copy(narrow, narrow + n);
          names()->setWeekdays(copy.data(), n, context(narrowWeekday->first), width(narrowWeekday->second));
        }
      }
      if (narrowWeekday) std::tie(letter, count) = *narrowWeekday;
    } else if (IsMonthLetter(letter) && count == 5) {
      auto& slot = narrowMonth[letter == u'L'];
      if (!slot) {
        const char16_t other = letter == u'M' ? u'L' : u'M';
        slot = freeSlot({{letter, 3}, {letter, 4}, {other, 3}, {other, 4}});
        if (slot) {
          int32_t n = 0, nShort = 0, nWide = 0;
          const auto ctx = context(letter);
          const icu::UnicodeString* narrow = written.getMonths(n, ctx, Symbols::NARROW);
          const icu::UnicodeString* abbreviated = written.getMonths(nShort, ctx, Symbols::ABBREVIATED);
          const icu::UnicodeString* wide = written.getMonths(nWide, ctx, Symbols::WIDE);
          std::vector<icu::UnicodeString> readable(static_cast<size_t>(n));
          for (int32_t m = 0; m < n; ++m) {
            const bool alike = (m < nShort && narrow[m].caseCompare(abbreviated[m], U_FOLD_CASE_DEFAULT) == 0) ||
                               (m < nWide && narrow[m].caseCompare(wide[m], U_FOLD_CASE_DEFAULT) == 0);
            if (alike) readable[static_cast<size_t>(m)] = narrow[m];  // an empty name is never read
          }
          names()->setMonths(readable.data(), n, context(slot->first), width(slot->second));
        }
      }
      if (slot) std::tie(letter, count) = *slot;
    }
    out.append(static_cast<size_t>(count), letter);
  }
  out.append(p, static_cast<size_t>(at));
  ReadingFormat r{String(out), nullptr};
  if (out == p && !symbols) return r;
  r.own.reset(writer.clone());
  if (symbols) r.own->setDateFormatSymbols(*symbols);
  r.own->applyPattern(ToIcu(r.pattern));
  return r;
}

// Whether the locale writes what "b" names (midnight, noon, am and pm) alike in the wide width
// and in the abbreviated one.
bool DateTextReader::dayPeriodsWrittenAlike(const icu::SimpleDateFormat& writer) {
  std::unique_ptr<icu::SimpleDateFormat> f(writer.clone());
  f->adoptTimeZone(gmt_->clone());
  auto texts = [&](const char16_t* p) {
    f->applyPattern(icu::UnicodeString(p));
    std::vector<icu::UnicodeString> out;
    for (int hour : {0, 6, 12, 18}) {
      out.emplace_back();
      f->format(static_cast<UDate>(hour) * 3'600'000.0, out.back());
    }
    return out;
  };
  return texts(u"bbb") == texts(u"bbbb");
}

// Reads text with pattern: the whole text must match and every field must be in range.
DateTextReader::WallTime DateTextReader::read(const String& writtenPattern, const String& text) {
  const Reading reader = reading(writtenPattern);
  const String& pattern = reader.pattern;
  icu::SimpleDateFormat& f = reader.format;
  bool zoned = HasField(pattern, IsZoneLetter);  // its texts name their own zone
  if (parserZoneChanged_) {                      // a text with a zone, possibly one that failed, set it
    parser_->setTimeZone(*gmt_);
    parserZoneChanged_ = false;
  }
  parserZoneChanged_ = zoned;
  parser_->clear();
  if (HasOverlongDigitRun(text)) throw CannotParse(text.str());
  const bool fixedWidth = readFixedWidth(f, pattern, text);
  icu::UnicodeString read;  // the text as the formatter's reader took it
  if (!fixedWidth) {
    auto reads = [&](const icu::UnicodeString& u) {
      icu::ParsePosition pos(0);
      parser_->clear();
      f.parse(u, *parser_, pos);
      return pos.getErrorIndex() == -1 && pos.getIndex() == u.length();
    };
    read = ToIcu(text);
    if (!reads(read)) {
      auto ascii = withAsciiDigitsSideBySide(f, pattern, read);
      if (!ascii || !reads(*ascii)) throw CannotParse(text.str());
      read = std::move(*ascii);
    }
    if (HasField(pattern, IsQuarterLetter) && !keepTheMonthOfTheMonthField(f, pattern, read))
      throw CannotParse(text.str());
  }
  const auto named = zoned ? parser_->namedOffsets() : std::nullopt;
  UErrorCode st = U_ZERO_ERROR;
  const UDate moment = parser_->getTime(st);  // validates the fields (strict calendar)
  WallTime w;
  icu::Calendar* fields = parser_.get();
  if (named && U_SUCCESS(st)) {
    // The calendar's fields are now those of the moment at the zone's offset then, which is
    // not the one named where the text names the other occurrence of a repeated hour (or
    // standard time in summer); the time as written is the moment at the offset named.
    w.savings = named->savings;
    partParser_->setTimeZone(*gmt_);
    partParser_->setTime(moment + named->raw + named->savings, st);
    fields = partParser_.get();
  }
  w.year = fields->get(UCAL_EXTENDED_YEAR, st);
  w.month = fields->get(UCAL_MONTH, st);
  w.day = fields->get(UCAL_DATE, st);
  w.hour = fields->get(UCAL_HOUR_OF_DAY, st);
  w.minute = fields->get(UCAL_MINUTE, st);
  w.second = fields->get(UCAL_SECOND, st);
  w.millis = fields->get(UCAL_MILLISECOND, st);
  if (zoned) w.zone.reset(parser_->getTimeZone().clone());
  if (U_FAILURE(st)) throw CannotParse(text.str());
  if (HasField(pattern, IsDayPeriodLetter)) takeTheHalfOfTheDayThatTheTextNames(f, text, w);
  if (!fixedWidth && hasBlanksThePatternLacks(f, pattern, text, read)) throw CannotParse(text.str());
  w.source = WallTime::Source{writtenPattern, text};
  return w;
}

// The commonest patterns of numbers written side by side ("GGyyyyMMdd", "HHmmss"): an era of
// "G" to "GGG" first, if any, then only the fields yyyy, MM, dd, HH, mm and ss. A text of such a
// pattern that is the era's name as the formatter writes it and then ASCII digits, exactly as
// many as the fields take, is read here: its fields go into the parsing calendar as the
// formatter's parser would put them, without its copying of a number parser for each field.
// Returns false, having set nothing, for any other pattern or text: the formatter reads those,
// among them patterns that repeat a field ("yyyyMMddMM"), whose reader checks the range of
// every value it reads, even of one that a later value of the field replaces.
bool DateTextReader::readFixedWidth(const icu::SimpleDateFormat& f, const String& pattern, const String& text) {
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
  if (era >= 0) parser_->set(UCAL_ERA, era);
  for (size_t k = 0; k < nFields; ++k) parser_->set(fields[k].field, fields[k].value);
  return true;
}

// The reader counts the digits of numbers written side by side ("yyyyMMdd") in UTF-16 units, so
// it cuts the digits of scripts beyond the BMP (Chakma, Adlam) in half. It reads ASCII digits in
// every locale: the text with the digits of its runs of such numbers made ASCII, and only those,
// as a name may hold such a digit too (a quarter "𞤐𞥑"). nullopt when nothing changes.
std::optional<icu::UnicodeString> DateTextReader::withAsciiDigitsSideBySide(icu::SimpleDateFormat& f,
                                                                            const String& pattern,
                                                                            icu::UnicodeString text) {
  bool wide = false;
  for (int32_t i = 0; i < text.length() && !wide; i = text.moveIndex32(i, 1)) {
    const UChar32 c = text.char32At(i);
    wide = c > 0xFFFF && u_isdigit(c);
  }
  if (!wide) return std::nullopt;
  const PatternLayout layout(pattern.units());
  PatternStartReader reader = partReader(f, pattern);
  bool changed = false;
  for (size_t k = 0; k < layout.units.size(); ++k) {
    if (layout.units[k].kind != PatternLayout::Kind::NumberRun) continue;
    // The digits the run takes at most, from where the text read up to it ends.
    int32_t at = k == 0 ? 0 : reader.readUpTo(layout, k - 1, text);
    if (at < 0) return std::nullopt;
    int32_t digits = 0;
    for (const auto& field : layout.fields)
      if (field.unit == k) digits += field.count;
    for (; digits > 0 && at < text.length(); --digits, at = text.moveIndex32(at, 1)) {
      const UChar32 c = text.char32At(at);
      if (!u_isdigit(c)) break;
      if (c > 0xFFFF) {
        text.replace(at, 2, static_cast<char16_t>(u'0' + u_charDigitValue(c)));
        changed = true;
      }
    }
  }
  return changed ? std::optional(std::move(text)) : std::nullopt;
}

// The month that the month or quarter field fields[j] of the pattern gives, by itself: the text
// read with the pattern up to the end of that field's unit, where the month and quarter fields
// after it in a run become another numeric field of the same width, so that it sets the month
// last. nullopt for a month out of range (a quarter 5) or a text that cannot be read so.
std::optional<int32_t> DateTextReader::monthGivenBy(PatternStartReader& reader, const PatternLayout& layout,
                                                    const String& pattern, size_t j, const icu::UnicodeString& text) {
  const auto& field = layout.fields[j];
  std::u16string start = pattern.units().substr(0, static_cast<size_t>(layout.units[field.unit].end));
  for (size_t i = j + 1; i < layout.fields.size() && layout.fields[i].unit == field.unit; ++i) {
    const auto& later = layout.fields[i];
    if (IsMonthLetter(later.letter) || IsQuarterLetter(later.letter)) {
      std::fill_n(start.begin() + later.begin, later.count, u'F');
    }
  }
  if (reader.read(start, text) < 0 || !partParser_->isSet(UCAL_MONTH)) return std::nullopt;
  // The month by itself, in 1970 in UTC: the lenient calendar rolls a month out of range (a
  // quarter 0 or 5) into another year, and nothing else read with it, nor its zone, counts.
  for (int32_t f = 0; f < UCAL_FIELD_COUNT; ++f) {
    if (f != UCAL_MONTH) partParser_->clear(static_cast<UCalendarDateFields>(f));
  }
  partParser_->setTimeZone(*gmt_);
  UErrorCode st = U_ZERO_ERROR;
  const int32_t month = partParser_->get(UCAL_MONTH, st);
  const bool inRange = partParser_->get(UCAL_EXTENDED_YEAR, st) == 1970;
  return U_SUCCESS(st) && inRange ? std::optional(month) : std::nullopt;
}

// Where the pattern has a month (M, L), its quarters (Q, q) move nothing, wherever they stand, as
// a weekday that disagrees with the date moves nothing: the reader sets the month from a quarter
// too, and the later field wins, so "2020-03-04 Q1" would be read as 4 January. A numeric
// quarter must still be 1 to 4. Without a month, the last quarter gives its first month, as the
// reader set it. False for a text to refuse.
bool DateTextReader::keepTheMonthOfTheMonthField(icu::SimpleDateFormat& f, const String& pattern,
                                                 const icu::UnicodeString& text) {
  const PatternLayout layout(pattern.units());
  std::optional<size_t> lastMonth, lastToSetTheMonth;
  for (size_t j = 0; j < layout.fields.size(); ++j) {
    const char16_t letter = layout.fields[j].letter;
    if (IsMonthLetter(letter)) lastMonth = j;
    if (IsMonthLetter(letter) || IsQuarterLetter(letter)) lastToSetTheMonth = j;
  }
  PatternStartReader reader = partReader(f, pattern);
  for (size_t j = 0; j < layout.fields.size(); ++j) {
    const auto& field = layout.fields[j];
    // The calendar checks the month that the last of these fields gives; every other numeric
    // quarter is checked here.
    if (IsQuarterLetter(field.letter) && field.numeric && (lastMonth || j != lastToSetTheMonth) &&
        !monthGivenBy(reader, layout, pattern, j, text)) {
      return false;
    }
  }
  if (lastMonth && lastToSetTheMonth != lastMonth) {
    const auto month = monthGivenBy(reader, layout, pattern, *lastMonth, text);
    if (!month) return false;
    parser_->set(UCAL_MONTH, *month);
  }
  return true;
}

// The reader skips blanks before every field, however strict it is told to be, so it would take
// " 03/05/2020" or "03/ 05/2020" for "MM/dd/yyyy". A run of blanks that starts the text or comes
// before a number must be where the pattern has one: in literal text of the pattern (whose blank
// matches a run of blanks), or inside a name (a quarter "1-й кв.", a zone "GMT -5"), which the
// reader matches whole. The text's parts are found by reading it with the pattern up to the end
// of each part. A zone's reader also takes offsets in forms of its own ("GMT-5" for "GMT -5"), so
// a zone may hold no more such runs than the formatter writes in it. read is the text as read,
// with ASCII digits side by side.
bool DateTextReader::hasBlanksThePatternLacks(icu::SimpleDateFormat& f, const String& pattern, const String& text,
                                              const icu::UnicodeString& read) {
  const std::vector<int32_t> runs = BlankRunsBeforeNumbers(read, 0, read.length());
  if (runs.empty()) return false;
  // The fields as the formatter writes them, in the zone the text named, and where each is.
  icu::UnicodeString written;
  icu::FieldPositionIterator spans;
  UErrorCode st = U_ZERO_ERROR;
  f.format(*parser_, written, &spans, st);
  if (U_SUCCESS(st) && FromIcu(written) == text) return false;
  std::vector<icu::FieldPosition> writtenFields;
  for (icu::FieldPosition fp; spans.next(fp);) writtenFields.push_back(fp);

  const PatternLayout layout(pattern.units());
  PatternStartReader reader = partReader(f, pattern);
  size_t unit = 0, next = 0;
  int32_t unitBegin = 0, unitEnd = 0;  // where the text of unit lies
  for (const int32_t run : runs) {
    while (unitEnd <= run) {
      if (next == layout.units.size()) return true;
      unit = next++;
      unitBegin = unitEnd;
      unitEnd = reader.readUpTo(layout, unit, read);
      if (unitEnd < 0) return true;
    }
    if (layout.units[unit].kind == PatternLayout::Kind::Literal) continue;
    if (layout.units[unit].kind == PatternLayout::Kind::NumberRun || run == unitBegin) return true;
    size_t j = 0;
    while (layout.fields[j].unit != unit) ++j;
    const auto& field = layout.fields[j];
    if (field.numeric) return true;
    if (!IsZoneLetter(field.letter)) continue;
    // The formatter's text of this field: the one of its kind that comes as often before it.
    const int32_t kind = FieldKind(field.letter);
    size_t nth = 0;
    for (size_t i = 0; i < j; ++i) nth += FieldKind(layout.fields[i].letter) == kind;
    size_t inWritten = 0;
    for (const auto& fp : writtenFields) {
      if (fp.getField() != kind || nth-- > 0) continue;
      inWritten = BlankRunsBeforeNumbers(written, fp.getBeginIndex(), fp.getEndIndex()).size();
      break;
    }
    if (BlankRunsBeforeNumbers(read, unitBegin, unitEnd).size() > inWritten) return true;
  }
  return false;
}

// The reader takes the half of the day that a day period names (B, b) from the middle of the
// first period of that name, and moves a 24-hour field's hour of 1 to 12 by it. Where a locale
// gives two periods one name ("du mat." before and after 4:00, "pagi"), or a period reaches
// across noon or midnight, that is the other half. A text that the formatter writes for the
// time read in the other half of the day, and not for the time read, names that half.
void DateTextReader::takeTheHalfOfTheDayThatTheTextNames(icu::SimpleDateFormat& f, const String& text, WallTime& w) {
  const icu::UnicodeString wanted = ToIcu(text);
  UErrorCode st = U_ZERO_ERROR;
  const int32_t hour = parser_->get(UCAL_HOUR_OF_DAY, st);
  auto writesTheText = [&](int32_t h) {
    std::unique_ptr<icu::Calendar> at(parser_->clone());
    at->set(UCAL_HOUR_OF_DAY, h);
    icu::UnicodeString written;
    icu::FieldPosition fp;
    f.format(*at, written, fp);
    return !written.isBogus() && written.caseCompare(wanted, U_FOLD_CASE_DEFAULT) == 0;
  };
  if (U_SUCCESS(st) && !writesTheText(hour) && writesTheText((hour + 12) % 24)) w.hour = (w.hour + 12) % 24;
}

// The moment of a local date and time of day, in the zone that the text zoned named (the
// device's zone when null). Where that text named standard or daylight time, the moment is the
// time at the zone's raw offset and that daylight saving, as the reader works it out for a text
// that holds both: so a time in an hour that the clocks repeat is the occurrence named. But in an
// hour that the device's clocks or the text's zone repeat, the texts give the moment that the
// service writes as them.
int64_t DateTextReader::compose(const WallTime& date, const WallTime& time, const WallTime* zoned) {
  const icu::TimeZone* in = zoned ? zoned->zone.get() : nullptr;
  const auto* named = zoned && zoned->savings ? dynamic_cast<const icu::BasicTimeZone*>(in) : nullptr;
  icu::GregorianCalendar* cal = named ? &calendarIn(*gmt_) : in ? &calendarIn(*in) : local_.get();
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
  if (named && U_SUCCESS(st)) {
    const bool daylight = *zoned->savings != 0;
    int32_t raw = 0, dst = 0;
    named->getOffsetFromLocal(d, daylight ? UCAL_TZ_LOCAL_DAYLIGHT_FORMER : UCAL_TZ_LOCAL_STANDARD_FORMER,
                              daylight ? UCAL_TZ_LOCAL_DAYLIGHT_LATTER : UCAL_TZ_LOCAL_STANDARD_LATTER, raw, dst, st);
    // Daylight time named where the zone keeps none that day: the saving the reader took.
    d -= raw + (!daylight ? 0 : dst != 0 ? dst : *zoned->savings);
  }
  if (U_FAILURE(st)) throw DateRangeError(std::to_string(date.year));
  const int64_t moment = ToTicks(d);
  // Without a zone field, every field is one of the wall time, which both occurrences share.
  if (zoned) {
    if (const auto written = occurrenceWrittenAs(date, time, *zoned->zone)) return *written;
  }
  return moment;
}

// The reader takes a zone that does not name standard or daylight time as its first occurrence
// of a repeated wall time, and a name that zones share ("ET" in en_CA, "CT") as one of them, which
// may repeat another hour than the device's zone, while the formatter may write the two
// occurrences of the device's repeated hour apart by any field ("ET (United States)" and "ET"), or
// alike where the reader takes the name for one of them ("Moscow Standard Time" on both sides of a
// change of the standard offset). The moments that the service writes as the texts are
// occurrences of their wall time in the device's zone: the first of those that it writes so.
std::optional<int64_t> DateTextReader::occurrenceWrittenAs(const WallTime& date, const WallTime& time,
                                                           const icu::TimeZone& textZone) {
  const UDate wall = static_cast<UDate>(DaysFromCivil(date.year, date.month, date.day)) * DateTime::TicksPerDay +
                     static_cast<UDate>(((time.hour * 60 + time.minute) * 60 + time.second) * 1000 + time.millis);
  // The first and the last occurrence of the wall time in a zone, as the calendar resolves a
  // repeated one (a skipped one resolves alike both ways).
  auto occurrencesIn = [&](const icu::TimeZone& tz) -> std::optional<std::array<UDate, 2>> {
    const auto* zone = dynamic_cast<const icu::BasicTimeZone*>(&tz);
    if (!zone) return std::nullopt;
    std::array<UDate, 2> at{};
    for (int k = 0; k < 2; ++k) {
      int32_t raw = 0, dst = 0;
      UErrorCode st = U_ZERO_ERROR;
      zone->getOffsetFromLocal(wall, UCAL_TZ_LOCAL_FORMER, k == 0 ? UCAL_TZ_LOCAL_FORMER : UCAL_TZ_LOCAL_LATTER, raw,
                               dst, st);
      if (U_FAILURE(st)) return std::nullopt;
      at[k] = wall - raw - dst;
    }
    return at;
  };
  const auto occurrences = occurrencesIn(local_->getTimeZone());
  if (!occurrences) return std::nullopt;
  if ((*occurrences)[0] == (*occurrences)[1]) {
    icu::UnicodeString deviceId, textId;
    if (local_->getTimeZone().getID(deviceId) == textZone.getID(textId)) return std::nullopt;
    const auto inTheTextsZone = occurrencesIn(textZone);
    if (!inTheTextsZone || (*inTheTextsZone)[0] == (*inTheTextsZone)[1]) return std::nullopt;
  }
  auto writesTheTexts = [&](UDate at) {
    UErrorCode st = U_ZERO_ERROR;
    local_->setTime(at, st);
    for (const WallTime* part : {&date, &time == &date ? nullptr : &time}) {
      if (!part || !part->source) continue;
      icu::UnicodeString written;
      icu::FieldPosition fp;
      writers_(part->source->pattern).format(*local_, written, fp);
      if (U_FAILURE(st) || written != ToIcu(part->source->text)) return false;
    }
    return true;
  };
  for (size_t k = 0; k < 2; ++k) {
    if (k == 1 && (*occurrences)[1] == (*occurrences)[0]) break;  // the device's zone has but one
    if (writesTheTexts((*occurrences)[k])) return ToTicks((*occurrences)[k]);
  }
  return std::nullopt;
}

}  // namespace tmr
