#include "platform/text/Regex.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <memory>

#include "platform/core/RuntimeError.h"

namespace tmr {

namespace {

// A matcher of pattern over text; it owns its compiled pattern, and the input string must
// outlive it.
std::unique_ptr<icu::RegexMatcher> Matcher(const String& pattern, const icu::UnicodeString& input) {
  const auto& p = pattern.units();
  UErrorCode status = U_ZERO_ERROR;
  auto matcher = std::make_unique<icu::RegexMatcher>(icu::UnicodeString(p.data(), static_cast<int32_t>(p.size())),
                                                     input, 0, status);
  if (U_FAILURE(status)) {
    throw RuntimeError("Invalid regular expression: " + pattern.str() + " (" + u_errorName(status) + ")");
  }
  return matcher;
}

icu::UnicodeString Input(const String& text) {
  const auto& t = text.units();
  return icu::UnicodeString(t.data(), static_cast<int32_t>(t.size()));
}

}  // namespace

bool Regex::IsMatch(const String& pattern, const String& text) {
  const icu::UnicodeString input = Input(text);
  auto matcher = Matcher(pattern, input);
  UErrorCode status = U_ZERO_ERROR;
  bool whole = matcher->matches(status);
  if (U_FAILURE(status)) throw RuntimeError(std::string("Regular expression failed: ") + u_errorName(status));
  return whole;
}

std::vector<String> Regex::Split(const String& pattern, const String& text) {
  const auto& t = text.units();
  const icu::UnicodeString input = Input(text);
  auto matcher = Matcher(pattern, input);
  UErrorCode status = U_ZERO_ERROR;

  std::vector<String> parts;
  int32_t from = 0;
  bool matched = false;
  while (matcher->find(status) && U_SUCCESS(status)) {
    const int32_t start = matcher->start(status);
    const int32_t end = matcher->end(status);
    // An empty match at the very start splits nothing off.
    if (end == 0 && start == 0) continue;
    matched = true;
    parts.emplace_back(std::u16string(t.data() + from, static_cast<size_t>(start - from)));
    from = end;
  }
  if (U_FAILURE(status)) throw RuntimeError(std::string("Regular expression failed: ") + u_errorName(status));
  if (!matched) return {text};
  parts.emplace_back(std::u16string(t.data() + from, t.size() - static_cast<size_t>(from)));
  while (!parts.empty() && parts.back().empty()) parts.pop_back();
  return parts;
}

}  // namespace tmr
