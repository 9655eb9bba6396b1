// Numbers written side by side ("GGyyyyMMdd", "HHmmss"): the date service reads the texts of such
// patterns itself, and must read each exactly as the platform's parser, set up as the service
// sets it up, reads it: the same moment, or both refuse. Patterns are an era and fields of any
// width (some the service reads itself, some it leaves to the parser, fields repeated too), in
// any installed locale; texts are an era's name, or another casing of it, and digits with a few
// other characters among them.
#include <unicode/dtfmtsym.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/parsepos.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "fuzz/FuzzInput.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/core/String.h"
#include "platform/dates/DateTime.h"

namespace {

// The calendars and formatter of the date service in UTC: strict reading into a proleptic
// Gregorian calendar, whatever the locale's own calendar is.
struct PlatformParser {
  PlatformParser(const icu::Locale& locale, const icu::UnicodeString& pattern) {
    UErrorCode st = U_ZERO_ERROR;
    std::unique_ptr<icu::TimeZone> utc(icu::TimeZone::createTimeZone("UTC"));
    calendar = std::make_unique<icu::GregorianCalendar>(*utc, locale, st);
    calendar->setGregorianChange(U_DATE_MIN, st);
    calendar->setLenient(false);
    icu::GregorianCalendar display(*utc, locale, st);
    display.setGregorianChange(U_DATE_MIN, st);
    format = std::make_unique<icu::SimpleDateFormat>(pattern, locale, st);
    format->setCalendar(display);
    format->setLenient(false);
    format->setBooleanAttribute(UDAT_PARSE_ALLOW_WHITESPACE, false, st);
    format->setBooleanAttribute(UDAT_PARSE_ALLOW_NUMERIC, false, st);
    format->setBooleanAttribute(UDAT_PARSE_PARTIAL_LITERAL_MATCH, false, st);
    format->setBooleanAttribute(UDAT_PARSE_MULTIPLE_PATTERNS_FOR_MATCH, false, st);
    if (U_FAILURE(st)) std::abort();
  }

  std::optional<int64_t> read(const icu::UnicodeString& text) {
    calendar->clear();
    icu::ParsePosition pos(0);
    format->parse(text, *calendar, pos);
    if (pos.getErrorIndex() != -1 || pos.getIndex() != text.length()) return std::nullopt;
    UErrorCode st = U_ZERO_ERROR;
    const UDate d = calendar->getTime(st);
    if (U_FAILURE(st)) return std::nullopt;
    return static_cast<int64_t>(std::floor(d));
  }

  std::unique_ptr<icu::GregorianCalendar> calendar;
  std::unique_ptr<icu::SimpleDateFormat> format;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static tmr::Runtime rt;
  auto& dt = rt.service<tmr::DateTime>();
  tmr::FuzzInput in(data, size);
  int32_t count = 0;
  const icu::Locale* locales = icu::Locale::getAvailableLocales(count);
  const icu::Locale& locale = locales[static_cast<uint16_t>(in.int16()) % count];
  dt.setTimeZone("UTC");
  dt.setLocale(locale.getName());

  // The pattern: an era of 0 to 4 letters, then up to 7 fields. A field byte with its high bit
  // set has the width the service reads itself (yyyy, MM, ...), otherwise 1 to 4 letters.
  std::u16string pattern(in.byte() % 5, u'G');
  for (int n = in.byte() % 8; n > 0; --n) {
    const uint8_t b = in.byte();
    const char16_t letter = u"yMdHmsSh"[b % 8];
    const size_t width = b & 0x80 ? (letter == u'y' ? 4 : 2) : 1 + (b >> 3) % 4;
    pattern.append(width, letter);
  }
  if (pattern.empty()) return 0;
  const icu::UnicodeString icuPattern(pattern.data(), static_cast<int32_t>(pattern.size()));
  PlatformParser platform(locale, icuPattern);

  // The text: the first or second era's name, that name in lower case, or none; then digits, with
  // an occasional other character. At most 30 units, so that no run of digits is longer than the
  // service reads at all.
  int32_t nEras = 0;
  const icu::UnicodeString* eras = platform.format->getDateFormatSymbols()->getEras(nEras);
  icu::UnicodeString text;
  const uint8_t eraChoice = in.byte();
  if (eraChoice % 4 != 2 && nEras >= 2) {
    text = eras[eraChoice % 4 == 1 ? 1 : 0];
    if (eraChoice % 4 == 3) text.toLower(locale);
  }
  for (const char c : in.rest()) {
    if (text.length() >= 30) break;
    const auto b = static_cast<uint8_t>(c);
    text.append(static_cast<char16_t>(b < 200 ? u'0' + (b + 2) % 10 : u"x+-/:.AB"[b % 8]));  // ASCII digits as they are
  }

  const std::optional<int64_t> expected = platform.read(text);
  std::optional<int64_t> read;
  dt.setDateFormat(tmr::String(pattern));
  try {
    read = dt.DateParse(tmr::String(std::u16string(text.getBuffer(), static_cast<size_t>(text.length()))));
  } catch (const tmr::RuntimeError&) {
  }
  if (read != expected) std::abort();
  return 0;
}
